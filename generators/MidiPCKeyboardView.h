// The PC keyboard settings window: enable, octave, channel and velocity,
// each bound to its parameter (kept with the settings, not the project).
// The notes themselves are played by the main window's note manager.
// User-interface thread.
#pragma once

#include <QFrame>

#include "CommonViewHelper.h"
#include "FileStream.h"
#include "WindowRestorationInfo.h"

class CheckBox;
class OstrelModel;
class SpinBox;

class MidiPCKeyboardView : public QFrame, public CommonViewHelper, public WindowRestorationInfo, public FileStream {
    Q_OBJECT

public:
    MidiPCKeyboardView(QWidget* parent, OstrelModel* model);

    // The settings are parameters: nothing of their own in the project.
    bool getDataStream(QDataStream& stream) override;
    bool setDataStream(QDataStream& stream) override;

    CheckBox* enableBox() const { return m_enable; }
    SpinBox* octaveBox() const { return m_octave; }
    SpinBox* channelBox() const { return m_channel; }
    SpinBox* velocityBox() const { return m_velocity; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    OstrelModel* m_ostrelModel;
    CheckBox* m_enable;
    SpinBox* m_octave;
    SpinBox* m_channel;
    SpinBox* m_velocity;
};
