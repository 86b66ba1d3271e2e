// A control change window: one controller on one channel, sent at once by
// every movement of the knob and again by Transmit. Nothing is sent while a
// project is being opened. User-interface thread.
#pragma once

#include <QFrame>

#include "ControlChangeWindowRestorationInfo.h"
#include "FileStream.h"

class Dial;
class MidiSender;
class OstrelModel;
class PushButton;
class QComboBox;
class SpinBox;

class MidiControlChangeView : public QFrame, public ControlChangeWindowRestorationInfo, public FileStream {
    Q_OBJECT

public:
    // The start and reset value of each controller.
    static const unsigned char ControlChangeInitialValueTable[128];
    static constexpr int ControlChangeMax = 128;

    MidiControlChangeView(QWidget* parent, unsigned char controller, OstrelModel* model, MidiSender* sender);
    ~MidiControlChangeView() override;

    bool getDataStream(QDataStream& stream) override;
    bool setDataStream(QDataStream& stream) override;

    SpinBox* channelBox() const { return m_channel; }
    QComboBox* controllerChoice() const { return m_controller; }
    Dial* knob() const { return m_knob; }
    PushButton* transmitButton() const { return m_transmit; }

public Q_SLOTS:
    void updateControlChangeChannel(qint32 value);
    void updateControlChangeValue(qint32 value);
    void controlChangeNumberChanged(qint32 controller);
    void transmitButtonPressed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void transmit(int value);

    SpinBox* m_channel;
    QComboBox* m_controller;
    Dial* m_knob;
    PushButton* m_transmit;
    OstrelModel* m_model;
    MidiSender* m_sender;  // the application's; outlives this window
};
