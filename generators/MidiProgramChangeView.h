// The program change window: a program change on the chosen channel,
// optionally preceded by bank select MSB (controller 0) and LSB
// (controller 32). The program shows on a seven-segment display counting
// from 0 or from 1 as the preference says; the MIDI value is always 0-127.
// With Auto Transmit every change sends at once. User-interface thread.
#pragma once

#include <QFrame>

#include "FileStream.h"
#include "ModelAssistant.h"
#include "WindowRestorationInfo.h"

class MidiSender;
class OstrelModel;
class PushButton;
class QCheckBox;
class SevenSegment;
class SpinBox;

class MidiProgramChangeView : public QFrame, public WindowRestorationInfo, public FileStream, public ModelAssistant {
    Q_OBJECT

public:
    MidiProgramChangeView(QWidget* parent, OstrelModel* model, MidiSender* sender);
    ~MidiProgramChangeView() override;

    void transmitProgramChangeMessage();
    // The display's range for the current base: 1..128 (default 1) counting
    // from one, 0..127 (default 0) from zero.
    int getProgramChangeNumberMinimumValue() const;
    int getProgramChangeNumberMaximumValue() const;
    int getProgramChangeNumberDefaultValue() const;
    // The MIDI program the display stands for.
    int midiProgram() const;

    void updateParameter(unsigned int id) override;
    bool getDataStream(QDataStream& stream) override;
    bool setDataStream(QDataStream& stream) override;

    SpinBox* channelBox() const { return m_channel; }
    SpinBox* msbBox() const { return m_msb; }
    QCheckBox* msbSwitch() const { return m_msbSwitch; }
    SpinBox* lsbBox() const { return m_lsb; }
    QCheckBox* lsbSwitch() const { return m_lsbSwitch; }
    SevenSegment* programDisplay() const { return m_program; }
    QCheckBox* autoTransmitSwitch() const { return m_autoTransmit; }
    PushButton* transmitButton() const { return m_transmit; }

public Q_SLOTS:
    void updateChannel(qint32 value);
    void updateMSB(qint32 value);
    void updateLSB(qint32 value);
    void updateProgramNumber(qint32 value);
    void transmitButtonPressed();
    void updateCheckbox(bool checked);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void applyBaseRange();
    void changedByUser();
    void setDisplayQuietly(int value);

    SpinBox* m_msb;
    QCheckBox* m_msbSwitch;
    SpinBox* m_lsb;
    QCheckBox* m_lsbSwitch;
    SevenSegment* m_program;
    SpinBox* m_channel;
    QCheckBox* m_autoTransmit;
    PushButton* m_transmit;
    OstrelModel* m_model;
    MidiSender* m_sender;  // the application's; outlives this window
    bool m_updating = false;
    int m_base;
};
