#include "MidiPitchbendView.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "GeneratorControls.h"
#include "MidiSender.h"
#include "MidiPitchbendSlider.h"
#include "OstrelModel.h"
#include "PushButton.h"
#include "SpinBox.h"
#include "Utility.h"
#include "midilib_event.h"

namespace {

constexpr int DisplayMinimum = -8192;
constexpr int DisplayMaximum = 8191;
constexpr int LowestBentPosition = 65;  // positions above the centre fill in a low byte

}  // namespace

MidiPitchbendView::MidiPitchbendView(QWidget* parent, OstrelModel* model, MidiSender* sender)
    : QFrame(parent),
      WindowRestorationInfo(PitchbendId),
      m_model(model),
      m_sender(sender),
      m_wheelMode(new QCheckBox(tr("Wheel Mode"))),
      m_channel(GeneratorControls::createChannelBox()),
      m_slider(new MidiPitchbendSlider),
      m_value(new SpinBox),
      m_transmit(new PushButton)
{
    setAutoFillBackground(true);
    setFocusPolicy(Qt::ClickFocus);
    setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(tr("Channel")));
    row->addWidget(m_channel, 1);
    layout->addLayout(row);
    connect(m_channel, QOverload<int>::of(&QSpinBox::valueChanged), this, &MidiPitchbendView::updateChannel);

    m_wheelMode->setChecked(true);
    layout->addWidget(m_wheelMode);
    connect(m_wheelMode, &QCheckBox::toggled, this, &MidiPitchbendView::updateWheelMode);

    m_slider->setFixedSize(SliderSize);
    QPalette palette = m_slider->palette();
    palette.setColor(QPalette::All, QPalette::Window, Qt::black);
    m_slider->setPalette(palette);
    layout->addWidget(m_slider, 1, Qt::AlignHCenter);
    connect(m_slider, &MidiPitchbendSlider::valueChanged, this, &MidiPitchbendView::sliderValueChanged);

    m_value->setRange(DisplayMinimum, DisplayMaximum);
    m_value->setLocalDefault(0);
    m_value->setWidgetValue(0);
    m_value->setAlignment(Qt::AlignRight);
    layout->addWidget(m_value);
    connect(m_value, &SpinBox::widgetValueChanged, this, &MidiPitchbendView::updatePitchbendValue);

    m_transmit->setText(tr("Transmit"));
    layout->addWidget(m_transmit);
    connect(m_transmit, &QPushButton::pressed, this, &MidiPitchbendView::transmitButtonPressed);

    m_value->setEnabled(!m_wheelMode->isChecked());
    m_model->setParameterEditFlag(ParameterEditFlagEdited);
}

int MidiPitchbendView::calculateLsbFromSliderValue(int position)
{
    return position < LowestBentPosition ? 0 : (127 * position - 8128) / 63;
}

int MidiPitchbendView::sliderValueToPitchBendValue(int position)
{
    return 128 * position + calculateLsbFromSliderValue(position);
}

int MidiPitchbendView::convertPitchBendValueToSliderValue(int value)
{
    const int msb = value >> 7;
    const int lsb = value & 0x7F;
    return msb >= LowestBentPosition && lsb < calculateLsbFromSliderValue(msb) ? msb - 1 : msb;
}

unsigned char MidiPitchbendView::channel() const
{
    return static_cast<unsigned char>(m_channel->value() - 1);
}

void MidiPitchbendView::transmitPitchbendMessage(unsigned char channelIndex, int value)
{
    unsigned char msb = 0;
    unsigned char lsb = 0;
    if (value < 0 || !Utility::convert2BytesValueToMsbLsb(static_cast<unsigned int>(value), msb, lsb)) {
        return;
    }
    const unsigned char bytes[3] = {static_cast<unsigned char>(0xE0 + channelIndex), lsb, msb};
    m_sender->send(bytes, 3, MIDILIB_Event_Type_PitchBend, OutputPortGroup_Both, false);
}

void MidiPitchbendView::sliderValueChanged(qint32 position)
{
    if (m_sender->isRestoringWindows() || m_updating) {
        return;
    }
    m_model->setParameterEditFlag(ParameterEditFlagEdited);
    m_updating = true;
    const int value = sliderValueToPitchBendValue(position);
    transmitPitchbendMessage(channel(), value);
    m_value->setWidgetValue(value - CentreValue);
    m_updating = false;
}

void MidiPitchbendView::showValueOnSlider(int value)
{
    m_updating = true;
    m_slider->setValue(convertPitchBendValueToSliderValue(value));
    m_updating = false;
}

void MidiPitchbendView::updatePitchbendValue(qint32 shown)
{
    m_model->setParameterEditFlag(ParameterEditFlagEdited);
    if (m_updating) {
        return;
    }
    const int value = shown - DisplayMinimum;
    transmitPitchbendMessage(channel(), value);
    showValueOnSlider(value);
}

void MidiPitchbendView::transmitButtonPressed()
{
    transmitPitchbendMessage(channel(), m_value->value() - DisplayMinimum);
}

void MidiPitchbendView::updateWheelMode(bool checked)
{
    m_model->setParameterEditFlag(ParameterEditFlagEdited);
    m_value->setEnabled(!checked);
    m_slider->setWheelMode(checked ? MidiPitchbendSlider::SpringBack : MidiPitchbendSlider::Stay);
}

void MidiPitchbendView::updateChannel(qint32)
{
    m_model->setParameterEditFlag(ParameterEditFlagEdited);
}

void MidiPitchbendView::closeEvent(QCloseEvent* event)
{
    m_model->setParameterEditFlag(ParameterEditFlagEdited);
    QFrame::closeEvent(event);
}

bool MidiPitchbendView::getDataStream(QDataStream& stream)
{
    setIntParameterToStream(stream, 0, m_channel->value());
    setIntParameterToStream(stream, 1, m_wheelMode->isChecked() ? 1 : 0);
    setIntParameterToStream(stream, 2, m_value->value());
    return true;
}

bool MidiPitchbendView::setDataStream(QDataStream& stream)
{
    int value = 0;
    if (getIntParameterFromStream(stream, 0, value)) {
        m_channel->setValue(value);
    }
    if (getIntParameterFromStream(stream, 1, value)) {
        m_wheelMode->setChecked(value != 0);
    }
    if (getIntParameterFromStream(stream, 2, value)) {
        m_value->setWidgetValue(value);
        showValueOnSlider(m_value->value() - DisplayMinimum);
    }
    return true;
}
