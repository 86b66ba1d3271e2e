// What a control change window is restored from: its kind and the
// controller it sends (kept current while the window lives), then a 0.
#pragma once

#include "WindowRestorationInfo.h"

class ControlChangeWindowRestorationInfo : public WindowRestorationInfo {
public:
    explicit ControlChangeWindowRestorationInfo(unsigned char controller) : WindowRestorationInfo(ControlChangeId)
    {
        m_restorationData = {QVariant(static_cast<int>(controller)), QVariant(0)};
    }
    ~ControlChangeWindowRestorationInfo() override = default;

protected:
    void setController(unsigned char controller) { m_restorationData[0] = static_cast<int>(controller); }
};
