#include "MidiProgramChangeView.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "GeneratorControls.h"
#include "MidiSender.h"
#include "OstrelModel.h"
#include "PushButton.h"
#include "SevenSegment.h"
#include "SpinBox.h"
#include "midilib_event.h"

namespace {

constexpr qreal DevicePixelRatio = 2.0;
constexpr int OneBased = 1;
constexpr int ZeroBased = 0;
constexpr int ProgramNumberMinimum = 1;  // one-based; zero-based is one less
constexpr int ProgramNumberMaximum = 128;

enum FieldId {
    ChannelId = 0,
    MsbSwitchId = 1,
    MsbId = 2,
    LsbSwitchId = 3,
    LsbId = 4,
    ProgramId = 5,
    AutoTransmitId = 6,
    BaseId = 7,
};

QPixmap picture(const char* name)
{
    QPixmap strip(QString::fromLatin1(name));
    strip.setDevicePixelRatio(DevicePixelRatio);
    return strip;
}

SpinBox* byteBox(int maximum)
{
    auto* box = new SpinBox;
    box->setRange(0, maximum);
    box->setWidgetValue(0);
    box->setAlignment(Qt::AlignRight);
    return box;
}

}  // namespace

MidiProgramChangeView::MidiProgramChangeView(QWidget* parent, OstrelModel* model, MidiSender* sender)
    : QFrame(parent),
      WindowRestorationInfo(ProgramChangeId),
      m_msb(byteBox(127)),
      m_msbSwitch(new QCheckBox(tr("MSB"))),
      m_lsb(byteBox(127)),
      m_lsbSwitch(new QCheckBox(tr("LSB"))),
      m_program(new SevenSegment),
      m_channel(GeneratorControls::createChannelBox()),
      m_autoTransmit(new QCheckBox(tr("Auto Transmit"))),
      m_transmit(new PushButton),
      m_model(model),
      m_sender(sender),
      m_base(model->getModelIntValue(ParamProgramNumberBase, nullptr))
{
    setFocusPolicy(Qt::ClickFocus);
    setAutoFillBackground(true);
    setFrameStyle(QFrame::StyledPanel | QFrame::Plain);

    auto* form = new QFormLayout(this);
    form->setVerticalSpacing(5);
    form->addRow(tr("Channel"), m_channel);
    form->addRow(new QLabel(tr("Bank")));
    form->addRow(m_msb, m_msbSwitch);
    form->addRow(m_lsb, m_lsbSwitch);
    auto* programColumn = new QVBoxLayout;
    programColumn->addWidget(new QLabel(tr("Program Number")));
    programColumn->addWidget(m_program, 0, Qt::AlignRight);
    form->addRow(programColumn);
    form->addRow(m_autoTransmit);
    m_transmit->setText(tr("Transmit"));
    form->addRow(m_transmit);

    applyBaseRange();
    m_program->setValue(getProgramChangeNumberDefaultValue());
    m_program->setFixedSize(128, 48);
    m_program->setDigitImage(picture(":/images/7seg.png"));
    m_program->setIncreaseButtonPixmap(picture(":/images/up_arrow_button.png"));
    m_program->setDecreaseButtonPixmap(picture(":/images/down_arrow_button.png"));
    m_program->setIncreaseButtonGeometry(QRect(114, 0, 14, 24));
    m_program->setDecreaseButtonGeometry(QRect(114, 24, 14, 24));

    connect(m_channel, &SpinBox::widgetValueChanged, this, &MidiProgramChangeView::updateChannel);
    connect(m_msb, &SpinBox::widgetValueChanged, this, &MidiProgramChangeView::updateMSB);
    connect(m_lsb, &SpinBox::widgetValueChanged, this, &MidiProgramChangeView::updateLSB);
    connect(m_program, &SevenSegment::valueChanged, this, &MidiProgramChangeView::updateProgramNumber);
    for (QCheckBox* box : {m_msbSwitch, m_lsbSwitch, m_autoTransmit}) {
        connect(box, &QCheckBox::toggled, this, &MidiProgramChangeView::updateCheckbox);
    }
    connect(m_transmit, &QPushButton::pressed, this, &MidiProgramChangeView::transmitButtonPressed);
    m_model->registerModelAssistant(this);
    m_model->setParameterEditFlag(ParameterEditFlagEdited);
}

MidiProgramChangeView::~MidiProgramChangeView()
{
    m_model->unregisterModelAssistant(this);
}

int MidiProgramChangeView::getProgramChangeNumberMinimumValue() const
{
    return m_base == OneBased ? ProgramNumberMinimum : m_base == ZeroBased ? ProgramNumberMinimum - 1 : 0;
}

int MidiProgramChangeView::getProgramChangeNumberMaximumValue() const
{
    return m_base == OneBased ? ProgramNumberMaximum : m_base == ZeroBased ? ProgramNumberMaximum - 1 : 0;
}

int MidiProgramChangeView::getProgramChangeNumberDefaultValue() const
{
    return getProgramChangeNumberMinimumValue();
}

int MidiProgramChangeView::midiProgram() const
{
    return m_base == OneBased ? m_program->value() - 1 : m_program->value();
}

void MidiProgramChangeView::applyBaseRange()
{
    m_program->setMinimum(getProgramChangeNumberMinimumValue());
    m_program->setMaximum(getProgramChangeNumberMaximumValue());
    m_program->setDefault(getProgramChangeNumberDefaultValue());
}

void MidiProgramChangeView::transmitProgramChangeMessage()
{
    const auto channel = static_cast<unsigned char>(m_channel->value() - 1);
    if (m_msbSwitch->isChecked()) {
        const unsigned char bytes[3] = {static_cast<unsigned char>(0xB0 + channel), 0x00,
                                        static_cast<unsigned char>(m_msb->value())};
        m_sender->send(bytes, 3, MIDILIB_Event_Type_ControlChange, OutputPortGroup_Both, false);
    }
    if (m_lsbSwitch->isChecked()) {
        const unsigned char bytes[3] = {static_cast<unsigned char>(0xB0 + channel), 0x20,
                                        static_cast<unsigned char>(m_lsb->value())};
        m_sender->send(bytes, 3, MIDILIB_Event_Type_ControlChange, OutputPortGroup_Both, false);
    }
    const unsigned char program[2] = {static_cast<unsigned char>(0xC0 + channel),
                                      static_cast<unsigned char>(midiProgram() & 0x7F)};
    m_sender->send(program, 2, MIDILIB_Event_Type_ProgramChange, OutputPortGroup_Both, false);
}

void MidiProgramChangeView::changedByUser()
{
    m_model->setParameterEditFlag(ParameterEditFlagEdited);
    if (m_autoTransmit->isChecked()) {
        transmitProgramChangeMessage();
    }
}

void MidiProgramChangeView::updateChannel(qint32)
{
    changedByUser();
}

void MidiProgramChangeView::updateMSB(qint32)
{
    changedByUser();
}

void MidiProgramChangeView::updateLSB(qint32)
{
    changedByUser();
}

void MidiProgramChangeView::updateProgramNumber(qint32)
{
    if (!m_updating) {
        changedByUser();
    }
}

void MidiProgramChangeView::updateCheckbox(bool)
{
    m_model->setParameterEditFlag(ParameterEditFlagEdited);
}

void MidiProgramChangeView::transmitButtonPressed()
{
    transmitProgramChangeMessage();
}

void MidiProgramChangeView::setDisplayQuietly(int value)
{
    m_updating = true;
    m_program->setValue(value);
    m_updating = false;
}

void MidiProgramChangeView::updateParameter(unsigned int id)
{
    if (id != ParamProgramNumberBase) {
        return;
    }
    const int base = m_model->getModelIntValue(ParamProgramNumberBase, nullptr);
    if (base == m_base) {
        return;
    }
    const int shown = m_program->value();
    m_base = base;
    m_updating = true;
    applyBaseRange();
    // The same MIDI program in the new count.
    m_program->setValue(base == OneBased ? shown + 1 : base == ZeroBased ? shown - 1 : shown);
    m_updating = false;
}

void MidiProgramChangeView::closeEvent(QCloseEvent* event)
{
    m_model->setParameterEditFlag(ParameterEditFlagEdited);
    QFrame::closeEvent(event);
}

bool MidiProgramChangeView::getDataStream(QDataStream& stream)
{
    setIntParameterToStream(stream, ChannelId, m_channel->value());
    setIntParameterToStream(stream, MsbSwitchId, m_msbSwitch->isChecked() ? 1 : 0);
    setIntParameterToStream(stream, MsbId, m_msb->value());
    setIntParameterToStream(stream, LsbSwitchId, m_lsbSwitch->isChecked() ? 1 : 0);
    setIntParameterToStream(stream, LsbId, m_lsb->value());
    setIntParameterToStream(stream, ProgramId, m_program->value());
    setIntParameterToStream(stream, AutoTransmitId, m_autoTransmit->isChecked() ? 1 : 0);
    setIntParameterToStream(stream, BaseId, m_model->getModelIntValue(ParamProgramNumberBase, nullptr));
    return true;
}

bool MidiProgramChangeView::setDataStream(QDataStream& stream)
{
    int value = 0;
    if (getIntParameterFromStream(stream, ChannelId, value)) {
        m_channel->setWidgetValue(value);
    }
    if (getIntParameterFromStream(stream, MsbSwitchId, value)) {
        m_msbSwitch->setChecked(value > 0);
    }
    if (getIntParameterFromStream(stream, MsbId, value)) {
        m_msb->setWidgetValue(value);
    }
    if (getIntParameterFromStream(stream, LsbSwitchId, value)) {
        m_lsbSwitch->setChecked(value > 0);
    }
    if (getIntParameterFromStream(stream, LsbId, value)) {
        m_lsb->setWidgetValue(value);
    }
    int shown = 0;
    const bool hasProgram = getIntParameterFromStream(stream, ProgramId, shown);
    if (getIntParameterFromStream(stream, AutoTransmitId, value)) {
        m_autoTransmit->setChecked(value > 0);
    }
    int savedBase = 0;
    const bool hasBase = getIntParameterFromStream(stream, BaseId, savedBase);
    if (hasProgram) {
        if (hasBase) {
            shown += m_base > savedBase ? 1 : m_base < savedBase ? -1 : 0;
        } else if (m_base == ZeroBased) {
            shown -= 1;  // older files count from one
        }
        setDisplayQuietly(shown);
    }
    return true;
}
