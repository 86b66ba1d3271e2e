#include "ReferenceWidget.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

#include "LineEdit.h"
#include "PushButton.h"

namespace {

const QColor InactiveHighlight(0, 120, 215);

}  // namespace

ReferenceWidget::ReferenceWidget(QWidget* parent) : QWidget(parent), m_searchField(new LineEdit(this))
{
    setAutoFillBackground(true);
    m_searchField->setFocusPolicy(Qt::StrongFocus);
    m_searchField->setAttribute(Qt::WA_MacShowFocusRect, false);
    auto* holder = new QWidget(this);
    holder->setFixedSize(64, 32);
    m_prevButton = PushButton::createPictureButton(":/images/prev.png", tr("Previous"), holder);
    m_prevButton->move(0, -3);
    m_nextButton = PushButton::createPictureButton(":/images/next.png", tr("Next"), holder);
    m_nextButton->move(32, -3);
    PushButton* close = PushButton::createPictureButton(":/images/close.png", tr("Close"), this);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(7, 7, 7, 7);
    layout->addWidget(m_searchField);
    layout->addWidget(holder);
    layout->addWidget(close);
    connect(m_prevButton, &QPushButton::pressed, this, &ReferenceWidget::prevButtonPressed);
    connect(m_nextButton, &QPushButton::pressed, this, &ReferenceWidget::nextButtonPressed);
    connect(close, &QPushButton::pressed, this, &ReferenceWidget::closeButtonPressed);
    m_searchField->installEventFilter(this);
}

void ReferenceWidget::setTextEditWidget(QPlainTextEdit* edit)
{
    m_edit = edit;
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight, InactiveHighlight);
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText, Qt::white);
    edit->setPalette(palette);
    edit->installEventFilter(this);
}

void ReferenceWidget::moveBeginningOfCurrentBlockToBackOfPreviousBlock(QTextCursor& cursor, bool backward)
{
    if (!backward) {
        return;
    }
    while (cursor.atBlockStart() && !cursor.atStart()) {
        cursor.movePosition(QTextCursor::PreviousCharacter);
    }
}

bool ReferenceWidget::search(const QString& text, bool backward)
{
    if (text.isEmpty() || !m_edit) {
        return false;
    }
    QTextDocument* document = m_edit->document();
    QTextCursor start = m_edit->textCursor();
    if (start.hasSelection()) {
        start.setPosition(backward ? start.anchor() : start.position());
    }
    moveBeginningOfCurrentBlockToBackOfPreviousBlock(start, backward);
    const QTextDocument::FindFlags flags = backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    QTextCursor found = document->find(text, start, flags);
    if (found.isNull()) {
        QTextCursor wrapped(document);
        wrapped.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
        moveBeginningOfCurrentBlockToBackOfPreviousBlock(wrapped, backward);
        found = document->find(text, wrapped, flags);
    }
    if (found.isNull()) {
        return false;
    }
    m_edit->setTextCursor(found);
    return true;
}

void ReferenceWidget::nextButtonPressed()
{
    search(m_searchField->text(), false);
}

void ReferenceWidget::prevButtonPressed()
{
    search(m_searchField->text(), true);
}

void ReferenceWidget::closeButtonPressed()
{
    if (m_edit) {
        m_edit->setFocus();
    }
    hide();
}

void ReferenceWidget::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_searchField->setFocus();
    if (!m_searchField->text().isEmpty()) {
        m_searchField->selectAll();
    }
}

bool ReferenceWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || (watched != m_edit && watched != m_searchField)) {
        return QWidget::eventFilter(watched, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool control = key->modifiers() & Qt::ControlModifier;
    const bool shift = key->modifiers() & Qt::ShiftModifier;
    if (control && key->key() == Qt::Key_F) {
        show();
    } else if (key->key() == Qt::Key_Escape) {
        closeButtonPressed();
    } else if (control && key->key() == Qt::Key_G) {
        if (!isVisible()) {
            show();
        }
        search(m_searchField->text(), shift);
    } else if (watched == m_searchField && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
        search(m_searchField->text(), false);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
