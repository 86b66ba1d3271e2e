// An observer told of every change of every parameter; it filters by id
// itself. The model does not own it: unregister before destruction.
#pragma once

class ModelAssistant {
public:
    virtual void updateParameter(unsigned int id) = 0;
    virtual ~ModelAssistant() = default;
};
