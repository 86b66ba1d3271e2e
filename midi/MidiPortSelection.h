// The port choices a settings window offers: the endpoint names of each
// input and output group and the one in use, opening one by its place in
// that list, and letting one go. The application, which owns the ports,
// implements it. User-interface thread only.
#pragma once

#include <QStringList>

#include "MidiCommon.h"

class MidiPortSelection {
public:
    virtual ~MidiPortSelection() = default;

    // "Not Connected" followed by the endpoint names, and the position of
    // the group's endpoint in that list (0 when none).
    virtual void getInputPortList(InputPortGroup group, QStringList& names,
                                  unsigned int& currentIndex) = 0;
    virtual void getOutputPortList(OutputPortGroup group, QStringList& names,
                                   unsigned int& currentIndex) = 0;
    // Opens endpoint index (InvalidPortIndex: disconnects) and remembers the
    // choice; false, after saying so, when the port cannot be opened.
    virtual bool inputPortMenuSelected(InputPortGroup group, unsigned int index) = 0;
    virtual bool outputPortMenuSelected(OutputPortGroup group, unsigned int index) = 0;
    virtual bool closeInputPort(InputPortGroup group) = 0;
    virtual bool closeOutputPort(OutputPortGroup group) = 0;

protected:
    MidiPortSelection() = default;
    MidiPortSelection(const MidiPortSelection&) = default;
    MidiPortSelection& operator=(const MidiPortSelection&) = default;
};
