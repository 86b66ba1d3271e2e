#include "MidiKeyboardUpperView.h"

#include <QComboBox>
#include <QLabel>

#include "SpinBox.h"

namespace {

void placeLabel(const QString& text, const QRect& rect, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(rect);
}

void setUpBox(SpinBox* box, const GeneratorControls::ValueRecord& range, const QRect& rect)
{
    box->setGeometry(rect);
    box->setAlignment(Qt::AlignRight);
    box->setRange(range.minimum, range.maximum);
    box->setLocalDefault(range.defaultValue);
    box->setWidgetValue(range.defaultValue);
    box->setAttribute(Qt::WA_MacShowFocusRect, false);
}

}  // namespace

const char* const MidiKeyboardUpperView::KeyboardPressureNameList[3] = {"Off", "Channel", "Key"};

MidiKeyboardUpperView::MidiKeyboardUpperView(QWidget* parent)
    : QWidget(parent), m_channel(GeneratorControls::createChannelBox(this)), m_velocity(new SpinBox(this)), m_pressure(new QComboBox(this))
{
    setAutoFillBackground(true);
    setFocusPolicy(Qt::ClickFocus);
    setFixedSize(FixedSize);
    placeLabel(tr("Channel"), QRect(15, 10, 52, 23), this);
    m_channel->setGeometry(75, 10, 70, 23);
    placeLabel(tr("Velocity"), QRect(155, 10, 50, 23), this);
    setUpBox(m_velocity, VelocityValue, QRect(210, 10, 70, 23));
    placeLabel(tr("Pressure"), QRect(290, 10, 55, 23), this);
    for (const char* name : KeyboardPressureNameList) {
        m_pressure->addItem(tr(name));
    }
    m_pressure->setGeometry(348, 10, 89, 23);
    m_pressure->setCurrentIndex(0);
    m_pressure->setAttribute(Qt::WA_MacShowFocusRect, false);
}

unsigned char MidiKeyboardUpperView::getChannel() const
{
    return static_cast<unsigned char>(m_channel->value() - 1);
}

unsigned char MidiKeyboardUpperView::getVelocity() const
{
    return static_cast<unsigned char>(m_velocity->value());
}

unsigned char MidiKeyboardUpperView::getPressureIndex() const
{
    return static_cast<unsigned char>(m_pressure->currentIndex());
}
