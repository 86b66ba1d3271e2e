#include "MidiTransportPanelView.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>

#include <tuple>

#include "MidiSender.h"
#include "OstrelModel.h"
#include "PushButton.h"
#include "SpinBox.h"
#include "midilib_event.h"

namespace {

constexpr qreal DevicePixelRatio = 2.0;
constexpr QSize BoxSize{92, 23};
constexpr int TransmitButtonWidth = 100;
constexpr int PictureButtonHeight = 34;
constexpr int PictureButtonWidth = 48;
constexpr int PictureButtonSpacing = 15;

// Our pictures are whole 32 x 32 button faces: centred on a flat button
// rather than at a fixed offset, which would push them out of its 34 pixels.
PushButton* pictureButton(const char* image, const QString& tip)
{
    auto* button = new PushButton;
    QPixmap strip(QString::fromLatin1(image));
    strip.setDevicePixelRatio(DevicePixelRatio);
    button->setImage(strip);
    button->setCenterOnShow(true);
    button->setFlat(true);
    button->setToolTip(tip);
    button->setFixedSize(PictureButtonWidth, PictureButtonHeight);
    return button;
}

SpinBox* valueBox(const MidiTransportPanelView::ValueRecord& record)
{
    auto* box = new SpinBox;
    box->setRange(record.minimum, record.maximum);
    box->setLocalDefault(record.defaultValue);
    box->setWidgetValue(record.defaultValue);
    box->setFixedSize(BoxSize);
    box->setAlignment(Qt::AlignRight);
    return box;
}

}  // namespace

const MidiTransportPanelView::ValueRecord MidiTransportPanelView::TransportPanelSongNumber{1, 128, 1, "Song Number",
                                                                                        nullptr};
const MidiTransportPanelView::ValueRecord MidiTransportPanelView::TransportpanelSongPosition{0, 16383, 0,
                                                                                          "Song Position", nullptr};

MidiTransportPanelView::MidiTransportPanelView(QWidget* parent, OstrelModel* model, MidiSender* sender)
    : QFrame(parent),
      WindowRestorationInfo(TransportPanelId),
      m_model(model),
      m_sender(sender),
      m_songNumber(valueBox(TransportPanelSongNumber)),
      m_songPosition(valueBox(TransportpanelSongPosition)),
      m_songNumberTransmit(new QPushButton(tr("Transmit"))),
      m_songPositionTransmit(new QPushButton(tr("Transmit"))),
      m_stop(pictureButton(":/images/fc_stop.png", tr("Stop"))),
      m_continue(pictureButton(":/images/fb_continue.png", tr("Continue"))),
      m_start(pictureButton(":/images/fa_play.png", tr("Start")))
{
    auto* form = new QFormLayout(this);
    form->setSpacing(5);
    for (auto [record, box, button] : {std::make_tuple(&TransportPanelSongNumber, m_songNumber, m_songNumberTransmit),
                                        std::make_tuple(&TransportpanelSongPosition, m_songPosition,
                                                        m_songPositionTransmit)}) {
        auto* label = new QLabel(tr(record->label));
        label->setAlignment(Qt::AlignCenter);
        auto* row = new QHBoxLayout;
        row->addWidget(box);
        button->setFixedWidth(TransmitButtonWidth);
        row->addWidget(button);
        form->addRow(label, row);
    }
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(PictureButtonSpacing);
    for (PushButton* button : {m_stop, m_continue, m_start}) {
        buttons->addWidget(button);
    }
    form->addRow(buttons);

    connect(m_songNumber, &SpinBox::widgetValueChanged, this, &MidiTransportPanelView::songNumberChanged);
    connect(m_songPosition, &SpinBox::widgetValueChanged, this, &MidiTransportPanelView::songPositionChanged);
    connect(m_songNumberTransmit, &QPushButton::pressed, this,
            &MidiTransportPanelView::songNumberTransmitButtonPressed);
    connect(m_songPositionTransmit, &QPushButton::pressed, this,
            &MidiTransportPanelView::songPositionTransmitButtnPressed);
    connect(m_stop, &QPushButton::pressed, this, &MidiTransportPanelView::stopButtonPressed);
    connect(m_continue, &QPushButton::pressed, this, &MidiTransportPanelView::playButtonPressed);
    connect(m_start, &QPushButton::pressed, this, &MidiTransportPanelView::playFromFirstButtonPressed);
}

void MidiTransportPanelView::transmit(const unsigned char* bytes, uint32_t length, unsigned char eventType)
{
    m_sender->send(bytes, length, eventType, OutputPortGroup_Both, false);
}

void MidiTransportPanelView::playFromFirstButtonPressed()
{
    const unsigned char start[] = {0xFA};
    transmit(start, 1, MIDILIB_Event_Type_Start);
}

void MidiTransportPanelView::playButtonPressed()
{
    const unsigned char resume[] = {0xFB};
    transmit(resume, 1, MIDILIB_Event_Type_Continue);
}

void MidiTransportPanelView::stopButtonPressed()
{
    const unsigned char stop[] = {0xFC};
    transmit(stop, 1, MIDILIB_Event_Type_Stop);
}

void MidiTransportPanelView::transmitSongSelect(int number)
{
    const unsigned char bytes[] = {0xF3, static_cast<unsigned char>((number - 1) & 0x7F)};
    transmit(bytes, 2, MIDILIB_Event_Type_SongSelect);
}

void MidiTransportPanelView::transmitSongPosition(int position)
{
    const bool valid = position >= TransportpanelSongPosition.minimum && position <= TransportpanelSongPosition.maximum;
    const unsigned char bytes[] = {0xF2,
                                   static_cast<unsigned char>(valid ? position & TransportPanelSongPositionMask : 0),
                                   static_cast<unsigned char>(valid ? (position & 0x3F80) >> 7 : 0)};
    transmit(bytes, 3, MIDILIB_Event_Type_SongPositionPointer);
}

void MidiTransportPanelView::songNumberChanged(int number)
{
    m_model->setParameterEditFlag(ParameterEditFlagEdited);
    transmitSongSelect(number);
}

void MidiTransportPanelView::songPositionChanged(int position)
{
    m_model->setParameterEditFlag(ParameterEditFlagEdited);
    transmitSongPosition(position);
}

void MidiTransportPanelView::songNumberTransmitButtonPressed()
{
    transmitSongSelect(m_songNumber->value());
}

void MidiTransportPanelView::songPositionTransmitButtnPressed()
{
    transmitSongPosition(m_songPosition->value());
}

void MidiTransportPanelView::closeEvent(QCloseEvent* event)
{
    m_model->setParameterEditFlag(ParameterEditFlagEdited);
    QFrame::closeEvent(event);
}

bool MidiTransportPanelView::getDataStream(QDataStream& stream)
{
    setIntParameterToStream(stream, 0, m_songNumber->value());
    setIntParameterToStream(stream, 1, m_songPosition->value());
    return true;
}

bool MidiTransportPanelView::setDataStream(QDataStream& stream)
{
    int value = 0;
    if (getIntParameterFromStream(stream, 0, value)) {
        m_songNumber->setWidgetValue(value);
    }
    if (getIntParameterFromStream(stream, 1, value)) {
        m_songPosition->setWidgetValue(value);
    }
    return true;
}
