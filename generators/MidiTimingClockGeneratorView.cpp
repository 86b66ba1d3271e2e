#include "MidiTimingClockGeneratorView.h"

#include "MidiSender.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <cmath>

#include "DisabledVeil.h"
#include "MidiLedCombinedDial.h"
#include "MidiTimingClockPlayStopButton.h"
#include "MidiTimingClockTransmittionThread.h"
#include "OstrelModel.h"

namespace {

constexpr qreal DevicePixelRatio = 2.0;
constexpr int LabelHeight = 20;
constexpr int ArcMargin = -3;
const char* const InvalidTempoText = "---";
const char* const MaximumTempoText = "300";
const QColor StartGradientColorOfKnobMeter(84, 0, 0);
const QColor EndGradientColorOfKnobMeter(255, 245, 245);

}  // namespace

const GeneratorControls::ValueRecord MidiTimingClockGeneratorView::TempoValue{5, 300, 90, "Tempo", "BPM"};
const QColor MidiTimingClockGeneratorView::TempoLedOnColor(Qt::yellow);
const QColor MidiTimingClockGeneratorView::TempoLedOffColor(27, 27, 0);

MidiTimingClockGeneratorView::MidiTimingClockGeneratorView(QWidget* parent, OstrelModel* model, MidiSender* sender)
    : QFrame(parent),
      WindowRestorationInfo(TimingClockId),
      m_model(model),
      m_sender(sender),
      m_playButton(new MidiTimingClockPlayStopButton),
      m_thread(nullptr),
      m_knob(new MidiLedCombinedDial),
      m_receiveLabel(new QLabel(tr("Receive"))),
      m_receivedTempo(new QLabel),
      m_transmitLabel(new QLabel(tr("Transmit")))
{
    setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    auto* receiveRow = new QHBoxLayout;
    receiveRow->addWidget(m_receiveLabel);
    m_receivedTempo->setFixedHeight(LabelHeight);
    m_receivedTempo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_receivedTempo->setFrameStyle(QFrame::Box | QFrame::Plain);
    receiveRow->addWidget(m_receivedTempo, 1);
    layout->addLayout(receiveRow);
    auto* transmitRow = new QHBoxLayout;
    transmitRow->addWidget(m_transmitLabel);
    auto* empty = new QLabel;
    empty->setFixedHeight(LabelHeight);
    transmitRow->addWidget(empty, 1);
    layout->addLayout(transmitRow);

    m_knob->setRange(TempoValue.minimum, TempoValue.maximum);
    m_knob->setValue(TempoValue.defaultValue);
    m_knob->setResetValue(TempoValue.defaultValue);
    m_knob->setUnitText(QStringLiteral(" ") + tr(TempoValue.unit));
    m_knob->setLineEditSize(50, 20);
    m_knob->setTrackMargins(ArcMargin, ArcMargin, ArcMargin, ArcMargin);
    m_knob->setLedColors(TempoLedOnColor, TempoLedOffColor);
    m_knob->setTrackColors(StartGradientColorOfKnobMeter, EndGradientColorOfKnobMeter);
    m_model->registerDial(m_knob);
    layout->addWidget(m_knob, 1);
    connect(m_knob, &QDial::valueChanged, this, &MidiTimingClockGeneratorView::updatedKnobValue);

    m_thread = new MidiTimingClockTransmittionThread(m_sender, this);
    m_thread->setTempo(m_knob->value() * 10);
    connect(m_thread, &MidiTimingClockTransmittionThread::blinkLed, m_knob, &MidiLedCombinedDial::ledOn,
            Qt::QueuedConnection);

    m_playButton->setFrameSize(15, 15);
    m_playButton->setAutoFillBackground(true);
    QPixmap strip(QStringLiteral(":/images/playstop.png"));
    strip.setDevicePixelRatio(DevicePixelRatio);
    m_playButton->setPixmap(strip);
    layout->addWidget(m_playButton);
    connect(m_playButton, &QPushButton::toggled, this, &MidiTimingClockGeneratorView::updatedplayButton);

    m_model->registerModelAssistant(this);
    setTimingClockReceivedWidgetEnabled(m_model->getModelIntValue(ParamMessageParsed, nullptr) >= 1);
    setReceivedTimingClock(0);
}

MidiTimingClockGeneratorView::~MidiTimingClockGeneratorView()
{
    m_model->unregisterModelAssistant(this);
    m_model->unregisterDial(m_knob);
    delete m_thread;  // stops the clock before the window goes
}

QString MidiTimingClockGeneratorView::receivedTempoText(unsigned long tempo)
{
    const auto bpm = static_cast<long>(std::floor(static_cast<float>(tempo) / 10.0f + 0.5f));
    QString text;
    if (bpm < TempoValue.minimum) {
        text = QString::fromLatin1(InvalidTempoText);
    } else if (bpm <= TempoValue.maximum) {
        text = QString::number(bpm);
    } else {
        text = QString::fromLatin1(MaximumTempoText);
    }
    return text + QLatin1Char(' ') + tr(TempoValue.unit);
}

void MidiTimingClockGeneratorView::setReceivedTimingClock(unsigned long tempo)
{
    m_receivedTempo->setText(receivedTempoText(tempo));
}

void MidiTimingClockGeneratorView::setTimingClockReceivedWidgetEnabled(bool enabled)
{
    const QString tip = enabled ? QString() : DisabledVeil::message(m_receiveLabel->text());
    for (QLabel* label : {m_receiveLabel, m_receivedTempo}) {
        label->setEnabled(enabled);
        label->setToolTip(tip);
    }
}

void MidiTimingClockGeneratorView::updatedKnobValue(int value)
{
    m_model->setParameterEditFlag(ParameterEditFlagEdited);
    m_thread->setTempo(value * 10);
}

void MidiTimingClockGeneratorView::updatedplayButton(bool checked)
{
    m_model->setParameterEditFlag(ParameterEditFlagEdited);
    m_thread->setPlayTimingClockFlag(checked);
}

void MidiTimingClockGeneratorView::updateParameter(unsigned int id)
{
    if (id == ParamMessageParsed) {
        setTimingClockReceivedWidgetEnabled(m_model->getModelIntValue(ParamMessageParsed, nullptr) >= 1);
    }
}

void MidiTimingClockGeneratorView::closeEvent(QCloseEvent* event)
{
    m_thread->setPlayTimingClockFlag(false);
    m_model->setParameterEditFlag(ParameterEditFlagEdited);
    QFrame::closeEvent(event);
}

bool MidiTimingClockGeneratorView::getDataStream(QDataStream& stream)
{
    setIntParameterToStream(stream, 0, m_knob->value());
    setIntParameterToStream(stream, 1, m_playButton->isChecked() ? 1 : 0);
    return true;
}

bool MidiTimingClockGeneratorView::setDataStream(QDataStream& stream)
{
    int value = 0;
    if (getIntParameterFromStream(stream, 0, value)) {
        m_knob->setValue(value);
    }
    if (getIntParameterFromStream(stream, 1, value)) {
        m_playButton->setChecked(value >= 1);
    }
    return true;
}
