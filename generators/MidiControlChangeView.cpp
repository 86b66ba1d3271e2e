#include "MidiControlChangeView.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "Dial.h"
#include "GeneratorControls.h"
#include "MidiSender.h"
#include "MidiNameTables.h"
#include "OstrelModel.h"
#include "PushButton.h"
#include "SpinBox.h"
#include "midilib_event.h"

namespace {

constexpr int RowHeight = 23;
const QColor StartGradientColorOfKnobMeter(84, 0, 0);
const QColor EndGradientColorOfKnobMeter(255, 245, 245);
constexpr QSize LineEditSize{50, 20};
constexpr int ArcMargin = -3;

}  // namespace

// 0 for 0-1, 32-34, 36-40, 45-48, 64-67, 69, 96-100, 120-127; 127 for 2, 4,
// 11; 100 for 7 (volume); 64 for every other controller.
const unsigned char MidiControlChangeView::ControlChangeInitialValueTable[128] = {
    0,  0,  127, 64, 127, 64, 64, 100, 64, 64, 64,  127, 64, 64, 64, 64,   // 0-15
    64, 64, 64,  64, 64,  64, 64, 64,  64, 64, 64,  64,  64, 64, 64, 64,   // 16-31
    0,  0,  0,   64, 0,   0,  0,  0,   0,  64, 64,  64,  64, 0,  0,  0,    // 32-47
    0,  64, 64,  64, 64,  64, 64, 64,  64, 64, 64,  64,  64, 64, 64, 64,   // 48-63
    0,  0,  0,   0,  64,  0,  64, 64,  64, 64, 64,  64,  64, 64, 64, 64,   // 64-79
    64, 64, 64,  64, 64,  64, 64, 64,  64, 64, 64,  64,  64, 64, 64, 64,   // 80-95
    0,  0,  0,   0,  0,   64, 64, 64,  64, 64, 64,  64,  64, 64, 64, 64,   // 96-111
    64, 64, 64,  64, 64,  64, 64, 64,  0,  0,  0,   0,   0,  0,  0,  0,    // 112-127
};

MidiControlChangeView::MidiControlChangeView(QWidget* parent, unsigned char controller, OstrelModel* model, MidiSender* sender)
    : QFrame(parent),
      ControlChangeWindowRestorationInfo(controller),
      m_channel(GeneratorControls::createChannelBox()),
      m_controller(new QComboBox),
      m_knob(new Dial),
      m_transmit(new PushButton),
      m_model(model),
      m_sender(sender)
{
    setFocusPolicy(Qt::ClickFocus);
    setAutoFillBackground(true);
    setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(tr("Channel")));
    m_channel->setFixedHeight(RowHeight);
    row->addWidget(m_channel, 1);
    layout->addLayout(row);
    for (const char* name : ControlChangeNameList) {
        m_controller->addItem(QString::fromLatin1(name));
    }
    m_controller->setCurrentIndex(controller);
    layout->addWidget(m_controller);
    const int initial = ControlChangeInitialValueTable[controller & 0x7F];
    m_knob->setRange(0, 127);
    m_knob->setLineEditSize(LineEditSize.width(), LineEditSize.height());
    m_knob->setTrackMargins(ArcMargin, ArcMargin, ArcMargin, ArcMargin);
    m_knob->setResetValue(initial);
    m_knob->setValue(initial);
    m_knob->setTrackColors(StartGradientColorOfKnobMeter, EndGradientColorOfKnobMeter);
    m_model->registerDial(m_knob);
    layout->addWidget(m_knob, 1);
    m_transmit->setText(tr("Transmit"));
    layout->addWidget(m_transmit);

    connect(m_channel, QOverload<int>::of(&QSpinBox::valueChanged), this,
            &MidiControlChangeView::updateControlChangeChannel);
    connect(m_controller, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &MidiControlChangeView::controlChangeNumberChanged);
    connect(m_knob, &QDial::valueChanged, this, &MidiControlChangeView::updateControlChangeValue);
    connect(m_transmit, &QPushButton::pressed, this, &MidiControlChangeView::transmitButtonPressed);
    m_model->setParameterEditFlag(ParameterEditFlagEdited);
}

MidiControlChangeView::~MidiControlChangeView()
{
    m_model->unregisterDial(m_knob);
}

void MidiControlChangeView::transmit(int value)
{
    if (m_sender->isRestoringWindows()) {
        return;  // restoring a project's values sends nothing
    }
    const unsigned char bytes[3] = {static_cast<unsigned char>(0xB0 + m_channel->value() - 1),
                                    static_cast<unsigned char>(m_controller->currentIndex()),
                                    static_cast<unsigned char>(value)};
    m_sender->send(bytes, 3, MIDILIB_Event_Type_ControlChange, OutputPortGroup_Both, false);
}

void MidiControlChangeView::updateControlChangeChannel(qint32)
{
    m_model->setParameterEditFlag(ParameterEditFlagEdited);
}

void MidiControlChangeView::updateControlChangeValue(qint32 value)
{
    m_model->setParameterEditFlag(ParameterEditFlagEdited);
    transmit(value);
}

void MidiControlChangeView::controlChangeNumberChanged(qint32 controller)
{
    m_model->setParameterEditFlag(ParameterEditFlagEdited);
    if (controller < 0 || controller >= ControlChangeMax) {
        return;
    }
    setController(static_cast<unsigned char>(controller));
    m_knob->setResetValue(ControlChangeInitialValueTable[controller]);
}

void MidiControlChangeView::transmitButtonPressed()
{
    transmit(m_knob->value());
}

void MidiControlChangeView::closeEvent(QCloseEvent* event)
{
    m_model->setParameterEditFlag(ParameterEditFlagEdited);
    QFrame::closeEvent(event);
}

bool MidiControlChangeView::getDataStream(QDataStream& stream)
{
    setIntParameterToStream(stream, 0, m_channel->value());
    setIntParameterToStream(stream, 1, m_controller->currentIndex());
    setIntParameterToStream(stream, 2, m_knob->value());
    setIntParameterToStream(stream, 3, 0);
    return true;
}

bool MidiControlChangeView::setDataStream(QDataStream& stream)
{
    int value = 0;
    if (getIntParameterFromStream(stream, 0, value)) {
        m_channel->setValue(value);
    }
    if (getIntParameterFromStream(stream, 1, value) && value >= 0 && value < ControlChangeMax) {
        m_controller->setCurrentIndex(value);
    }
    if (getIntParameterFromStream(stream, 2, value)) {
        m_knob->setValue(value);
    }
    getIntParameterFromStream(stream, 3, value);  // reserved
    return true;
}
