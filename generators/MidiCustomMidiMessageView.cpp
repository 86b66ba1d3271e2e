#include "MidiCustomMidiMessageView.h"

#include "MidiSender.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QInputMethodEvent>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QTextCharFormat>
#include <QVBoxLayout>

#include <memory>

#include "ComboBox.h"
#include "Dial.h"
#include "LineEdit.h"
#include "MidiEditTransmittionThread.h"
#include "OstrelModel.h"
#include "PushButton.h"
#include "SpinBox.h"

namespace {

const char* const RegExpOfUunnecessaryCharacterForCustomMessage = " |,";
const char* const MessageCharacters = "^[0-9A-Fa-f,\\ ]+$";
constexpr int RowHeight = 23;

struct ModeRange {
    int minimumTop;  // the minimum box runs from 0 to here, value 0
    int maximumTop;  // the maximum box runs from 1 to here, and shows it
};
constexpr ModeRange ModeRanges[] = {{126, 127}, {16382, 16383}, {254, 255}, {65534, 65535}};
constexpr int ExtraBytes[] = {0, 1, 1, 3};
constexpr unsigned int ColoringSizes[] = {2, 4, 4, 8};

bool isSeparator(QChar character)
{
    return character == QLatin1Char(' ') || character == QLatin1Char(',');
}

QString hexByte(int value)
{
    return QStringLiteral("%1").arg(value & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
}

}  // namespace

const MidiCustomMidiMessageView::ValueRecord MidiCustomMidiMessageView::CustomMIDIMessageKnobTargetByte{
    0, 191, 2, "Knob Target Byte", nullptr};
const MidiCustomMidiMessageView::ValueRecord MidiCustomMidiMessageView::CustomMIDIMessageByteCountValue{
    0, 4, 0, "Byte Count", nullptr};
const MidiCustomMidiMessageView::ValueRecord MidiCustomMidiMessageView::CustomMIDIMessageValueFor1Byte{
    0, 127, 0, "Value", nullptr};
const char* const MidiCustomMidiMessageView::CustomMIDIMessageByteCountList[] = {"1 Byte", "2 Bytes",
                                                                                "2 Nibbles", "4 Nibbles"};
const int MidiCustomMidiMessageView::CustomMIDIMessageByteCountListCount = 4;
const QColor MidiCustomMidiMessageView::StartGradientColorOfKnobMeter(84, 0, 0);
const QColor MidiCustomMidiMessageView::EndGradientColorOfKnobMeter(255, 245, 245);

MidiCustomMidiMessageView::MidiCustomMidiMessageView(QWidget* parent, OstrelModel* model, MidiSender* sender)
    : QFrame(parent),
      WindowRestorationInfo(CustomMidiMessageId),
      m_model(model),
      m_sender(sender),
      m_name(new LineEdit),
      m_knob(new Dial),
      m_message(new LineEdit),
      m_targetByte(new SpinBox),
      m_minimum(new SpinBox),
      m_maximum(new SpinBox),
      m_byteCount(new ComboBox),
      m_transmit(new PushButton)
{
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(5);
    m_name->setMaxLength(NameLengthLimit);
    layout->addWidget(labelled(tr("Name    "), m_name));
    m_knob->setRange(CustomMIDIMessageValueFor1Byte.minimum, CustomMIDIMessageValueFor1Byte.maximum);
    m_knob->setValue(CustomMIDIMessageValueFor1Byte.defaultValue);
    m_model->registerDial(m_knob);
    layout->addWidget(m_knob, 1);
    auto* range = new QWidget;
    auto* rangeLayout = new QHBoxLayout(range);
    rangeLayout->setContentsMargins(0, 0, 0, 0);
    rangeLayout->addWidget(labelled(tr("Minimum"), m_minimum));
    rangeLayout->addWidget(labelled(tr("Maximum"), m_maximum));
    layout->addWidget(range);
    m_message->setMaxLength(MessageLengthLimit);
    m_message->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QString::fromLatin1(MessageCharacters)), m_message));
    m_message->installEventFilter(this);
    layout->addWidget(labelled(tr("Message"), m_message));
    m_targetByte->setRange(CustomMIDIMessageKnobTargetByte.minimum, CustomMIDIMessageKnobTargetByte.maximum);
    m_targetByte->setLocalDefault(CustomMIDIMessageKnobTargetByte.defaultValue);
    m_targetByte->setValue(CustomMIDIMessageKnobTargetByte.defaultValue);
    layout->addWidget(labelled(tr(CustomMIDIMessageKnobTargetByte.label), m_targetByte));
    for (int mode = 0; mode < CustomMIDIMessageByteCountListCount; mode++) {
        m_byteCount->addItem(tr(CustomMIDIMessageByteCountList[mode]));
    }
    layout->addWidget(labelled(tr(CustomMIDIMessageByteCountValue.label), m_byteCount));
    m_transmit->setText(tr("Transmit"));
    layout->addWidget(m_transmit);
    for (SpinBox* box : {m_targetByte, m_minimum, m_maximum}) {
        box->setAlignment(Qt::AlignRight);
    }

    connect(m_name, &QLineEdit::textChanged, this, &MidiCustomMidiMessageView::nameChanged);
    connect(m_knob, &QDial::valueChanged, this, &MidiCustomMidiMessageView::valueChanged);
    connect(m_minimum, QOverload<int>::of(&QSpinBox::valueChanged), this,
            &MidiCustomMidiMessageView::minimumValueChanged);
    connect(m_maximum, QOverload<int>::of(&QSpinBox::valueChanged), this,
            &MidiCustomMidiMessageView::maximumValueChanged);
    connect(m_message, &QLineEdit::textChanged, this, &MidiCustomMidiMessageView::messageChanged);
    connect(m_message, &QLineEdit::textChanged, this, &MidiCustomMidiMessageView::messageTextChanged);
    connect(m_targetByte, QOverload<int>::of(&QSpinBox::valueChanged), this,
            &MidiCustomMidiMessageView::knobTargetByteChanged);
    connect(m_byteCount, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &MidiCustomMidiMessageView::byteCountChanged);
    connect(m_transmit, &QPushButton::pressed, this, &MidiCustomMidiMessageView::transmitButtonPressed);

    updateParameterRangeByByteCount(static_cast<unsigned int>(m_byteCount->currentIndex()));
    updateKnobColor();
    markModified();

    m_thread = new MidiEditTransmittionThread(model, sender, this);
    m_thread->setBulkIntervalIgnored(true);
    m_thread->start();
    m_colorOn = m_model->getModelIntValue(ParamMessageColor, nullptr) == 1;
    m_model->registerModelAssistant(this);
}

MidiCustomMidiMessageView::~MidiCustomMidiMessageView()
{
    m_model->unregisterModelAssistant(this);
    m_model->unregisterDial(m_knob);
    delete m_thread;  // ends its thread before the window goes
}

QWidget* MidiCustomMidiMessageView::labelled(const QString& label, QWidget* field)
{
    auto* row = new QWidget;
    auto* rowLayout = new QHBoxLayout(row);
    rowLayout->setContentsMargins(0, 0, 0, 0);
    rowLayout->addWidget(new QLabel(label));
    field->setFixedHeight(RowHeight);
    rowLayout->addWidget(field, 1);
    return row;
}

void MidiCustomMidiMessageView::markModified()
{
    m_model->setParameterEditFlag(ParameterEditFlagEdited);
}

QString MidiCustomMidiMessageView::removeSeparators(const QString& text)
{
    static const QRegularExpression separators(QString::fromLatin1(RegExpOfUunnecessaryCharacterForCustomMessage));
    return QString(text).remove(separators);
}

int MidiCustomMidiMessageView::extraBytes(int mode)
{
    return mode >= 0 && mode < 4 ? ExtraBytes[mode] : 0;
}

QString MidiCustomMidiMessageView::applyKnobValue(const QString& digits, int targetByte, int mode, int value)
{
    const int bytes = digits.size() / 2;
    if (targetByte < 1 || mode < 0 || mode > 3 || bytes < targetByte + extraBytes(mode)) {
        return digits;
    }
    QList<int> written;
    switch (mode) {
    case OneByte:
        written = {value & 0xFF};
        break;
    case TwoBytes:
        written = value > 16383 ? QList<int>{0, 0} : QList<int>{(value >> 7) & 0x7F, value & 0x7F};
        break;
    case TwoNibbles:
        written = {(value >> 4) & 0x0F, value & 0x0F};
        break;
    default:
        written = {(value >> 12) & 0x0F, (value >> 8) & 0x0F, (value >> 4) & 0x0F, value & 0x0F};
        break;
    }
    QString result = digits;
    for (int i = 0; i < written.size(); i++) {
        result.replace(2 * (targetByte + i) - 2, 2, hexByte(written.at(i)));
    }
    return result;
}

bool MidiCustomMidiMessageView::shouldChangeByteString(const QString& digits) const
{
    const int target = m_targetByte->value();
    return target >= 1 && !digits.isEmpty() &&
           digits.size() / 2 >= target + extraBytes(m_byteCount->currentIndex());
}

bool MidiCustomMidiMessageView::isTransmittableByKnob() const
{
    return shouldChangeByteString(removeSeparators(m_message->text()));
}

void MidiCustomMidiMessageView::transmitMessage()
{
    if (m_message->text().isEmpty()) {
        return;
    }
    const QString digits = applyKnobValue(removeSeparators(m_message->text()), m_targetByte->value(),
                                          m_byteCount->currentIndex(), m_knob->value());
    if (m_guard == 0) {
        m_lastTransmitted = digits;
        m_thread->setTransmittionMessage(digits);
    }
}

void MidiCustomMidiMessageView::transmitButtonPressed()
{
    transmitMessage();
}

void MidiCustomMidiMessageView::valueChanged()
{
    if (m_knobTransmits) {
        transmitMessage();
    }
    markModified();
}

void MidiCustomMidiMessageView::nameChanged()
{
    markModified();
}

void MidiCustomMidiMessageView::messageChanged()
{
    updateKnobColor();
    markModified();
}

void MidiCustomMidiMessageView::messageTextChanged(const QString& text)
{
    attachColorString(text);
}

void MidiCustomMidiMessageView::knobTargetByteChanged()
{
    updateKnobColor();
    attachColorString(m_message->text());
    markModified();
}

void MidiCustomMidiMessageView::byteCountChanged(int mode)
{
    markModified();
    updateParameterRangeByByteCount(static_cast<unsigned int>(mode));
    updateKnobColor();
    attachColorString(m_message->text());
}

void MidiCustomMidiMessageView::minimumValueChanged(int value)
{
    markModified();
    m_guard++;
    m_maximum->setMinimum(value + 1);
    m_knob->setMinimum(value);
    m_guard--;
}

void MidiCustomMidiMessageView::maximumValueChanged(int value)
{
    markModified();
    m_guard++;
    m_minimum->setMaximum(value - 1);
    m_knob->setMaximum(value);
    m_guard--;
}

void MidiCustomMidiMessageView::updateParameterRangeByByteCount(unsigned int mode)
{
    m_guard++;
    if (mode < 4) {
        const ModeRange& range = ModeRanges[mode];
        // Widest first, so that neither box clamps the other on the way.
        m_minimum->setRange(0, range.minimumTop);
        m_maximum->setRange(1, range.maximumTop);
        m_minimum->setValue(0);
        m_maximum->setValue(range.maximumTop);
    }
    m_knob->setRange(m_minimum->value(), m_maximum->value());
    m_guard--;
}

void MidiCustomMidiMessageView::updateKnobColor()
{
    m_knobTransmits = isTransmittableByKnob();
    if (m_knobTransmits) {
        m_knob->setTrackColors(StartGradientColorOfKnobMeter, EndGradientColorOfKnobMeter);
    } else {
        m_knob->setTrackColors(Qt::gray, Qt::white);
    }
    m_knob->update();
}

bool MidiCustomMidiMessageView::isHexString(const char& character) const
{
    return (character >= '0' && character <= '9') || (character >= 'A' && character <= 'F') ||
           (character >= 'a' && character <= 'f');
}

unsigned int MidiCustomMidiMessageView::getRequiredColoringSize(unsigned char mode) const
{
    return mode < 4 ? ColoringSizes[mode] : 0;
}

bool MidiCustomMidiMessageView::getColoringIndexList(const QString& text, QList<unsigned int>& list) const
{
    list.clear();
    const int target = m_targetByte->value();
    const unsigned int required =
        getRequiredColoringSize(static_cast<unsigned char>(m_byteCount->currentIndex()));
    if (target < 1 || text.isEmpty() || required == 0) {
        return false;
    }
    int digits = 0;
    for (int i = 0; i < text.size(); i++) {
        const char character = text.at(i).toLatin1();
        if (!isHexString(character)) {
            continue;
        }
        if (digits >= 2 * target - 2) {
            list.append(static_cast<unsigned int>(i));
            if (static_cast<unsigned int>(list.size()) == required) {
                return true;
            }
        }
        digits++;
    }
    return false;
}

void MidiCustomMidiMessageView::attachColorString(const QString& text)
{
    QList<unsigned int> indices;
    QList<QInputMethodEvent::Attribute> attributes;
    if (m_colorOn && getColoringIndexList(text, indices)) {
        QTextCharFormat red;
        red.setForeground(Qt::red);
        for (unsigned int index : indices) {
            // Formats of the line edit count from its cursor.
            attributes.append(QInputMethodEvent::Attribute(QInputMethodEvent::TextFormat,
                                                           static_cast<int>(index) - m_message->cursorPosition(),
                                                           1, red));
        }
    }
    QInputMethodEvent event(QString(), attributes);
    QCoreApplication::sendEvent(m_message, &event);
}

int MidiCustomMidiMessageView::byteUnderCursor() const
{
    const QString text = m_message->text();
    int position = m_message->cursorPosition();
    if (position > 0 && position < text.size() && isSeparator(text.at(position - 1)) &&
        !isSeparator(text.at(position))) {
        position++;  // standing just before a byte: that byte
    }
    const int digits = removeSeparators(text.left(position)).size();
    return (digits + 1) / 2;
}

void MidiCustomMidiMessageView::knobTargetByteMenuSelected()
{
    m_targetByte->setValue(std::max(byteUnderCursor(), 1));
}

void MidiCustomMidiMessageView::showMessageMenu(const QPoint& globalPosition)
{
    const QString digits = removeSeparators(m_message->text());
    const int target = byteUnderCursor();
    const QString byte = digits.isEmpty() ? QStringLiteral("--") : digits.mid(2 * std::max(target - 1, 0), 2);
    std::unique_ptr<QMenu> menu(m_message->createStandardContextMenu());
    menu->addSeparator();
    QAction* action = menu->addAction(tr("Set byte position of '%1' to Knob Target Byte").arg(byte), this,
                                      &MidiCustomMidiMessageView::knobTargetByteMenuSelected);
    action->setEnabled(!digits.isEmpty() && byte.size() == 2);
    menu->exec(globalPosition);
}

bool MidiCustomMidiMessageView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_message && event->type() == QEvent::ContextMenu) {
        showMessageMenu(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

void MidiCustomMidiMessageView::updateParameter(unsigned int id)
{
    if (id == ParamMessageColor) {
        m_colorOn = m_model->getModelIntValue(ParamMessageColor, nullptr) != 0;
        attachColorString(m_message->text());
    }
}

void MidiCustomMidiMessageView::closeEvent(QCloseEvent* event)
{
    markModified();
    m_thread->stopTransmittion();
    QFrame::closeEvent(event);
}

bool MidiCustomMidiMessageView::getDataStream(QDataStream& stream)
{
    setStringParameterToStream(stream, 0, m_name->text());
    setIntParameterToStream(stream, 1, m_knob->value());
    setStringParameterToStream(stream, 2, m_message->text());
    setIntParameterToStream(stream, 3, m_targetByte->value());
    setIntParameterToStream(stream, 6, m_byteCount->currentIndex());
    setIntParameterToStream(stream, 4, m_minimum->value());
    setIntParameterToStream(stream, 5, m_maximum->value());
    return true;
}

bool MidiCustomMidiMessageView::setDataStream(QDataStream& stream)
{
    m_guard++;
    QString text;
    int knobValue = m_knob->value();
    int value = 0;
    if (getStringParameterFromStream(stream, 0, text)) {
        m_name->setText(text.left(NameLengthLimit));
        m_name->setCursorPosition(0);
    }
    getIntParameterFromStream(stream, 1, knobValue);
    if (getStringParameterFromStream(stream, 2, text)) {
        m_message->setText(text.left(MessageLengthLimit));
        m_message->setCursorPosition(0);
    }
    if (getIntParameterFromStream(stream, 3, value)) {
        m_targetByte->setValue(value);
    }
    if (getIntParameterFromStream(stream, 6, value) && value >= 0 && value < CustomMIDIMessageByteCountListCount) {
        m_byteCount->setCurrentIndex(value);
    }
    if (getIntParameterFromStream(stream, 4, value)) {
        m_minimum->setValue(value);
    }
    if (getIntParameterFromStream(stream, 5, value)) {
        m_maximum->setValue(value);
    }
    m_knob->setRange(m_minimum->value(), m_maximum->value());
    m_knob->setValue(knobValue);
    m_guard--;
    return true;
}
