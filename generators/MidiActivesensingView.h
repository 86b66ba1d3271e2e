// The active sensing window: sends FE to both outputs every interval of its
// knob while its button is on; the knob's lamp stays lit meanwhile.
// User-interface thread; the sending runs on its own thread.
#pragma once

#include <QFrame>

#include "FileStream.h"
#include "GeneratorControls.h"
#include "WindowRestorationInfo.h"

class MidiActivesenseTransmittionThread;
class MidiLedCombinedDial;
class MidiSender;
class OstrelModel;
class QPushButton;

class MidiActivesensingView : public QFrame, public WindowRestorationInfo, public FileStream {
    Q_OBJECT

public:
    using ValueRecord = GeneratorControls::ValueRecord;
    static const ValueRecord ActiveSenseValue;
    static const QColor ActivesenseLedOnColor;
    static const QColor ActivesenseLedOffColor;

    MidiActivesensingView(QWidget* parent, OstrelModel* model, MidiSender* sender);
    ~MidiActivesensingView() override;

    bool getDataStream(QDataStream& stream) override;
    bool setDataStream(QDataStream& stream) override;

    MidiLedCombinedDial* knob() const { return m_knob; }
    QPushButton* button() const { return m_button; }
    MidiActivesenseTransmittionThread* thread() const { return m_thread; }

public Q_SLOTS:
    void updatedKnobValue(int value);
    void updatedplayButton(bool checked);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    OstrelModel* m_model;
    MidiSender* m_sender;  // the application's; outlives this window
    MidiActivesenseTransmittionThread* m_thread;
    QPushButton* m_button;
    MidiLedCombinedDial* m_knob;
};
