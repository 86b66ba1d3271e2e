// The timing clock window: sends timing clock to both outputs at the tempo
// of its knob while playing, flashing the knob's lamp on every beat, and
// shows the tempo measured from the clock received on the inputs.
// User-interface thread; the clock runs on its own thread.
#pragma once

#include <QFrame>

#include "FileStream.h"
#include "GeneratorControls.h"
#include "ModelAssistant.h"
#include "WindowRestorationInfo.h"

class MidiLedCombinedDial;
class MidiTimingClockPlayStopButton;
class MidiTimingClockTransmittionThread;
class MidiSender;
class OstrelModel;
class QLabel;

class MidiTimingClockGeneratorView : public QFrame,
                                     public WindowRestorationInfo,
                                     public FileStream,
                                     public ModelAssistant {
    Q_OBJECT

public:
    static const GeneratorControls::ValueRecord TempoValue;
    static const QColor TempoLedOnColor;
    static const QColor TempoLedOffColor;

    MidiTimingClockGeneratorView(QWidget* parent, OstrelModel* model, MidiSender* sender);
    ~MidiTimingClockGeneratorView() override;

    // The measured tempo in tenths of a beat per minute (0: none).
    void setReceivedTimingClock(unsigned long tempo);
    void setTimingClockReceivedWidgetEnabled(bool enabled);
    static QString receivedTempoText(unsigned long tempo);

    void updateParameter(unsigned int id) override;
    bool getDataStream(QDataStream& stream) override;
    bool setDataStream(QDataStream& stream) override;

    MidiLedCombinedDial* knob() const { return m_knob; }
    MidiTimingClockPlayStopButton* playButton() const { return m_playButton; }
    MidiTimingClockTransmittionThread* thread() const { return m_thread; }
    QLabel* receiveLabel() const { return m_receiveLabel; }
    QLabel* receivedTempoLabel() const { return m_receivedTempo; }

public Q_SLOTS:
    void updatedKnobValue(int value);
    void updatedplayButton(bool checked);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    OstrelModel* m_model;
    MidiSender* m_sender;  // the application's; outlives this window
    MidiTimingClockPlayStopButton* m_playButton;
    MidiTimingClockTransmittionThread* m_thread;
    MidiLedCombinedDial* m_knob;
    QLabel* m_receiveLabel;
    QLabel* m_receivedTempo;
    QLabel* m_transmitLabel;
};
