#include "MidiKeyboardView.h"

#include <QComboBox>
#include <QScrollBar>
#include <QVBoxLayout>

#include "MidiSender.h"
#include "MidiKeyboardUpperView.h"
#include "MidiKeyboardViewScrollArea.h"
#include "OstrelModel.h"
#include "PressureKeyboard.h"
#include "SpinBox.h"
#include "midilib_event.h"

namespace {

enum FieldId { ScrollPositionId = 0, ChannelId = 1, VelocityId = 2, PressureId = 3 };
constexpr int ScrollBarRoom = 20;

}  // namespace

const QColor MidiKeyboardView::KeyboardOnColor(160, 160, 185);

MidiKeyboardView::MidiKeyboardView(QWidget* parent, OstrelModel* model, MidiSender* sender)
    : QFrame(parent),
      WindowRestorationInfo(KeyboardId),
      m_upperView(new MidiKeyboardUpperView(this)),
      m_scrollArea(new MidiKeyboardViewScrollArea(this, model)),
      m_keyboard(new PressureKeyboard(nullptr, WhiteKeySize)),
      m_model(model),
      m_sender(sender)
{
    setAutoFillBackground(true);
    setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_upperView);
    layout->addWidget(m_scrollArea);

    m_keyboard->setGeometry(QRect(QPoint(0, 0), KeyboardViewSize));
    m_keyboard->setNoteCallbackFunc(&MidiKeyboardView::transmitNoteMessage, this);
    m_keyboard->setKeyPressureCallbackFunc(&MidiKeyboardView::transmitKeyPressureMessage, this);
    m_keyboard->setChannelPressureCallbackFunc(&MidiKeyboardView::transmitChannelPressureMessage, this);
    m_keyboard->setOnColor(KeyboardOnColor);

    m_scrollArea->setFrameShape(QFrame::NoFrame);
    m_scrollArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scrollArea->setGeometry(0, 0, KeyboardViewSize.width(), KeyboardViewSize.height() + ScrollBarRoom);
    m_scrollArea->setFixedHeight(KeyboardViewSize.height() + ScrollBarRoom);
    m_scrollArea->setWidget(m_keyboard);

    m_channel = m_upperView->getChannel();
    m_model->setParameterEditFlag(ParameterEditFlagEdited);
    // The boxes' own change signal: once per change by the user, a
    // control-click on the default included.
    connect(m_upperView->channelBox(), &SpinBox::widgetValueChanged, this, &MidiKeyboardView::noteChannelChanged);
    connect(m_upperView->velocityBox(), &SpinBox::widgetValueChanged, this, &MidiKeyboardView::velocityChanged);
    connect(m_upperView->pressureChoice(), QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &MidiKeyboardView::pressureChanged);
    m_keyboard->setMiddleCOffset(m_model->getModelIntValue(ParamMessageMiddleC, nullptr));
    m_model->registerModelAssistant(this);
}

MidiKeyboardView::~MidiKeyboardView()
{
    m_model->unregisterModelAssistant(this);
}

void MidiKeyboardView::transmit(const unsigned char* bytes, uint32_t length, unsigned char eventType)
{
    m_sender->send(bytes, length, eventType, OutputPortGroup_Both, false);
}

void MidiKeyboardView::transmitNoteMessage(void* context, unsigned char note, bool on)
{
    auto* view = static_cast<MidiKeyboardView*>(context);
    const unsigned char bytes[3] = {static_cast<unsigned char>((on ? 0x90 : 0x80) + view->m_channel), note,
                                    on ? view->m_upperView->getVelocity() : static_cast<unsigned char>(0)};
    view->transmit(bytes, 3, on ? MIDILIB_Event_Type_NoteOn : MIDILIB_Event_Type_NoteOff);
}

void MidiKeyboardView::transmitKeyPressureMessage(void* context, unsigned char note, unsigned char value)
{
    auto* view = static_cast<MidiKeyboardView*>(context);
    const unsigned char bytes[3] = {static_cast<unsigned char>(0xA0 + view->m_channel), note, value};
    view->transmit(bytes, 3, MIDILIB_Event_Type_PolyKeyPressure);
}

void MidiKeyboardView::transmitChannelPressureMessage(void* context, unsigned char value)
{
    auto* view = static_cast<MidiKeyboardView*>(context);
    const unsigned char bytes[2] = {static_cast<unsigned char>(0xD0 + view->m_channel), value};
    view->transmit(bytes, 2, MIDILIB_Event_Type_ChannelKeyPressure);
}

void MidiKeyboardView::noteChannelChanged(qint32 value)
{
    m_keyboard->noteOnToOff();  // note offs still on the old channel
    m_channel = static_cast<unsigned char>(value - 1);
    m_model->setParameterEditFlag(ParameterEditFlagEdited);
}

void MidiKeyboardView::velocityChanged(qint32)
{
    m_model->setParameterEditFlag(ParameterEditFlagEdited);
}

void MidiKeyboardView::pressureChanged(qint32 index)
{
    m_model->setParameterEditFlag(ParameterEditFlagEdited);
    m_keyboard->pressureMode = index;
}

void MidiKeyboardView::updateParameter(unsigned int id)
{
    if (id == ParamMessageMiddleC) {
        m_keyboard->setMiddleCOffset(m_model->getModelIntValue(ParamMessageMiddleC, nullptr));
    }
}

void MidiKeyboardView::showEvent(QShowEvent* event)
{
    QFrame::showEvent(event);
    QScrollBar* bar = m_scrollArea->horizontalScrollBar();
    bar->setValue(static_cast<int>((bar->maximum() - bar->minimum()) * 0.5));
}

void MidiKeyboardView::closeEvent(QCloseEvent* event)
{
    m_keyboard->noteOnToOff();
    m_model->setParameterEditFlag(ParameterEditFlagEdited);
    QFrame::closeEvent(event);
}

bool MidiKeyboardView::getDataStream(QDataStream& stream)
{
    if (QScrollBar* bar = m_scrollArea->horizontalScrollBar()) {
        setIntParameterToStream(stream, ScrollPositionId, bar->value());
    }
    setIntParameterToStream(stream, ChannelId, m_upperView->channelBox()->value());
    setIntParameterToStream(stream, VelocityId, m_upperView->velocityBox()->value());
    setIntParameterToStream(stream, PressureId, m_upperView->getPressureIndex());
    return true;
}

bool MidiKeyboardView::setDataStream(QDataStream& stream)
{
    int value = 0;
    if (getIntParameterFromStream(stream, ScrollPositionId, value)) {
        m_scrollArea->horizontalScrollBar()->setValue(value);
    }
    if (getIntParameterFromStream(stream, ChannelId, value)) {
        m_upperView->channelBox()->setWidgetValue(value);
        noteChannelChanged(m_upperView->channelBox()->value());  // clamped into 1..16
    }
    if (getIntParameterFromStream(stream, VelocityId, value)) {
        m_upperView->velocityBox()->setWidgetValue(value);
        velocityChanged(m_upperView->velocityBox()->value());
    }
    if (getIntParameterFromStream(stream, PressureId, value) && value >= 0 &&
        value < m_upperView->pressureChoice()->count()) {
        m_upperView->pressureChoice()->setCurrentIndex(value);
    }
    return true;
}
