#include "MidiEditTextView.h"

#include <QAbstractTextDocumentLayout>
#include <QContextMenuEvent>
#include <QMenu>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBlock>
#include <QTimer>
#include <QToolTip>

#include <memory>

#include "MidiMessageText.h"
#include "OstrelModel.h"
#include "SettledScrollBar.h"

namespace {

const char* const OstrelFont = "Monaco";
constexpr int OstrelFontSize = 12;
constexpr int OstrelFontLargeSize = 18;
constexpr int FollowMargin = 3;
const QColor LinkColor(55, 132, 214);
const char* const CommentExpression = "(//|//([^\\n]+))(\\n|$)";

struct MenuEntry {
    const char* text;  // null: a separator
    const char* shortcut;
    const char* slot;  // on the general page
};

const MenuEntry EditorMenu[] = {
    {nullptr, nullptr, nullptr},
    {"&New", nullptr, "newMenuSelected"},
    {"&Open...", nullptr, "openMenuSelected"},
    {"&Save...", nullptr, "saveMenuSelected"},
    {nullptr, nullptr, nullptr},
    {"&Transmit", "F5", "transmitMenuSelected"},
    {"&Receive", "F6", "receiveMenuSelected"},
    {"&Transmit and Receive", "F7", "transmitAndReceiveMenuSelected"},
    {nullptr, nullptr, nullptr},
    {"&Find...", "Ctrl+F", "searchMenuSelected"},
    {nullptr, nullptr, nullptr},
    {"R&epeat Transmission Settings...", "Ctrl+R", "settingsMenuSelected"},
};

}  // namespace

MidiEditTextView::MidiEditTextView(QWidget* parent, OstrelModel* model, bool readOnly)
    : QPlainTextEdit(parent), m_model(model), m_verticalBar(new SettledScrollBar(Qt::Vertical, this))
{
    setVerticalScrollBar(m_verticalBar);
    setReadOnly(readOnly);
    QFont messageFont(QString::fromLatin1(OstrelFont));
    messageFont.setStyleHint(QFont::Monospace);
    setFont(messageFont);
    if (!readOnly) {
        m_tooltipTimer = new QTimer(this);
        m_tooltipTimer->setSingleShot(true);
        connect(m_tooltipTimer, &QTimer::timeout, this, &MidiEditTextView::timeoutTooltipTimer);
        setMouseTracking(true);
        viewport()->setMouseTracking(true);
    }
    connect(this, &QPlainTextEdit::textChanged, this, &MidiEditTextView::editTextChanged);
    updateFontSize();
    m_model->registerModelAssistant(this);
}

MidiEditTextView::~MidiEditTextView()
{
    m_model->unregisterModelAssistant(this);
}

void MidiEditTextView::updateParameter(unsigned int id)
{
    if (id == ParamMessageFontSize) {
        updateFontSize();
    }
}

void MidiEditTextView::updateFontSize()
{
    QFont messageFont = font();
    messageFont.setPixelSize(m_model->getModelIntValue(ParamMessageFontSize, nullptr) < 1 ? OstrelFontSize
                                                                                         : OstrelFontLargeSize);
    setFont(messageFont);
    insertText(QString());
}

void MidiEditTextView::insertText(const QString& text)
{
    QScrollBar* bar = verticalScrollBar();
    const bool follow = bar && bar->value() >= bar->maximum() - FollowMargin;
    m_verticalBar->hold();  // the bar repaints once, if it moved
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    if (cursor.atStart()) {
        // The first line: without the break before it (and blanks after the
        // end), but with the blanks it starts with (a right-aligned time).
        int start = 0;
        while (start < text.size() && (text.at(start) == QLatin1Char('\n') || text.at(start) == QLatin1Char('\r'))) {
            start++;
        }
        QString first = text.mid(start);
        while (!first.isEmpty() && first.back().isSpace()) {
            first.chop(1);
        }
        cursor.insertText(first);
    } else {
        cursor.insertText(text);
    }
    if (follow && bar) {
        bar->setValue(bar->maximum());
    }
    m_verticalBar->release();
}

unsigned int MidiEditTextView::getTransmissionMessageSize() const
{
    const QTextCursor cursor = textCursor();
    return MidiMessageText::getTransmissionMessageSize(cursor.hasSelection() ? cursor.selectedText()
                                                                             : toPlainText());
}

QString MidiEditTextView::getTooltipString(unsigned int count)
{
    if (count == 1) {
        return tr("1 Byte");
    }
    if (count == UnknownSize) {
        return tr("Unknown number of bytes.");
    }
    return QString::number(count) + tr(" Bytes");
}

QString MidiEditTextView::stripSpaceAndTabSpaceFromBackward(const QString& text) const
{
    int end = text.size();
    while (end > 0 && text.at(end - 1).isSpace()) {
        end--;
    }
    return text.left(end);
}

QString MidiEditTextView::rowText(const QTextBlock& block) const
{
    static const QRegularExpression comment(QString::fromLatin1(CommentExpression));
    QString text = block.text();
    return stripSpaceAndTabSpaceFromBackward(text.remove(comment));
}

bool MidiEditTextView::findTextBlockWithPosition(const QPoint& point, QTextBlock& block)
{
    for (QTextBlock candidate = firstVisibleBlock(); candidate.isValid() && candidate.isVisible();
         candidate = candidate.next()) {
        const QRectF bounds = blockBoundingGeometry(candidate).translated(contentOffset());
        if (bounds.top() > viewport()->height()) {
            break;
        }
        if (!bounds.contains(point)) {
            continue;
        }
        const QTextCursor under = cursorForPosition(point);
        QTextCursor next = under;
        next.movePosition(QTextCursor::NextCharacter);
        if (point.x() > cursorRect(under).right() && point.x() > cursorRect(next).right()) {
            return false;
        }
        const QString row = rowText(candidate);
        if (row.isEmpty() || under.positionInBlock() > row.size()) {
            return false;
        }
        block = candidate;
        return true;
    }
    return false;
}

bool MidiEditTextView::constructLink(const QPoint& point, bool ctrlHeld)
{
    if (isReadOnly()) {
        return false;
    }
    QTextBlock block;
    if (!ctrlHeld || !findTextBlockWithPosition(point, block)) {
        clearLink();
        return false;
    }
    const QString row = rowText(block);
    if (row.isEmpty()) {
        clearLink();
        return false;
    }
    QTextEdit::ExtraSelection link;
    link.cursor = QTextCursor(block);
    link.cursor.movePosition(QTextCursor::Right, QTextCursor::KeepAnchor, row.size());
    link.format.setForeground(LinkColor);
    link.format.setFontUnderline(true);
    setExtraSelections({link});
    viewport()->setCursor(Qt::PointingHandCursor);
    m_linkText = row;
    m_linkActive = true;
    return true;
}

void MidiEditTextView::clearLink()
{
    if (isReadOnly() || !m_linkActive) {
        return;
    }
    setExtraSelections({});
    viewport()->setCursor(Qt::IBeamCursor);
    m_linkActive = false;
    m_linkText.clear();
}

bool MidiEditTextView::transmitRowMessage()
{
    if (!m_linkActive || m_linkText.isEmpty()) {
        return false;
    }
    Q_EMIT transmitRowMessage(m_linkText);
    return true;
}

void MidiEditTextView::clearText()
{
    clear();
    Q_EMIT cleared();
}

void MidiEditTextView::editTextChanged()
{
    if (!isReadOnly() && m_model->getParameterEditFlag() != ParameterEditFlagEdited) {
        m_model->setParameterEditFlag(ParameterEditFlagEdited);
    }
}

void MidiEditTextView::timeoutTooltipTimer()
{
    if (!m_linkActive && !m_mousePressed) {
        QToolTip::showText(QCursor::pos(), getTooltipString(getTransmissionMessageSize()), this);
    }
}

void MidiEditTextView::keyPressEvent(QKeyEvent* event)
{
    if (m_tooltipTimer) {
        m_tooltipTimer->stop();
    }
    switch (event->key()) {
    case Qt::Key_F5:
        Q_EMIT transmitShortcutKeyPressed();
        return;
    case Qt::Key_F6:
        Q_EMIT receiveShorcutKeyPressed();
        return;
    case Qt::Key_F7:
        Q_EMIT transmitAndReceiveShortcutKeyPressed();
        return;
    default:
        break;
    }
    if (isReadOnly() && event->key() == Qt::Key_D && event->modifiers() == Qt::ShiftModifier) {
        clearText();  // Shift+D clears a monitor
        return;
    }
    if (isReadOnly() && event->key() == Qt::Key_Pause) {
        Q_EMIT pauseKeyPressed();
        return;
    }
    if (!isReadOnly()) {
        QToolTip::hideText();
    }
    QPlainTextEdit::keyPressEvent(event);
}

void MidiEditTextView::keyReleaseEvent(QKeyEvent* event)
{
    if (!isReadOnly() && event->key() == Qt::Key_Control) {
        clearLink();
    }
    QPlainTextEdit::keyReleaseEvent(event);
}

void MidiEditTextView::contextMenuEvent(QContextMenuEvent* event)
{
    if (m_tooltipTimer) {
        m_tooltipTimer->stop();
    }
    m_mousePressed = false;
    if (!isReadOnly() && m_model->getModelIntValue(ParamSysExTransmitState, nullptr) == 1) {
        return;
    }
    std::unique_ptr<QMenu> menu = createContextMenu();
    menu->exec(event->globalPos());
}

std::unique_ptr<QMenu> MidiEditTextView::createContextMenu()
{
    std::unique_ptr<QMenu> menu(createStandardContextMenu());
    if (isReadOnly()) {
        QAction* clearAction = menu->addAction(tr("&Clear"), this, &MidiEditTextView::clearText);
        clearAction->setShortcut(QKeySequence(tr("Shift+D")));
    } else {
        for (const MenuEntry& entry : EditorMenu) {
            if (!entry.text) {
                menu->addSeparator();
                continue;
            }
            QObject* page = parent();
            const char* slot = entry.slot;
            QAction* action = menu->addAction(tr(entry.text), this, [page, slot] {
                if (page) {
                    QMetaObject::invokeMethod(page, slot);
                }
            });
            if (entry.shortcut) {
                action->setShortcut(QKeySequence(tr(entry.shortcut)));
            }
        }
    }
    Q_EMIT contextMenuCreated(menu.get());
    return menu;
}

bool MidiEditTextView::pointInSelection(const QPoint& point) const
{
    const QTextCursor cursor = textCursor();
    if (!cursor.hasSelection()) {
        return false;
    }
    const QTextCursor under = cursorForPosition(point);
    const int position = under.position();
    if (position < cursor.selectionStart() || position > cursor.selectionEnd()) {
        return false;
    }
    if (position == cursor.selectionStart() && point.x() < cursorRect(under).left()) {
        return false;
    }
    if (position == cursor.selectionEnd()) {
        QTextCursor next = under;
        next.movePosition(QTextCursor::NextCharacter);
        return point.x() <= cursorRect(next).right();
    }
    return true;
}

void MidiEditTextView::mouseMoveEvent(QMouseEvent* event)
{
    if (!isReadOnly()) {
        m_tooltipTimer->stop();
        const bool ctrl = event->modifiers() & Qt::ControlModifier;
        m_linkActive = constructLink(event->pos(), ctrl);
        QTextBlock block;
        if (!ctrl && !m_linkActive && !m_mousePressed && pointInSelection(event->pos()) &&
            findTextBlockWithPosition(event->pos(), block)) {
            m_tooltipTimer->start(TooltipDelay);
        } else {
            QToolTip::hideText();
        }
    }
    QPlainTextEdit::mouseMoveEvent(event);
}

void MidiEditTextView::mousePressEvent(QMouseEvent* event)
{
    if (!isReadOnly()) {
        m_tooltipTimer->stop();
        m_mousePressed = true;
        transmitRowMessage();
    }
    QPlainTextEdit::mousePressEvent(event);
}

void MidiEditTextView::mouseReleaseEvent(QMouseEvent* event)
{
    m_mousePressed = false;
    QPlainTextEdit::mouseReleaseEvent(event);
}

void MidiEditTextView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (!isReadOnly() && transmitRowMessage()) {
        return;
    }
    QPlainTextEdit::mouseDoubleClickEvent(event);
}

void MidiEditTextView::wheelEvent(QWheelEvent* event)
{
    QPlainTextEdit::wheelEvent(event);
    clearLink();
}

void MidiEditTextView::leaveEvent(QEvent* event)
{
    if (m_tooltipTimer) {
        m_tooltipTimer->stop();
    }
    m_mousePressed = false;
    clearLink();
    QPlainTextEdit::leaveEvent(event);
}
