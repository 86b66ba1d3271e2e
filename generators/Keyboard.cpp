#include "Keyboard.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr int WhiteKeyNotes[7] = {0, 2, 4, 5, 7, 9, 11};
constexpr int BlackKeyNotes[7] = {1, 3, -1, 6, 8, 10, -1};  // none after E and B
constexpr double BlackKeyWidthRatio = 0.47826087;
constexpr double BlackKeyHeightRatio = 0.6333333;
constexpr double OctaveLabelTop = 0.75;
constexpr int OctaveLabelHeight = 20;
constexpr int LowestOctaveNumber = -2;  // with middle C offset 0, note 60 is C3

}  // namespace

Keyboard::Keyboard(QWidget* parent, const QSizeF& whiteKeySize)
    : QWidget(parent),
      m_whiteKeySize(whiteKeySize.width() == 0 && whiteKeySize.height() == 0 ? DefaultWhiteKeySize
                                                                             : whiteKeySize)
{
    setAutoFillBackground(true);
    buildKeys();
}

void Keyboard::buildKeys()
{
    const double w = m_whiteKeySize.width();
    const double h = m_whiteKeySize.height();
    for (int i = 0; i < WhiteKeyCount; i++) {
        const auto note = static_cast<unsigned char>(12 * (i / 7) + WhiteKeyNotes[i % 7]);
        m_whiteKeys.append({note, QRect(static_cast<int>(i * w), 0, static_cast<int>(w), static_cast<int>(h))});
    }
    const double blackWidth = w * BlackKeyWidthRatio;
    for (int i = 0; i < WhiteKeyCount - 1; i++) {
        if (BlackKeyNotes[i % 7] < 0) {
            continue;
        }
        const auto note = static_cast<unsigned char>(12 * (i / 7) + BlackKeyNotes[i % 7]);
        m_blackKeys.append({note, QRect(static_cast<int>((i + 1) * w - blackWidth * 0.5), 0,
                                        static_cast<int>(blackWidth), static_cast<int>(h * BlackKeyHeightRatio))});
    }
}

QSize Keyboard::sizeHint() const
{
    return QSize(m_whiteKeys.last().rect.right() + 1, getWhiteKeyHeight());
}

void Keyboard::setNoteCallbackFunc(NoteCallback callback, void* context)
{
    m_callback = callback;
    m_callbackContext = context;
}

void Keyboard::setNote(unsigned char note, bool on)
{
    if (note >= NoteCount) {
        return;
    }
    if (m_callback) {
        m_callback(m_callbackContext, note, on);
    }
    m_noteOn[note] = on;
    update();
}

void Keyboard::noteOn(unsigned char note)
{
    setNote(note, true);
}

void Keyboard::noteOff(unsigned char note)
{
    setNote(note, false);
}

void Keyboard::noteOnToOff()
{
    for (int note = 0; note < NoteCount; note++) {
        if (m_noteOn[note]) {
            setNote(static_cast<unsigned char>(note), false);
        }
    }
}

bool Keyboard::isAllNotOff() const
{
    for (bool on : m_noteOn) {
        if (on) {
            return false;
        }
    }
    return true;
}

void Keyboard::setMiddleCOffset(int offset)
{
    m_middleCOffset = offset;
    update();
}

void Keyboard::setOnColor(const QColor& colour)
{
    m_onColor = colour;
    update();
}

unsigned char Keyboard::noteNumber(const QPoint& point, bool& white) const
{
    for (const KeyRecord& key : m_blackKeys) {
        if (key.rect.contains(point)) {
            white = false;
            return key.note;
        }
    }
    for (const KeyRecord& key : m_whiteKeys) {
        if (key.rect.contains(point)) {
            white = true;
            return key.note;
        }
    }
    return NoKey;
}

unsigned char Keyboard::noteNumber(const QPoint& point) const
{
    bool white = false;
    return noteNumber(point, white);
}

int Keyboard::getWhiteKeyHeight() const
{
    return static_cast<int>(m_whiteKeySize.height());
}

int Keyboard::getBlackKeyHeight() const
{
    return qRound(m_whiteKeySize.height() * BlackKeyHeightRatio);
}

bool Keyboard::getKeyboardRect(unsigned char note, QRect& rect) const
{
    for (const QVector<KeyRecord>* keys : {&m_whiteKeys, &m_blackKeys}) {
        for (const KeyRecord& key : *keys) {
            if (key.note == note) {
                rect = key.rect;
                return true;
            }
        }
    }
    rect = QRect();
    return false;
}

QString Keyboard::octaveLabel(unsigned char note) const
{
    return QStringLiteral("C%1").arg(note / 12 + LowestOctaveNumber + m_middleCOffset);
}

bool Keyboard::isControlOnly(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & ~Qt::KeypadModifier) == Qt::ControlModifier;
}

void Keyboard::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const unsigned char note = noteNumber(event->pos());
    if (note == NoKey) {
        return;
    }
    m_latch = isControlOnly(event->modifiers());
    if (!m_latch) {
        if (!isAllNotOff()) {
            noteOnToOff();  // a plain press first silences what sounds
        } else {
            noteOn(note);
        }
    } else if (m_noteOn[note]) {
        m_dragMode = DragTurnsOff;
        noteOff(note);
    } else {
        m_dragMode = DragTurnsOn;
        noteOn(note);
    }
    update();
}

void Keyboard::mouseMoveEvent(QMouseEvent* event)
{
    m_latch = isControlOnly(event->modifiers());
    const unsigned char note = noteNumber(event->pos());
    if (note == NoKey) {
        return;
    }
    if (!m_latch && !isAllNotOff()) {
        if (!m_noteOn[note]) {
            noteOnToOff();  // the next move over this key sounds it
        }
        return;
    }
    if (m_dragMode == DragTurnsOff) {
        if (m_noteOn[note]) {
            noteOff(note);
        }
    } else if (!m_noteOn[note]) {
        noteOn(note);
    }
}

void Keyboard::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        return;
    }
    if (!m_latch) {
        noteOnToOff();
    }
    m_dragMode = NoDrag;
}

void Keyboard::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(Qt::black);
    for (int i = 0; i < m_whiteKeys.size(); i++) {
        const KeyRecord& key = m_whiteKeys.at(i);
        painter.fillRect(key.rect, m_noteOn[key.note] ? m_onColor : QColor(Qt::white));
        painter.drawRect(key.rect);
        if (i % 7 == 0) {
            const QRect band(key.rect.left(), static_cast<int>(m_whiteKeySize.height() * OctaveLabelTop),
                             key.rect.width(), OctaveLabelHeight);
            painter.drawText(band, Qt::AlignCenter, octaveLabel(key.note));
        }
    }
    for (const KeyRecord& key : m_blackKeys) {
        painter.fillRect(key.rect, m_noteOn[key.note] ? m_onColor : QColor(Qt::black));
        painter.drawRect(key.rect);
    }
}
