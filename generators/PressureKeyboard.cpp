#include "PressureKeyboard.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>

namespace {

constexpr int ValueBoxHeight = 15;
constexpr int ValueBoxBottomMargin = 16;
constexpr int BlackKeyBoxShift = 6;
constexpr double FineStepRatio = 0.0078125;  // 1/128 of the key height per pixel, halved below
const QColor PressureColor(Qt::blue);

}  // namespace

PressureKeyboard::PressureKeyboard(QWidget* parent, const QSizeF& whiteKeySize) : Keyboard(parent, whiteKeySize) {}

void PressureKeyboard::setKeyPressureCallbackFunc(KeyPressureCallback callback, void* context)
{
    m_keyPressureCallback = callback;
    m_keyPressureContext = context;
}

void PressureKeyboard::setChannelPressureCallbackFunc(ChannelPressureCallback callback, void* context)
{
    m_channelPressureCallback = callback;
    m_channelPressureContext = context;
}

int PressureKeyboard::checkValueRange(int value)
{
    return std::clamp(value, 0, 127);
}

int PressureKeyboard::convertYPositionToValue(int y) const
{
    const int height = getWhiteKeyHeight();
    if (height <= 0) {
        return 0;
    }
    return checkValueRange(127 - qRound(static_cast<double>(height - y) * 128.0 / height));
}

bool PressureKeyboard::findPressureValueDisplayFromPosition(const QPoint& point,
                                                             PressureValueDisplay& display) const
{
    bool white = false;
    const unsigned char note = noteNumber(point, white);
    if (note == NoKey) {
        return false;
    }
    display = {note, white};
    return true;
}

QRect PressureKeyboard::getRectForPressureValueDrawing(const QPoint& point) const
{
    QRect key;
    getKeyboardRect(m_pressedNote, key);
    const int x = key.left() - (m_pressedNoteIsWhite ? 0 : BlackKeyBoxShift);
    const int y = point.y() > height() / 2 ? 0 : height() - ValueBoxBottomMargin;
    return QRect(x, y, static_cast<int>(whiteKeySize().width()), ValueBoxHeight);
}

int PressureKeyboard::getYPositionForPressureValueDrawing(int value) const
{
    const int keyHeight = getWhiteKeyHeight();
    return std::clamp(qRound(static_cast<double>(value) * keyHeight / 127.0), 0, keyHeight);
}

bool PressureKeyboard::isPressureShown() const
{
    return m_pressed && pressureMode != PressureOff && !isAllNotOff() && !(isLatched() && !m_pressureDragging);
}

void PressureKeyboard::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        PressureValueDisplay display{};
        if (findPressureValueDisplayFromPosition(event->pos(), display)) {
            m_pressedNote = display.note;
            m_pressedNoteIsWhite = display.white;
            m_pressed = true;
            m_lastPosition = event->pos();
            m_lastPressureValue = convertYPositionToValue(event->pos().y());
        }
    }
    Keyboard::mousePressEvent(event);
}

int PressureKeyboard::pressureValueAt(const QPoint& point, bool shift)
{
    if (!shift) {
        m_fineModeActive = false;
        return convertYPositionToValue(point.y());
    }
    if (!m_fineModeActive) {
        m_fineModeActive = true;
        m_fineAnchorY = point.y();
    }
    const double step = getWhiteKeyHeight() * FineStepRatio * 0.5;
    return checkValueRange(convertYPositionToValue(m_fineAnchorY) - qRound((m_fineAnchorY - point.y()) * step));
}

void PressureKeyboard::sendPressure(int value)
{
    if (pressureMode == KeyPressure) {
        for (int note = 0; note < NoteCount; note++) {
            if (isNoteOn(static_cast<unsigned char>(note)) && m_keyPressureCallback) {
                m_keyPressureCallback(m_keyPressureContext, static_cast<unsigned char>(note),
                                      static_cast<unsigned char>(value));
            }
        }
    } else if (pressureMode == ChannelPressure && !isAllNotOff() && m_channelPressureCallback) {
        m_channelPressureCallback(m_channelPressureContext, static_cast<unsigned char>(value));
    }
}

void PressureKeyboard::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_pressed) {
        return;
    }
    m_lastPosition = event->pos();
    const bool latch = isControlOnly(event->modifiers());
    setLatched(latch);
    const bool notesFollow = pressureMode == PressureOff || (latch && !m_pressureDragging);
    if (notesFollow) {
        if (!m_pressureDragging) {
            PressureValueDisplay display{};
            if (findPressureValueDisplayFromPosition(event->pos(), display)) {
                m_pressedNote = display.note;
                m_pressedNoteIsWhite = display.white;
            }
            Keyboard::mouseMoveEvent(event);
        }
        return;
    }
    m_pressureDragging = true;
    const int value = pressureValueAt(event->pos(), event->modifiers() & Qt::ShiftModifier);
    if (value != m_lastPressureValue) {
        sendPressure(value);
        m_lastPressureValue = value;
    }
    update();
}

void PressureKeyboard::mouseReleaseEvent(QMouseEvent* event)
{
    Keyboard::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton) {
        m_pressed = false;
        m_lastPressureValue = NoPressure;
        m_pressureDragging = false;
        m_fineModeActive = false;
        update();
    }
}

void PressureKeyboard::wheelEvent(QWheelEvent* event)
{
    if (m_pressed) {
        event->accept();
    } else {
        event->ignore();  // the surrounding scroll area scrolls
    }
}

void PressureKeyboard::paintEvent(QPaintEvent* event)
{
    Keyboard::paintEvent(event);
    if (!isPressureShown()) {
        return;
    }
    QPainter painter(this);
    const QRect box = getRectForPressureValueDrawing(m_lastPosition);
    painter.fillRect(box, Qt::white);
    painter.setPen(PressureColor);
    painter.drawRect(box);
    painter.drawText(box.translated(1, 0), Qt::AlignCenter, QString::number(m_lastPressureValue));
    const int y = getYPositionForPressureValueDrawing(m_lastPressureValue);
    painter.drawLine(0, y, width(), y);
}
