#include "MidiActivesensingView.h"

#include "MidiSender.h"

#include <QPushButton>
#include <QVBoxLayout>

#include "MidiActivesenseTransmittionThread.h"
#include "MidiLedCombinedDial.h"
#include "OstrelModel.h"

namespace {

constexpr int ArcMargin = -3;
const QColor StartGradientColorOfKnobMeter(84, 0, 0);
const QColor EndGradientColorOfKnobMeter(255, 245, 245);

}  // namespace

const MidiActivesensingView::ValueRecord MidiActivesensingView::ActiveSenseValue{100, 1000, 270,
                                                                                "Active Sense Interval", "ms"};
const QColor MidiActivesensingView::ActivesenseLedOnColor(Qt::yellow);
const QColor MidiActivesensingView::ActivesenseLedOffColor(27, 27, 0);

MidiActivesensingView::MidiActivesensingView(QWidget* parent, OstrelModel* model, MidiSender* sender)
    : QFrame(parent),
      WindowRestorationInfo(ActivesensingId),
      m_model(model),
      m_sender(sender),
      m_thread(new MidiActivesenseTransmittionThread(sender, this)),
      m_button(new QPushButton),
      m_knob(new MidiLedCombinedDial)
{
    auto* layout = new QVBoxLayout(this);
    m_knob->setRange(ActiveSenseValue.minimum, ActiveSenseValue.maximum);
    m_knob->setValue(ActiveSenseValue.defaultValue);
    m_knob->setResetValue(ActiveSenseValue.defaultValue);
    m_knob->setUnitText(QStringLiteral(" ") + tr(ActiveSenseValue.unit));
    m_knob->setLineEditSize(50, 20);
    m_knob->setTrackMargins(ArcMargin, ArcMargin, ArcMargin, ArcMargin);
    m_knob->setTrackColors(StartGradientColorOfKnobMeter, EndGradientColorOfKnobMeter);
    m_knob->setLedColors(ActivesenseLedOnColor, ActivesenseLedOffColor);
    m_knob->setAutomaticOff(false);
    m_model->registerDial(m_knob);
    layout->addWidget(m_knob, 1);
    connect(m_knob, &QDial::valueChanged, this, &MidiActivesensingView::updatedKnobValue);

    m_thread->setActivesenseInterval(ActiveSenseValue.defaultValue);
    m_button->setCheckable(true);
    m_button->setAutoFillBackground(true);
    layout->addWidget(m_button);
    updatedplayButton(false);
    connect(m_button, &QPushButton::toggled, this, &MidiActivesensingView::updatedplayButton);
    m_model->setParameterEditFlag(ParameterEditFlagEdited);
}

MidiActivesensingView::~MidiActivesensingView()
{
    m_model->unregisterDial(m_knob);
    delete m_thread;  // ends the sending before the window goes
}

void MidiActivesensingView::updatedKnobValue(int value)
{
    m_model->setParameterEditFlag(ParameterEditFlagEdited);
    m_thread->setActivesenseInterval(value);
}

void MidiActivesensingView::updatedplayButton(bool checked)
{
    m_model->setParameterEditFlag(ParameterEditFlagEdited);
    m_button->setText(checked ? tr("Stop") : tr("Transmit"));
    m_thread->setPlayActivesensingFlag(checked);
    m_knob->setLedOn(checked);
}

void MidiActivesensingView::closeEvent(QCloseEvent* event)
{
    m_thread->setPlayActivesensingFlag(false);
    m_model->setParameterEditFlag(ParameterEditFlagEdited);
    QFrame::closeEvent(event);
}

bool MidiActivesensingView::getDataStream(QDataStream& stream)
{
    setIntParameterToStream(stream, 0, m_knob->value());
    setIntParameterToStream(stream, 1, m_button->isChecked() ? 1 : 0);
    return true;
}

bool MidiActivesensingView::setDataStream(QDataStream& stream)
{
    int value = 0;
    if (getIntParameterFromStream(stream, 0, value)) {
        m_knob->setValue(value);
    }
    if (getIntParameterFromStream(stream, 1, value)) {
        m_button->setChecked(value >= 1);
    }
    return true;
}
