// The start/stop window: Start, Continue and Stop buttons, and fields that
// send Song Select and Song Position Pointer on every change (or again with
// their Transmit buttons). Everything goes out at once to both outputs; the
// window keeps no transport state. User-interface thread.
#pragma once

#include <QFrame>

#include "FileStream.h"
#include "GeneratorControls.h"
#include "WindowRestorationInfo.h"

class MidiSender;
class OstrelModel;
class PushButton;
class QPushButton;
class SpinBox;

class MidiTransportPanelView : public QFrame, public WindowRestorationInfo, public FileStream {
    Q_OBJECT

public:
    using ValueRecord = GeneratorControls::ValueRecord;
    static const ValueRecord TransportPanelSongNumber;
    static const ValueRecord TransportpanelSongPosition;
    static constexpr int TransportPanelSongPositionMask = 0x7F;

    MidiTransportPanelView(QWidget* parent, OstrelModel* model, MidiSender* sender);

    bool getDataStream(QDataStream& stream) override;
    bool setDataStream(QDataStream& stream) override;

    SpinBox* songNumberBox() const { return m_songNumber; }
    SpinBox* songPositionBox() const { return m_songPosition; }
    PushButton* stopButton() const { return m_stop; }
    PushButton* continueButton() const { return m_continue; }
    PushButton* startButton() const { return m_start; }
    QPushButton* songNumberTransmitButton() const { return m_songNumberTransmit; }
    QPushButton* songPositionTransmitButton() const { return m_songPositionTransmit; }

public Q_SLOTS:
    void playButtonPressed();
    void stopButtonPressed();
    void playFromFirstButtonPressed();
    void songNumberChanged(int number);
    void songPositionChanged(int position);
    void songNumberTransmitButtonPressed();
    void songPositionTransmitButtnPressed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void transmit(const unsigned char* bytes, uint32_t length, unsigned char eventType);
    void transmitSongSelect(int number);
    void transmitSongPosition(int position);

    OstrelModel* m_model;
    MidiSender* m_sender;  // the application's; outlives this window
    SpinBox* m_songNumber;
    SpinBox* m_songPosition;
    QPushButton* m_songNumberTransmit;
    QPushButton* m_songPositionTransmit;
    PushButton* m_stop;
    PushButton* m_continue;
    PushButton* m_start;
};
