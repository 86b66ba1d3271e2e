#include "MidiEditMessagePage.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "DisabledVeil.h"

MidiEditMessagePage::MidiEditMessagePage(const QString& message, const QString& buttonText,
                                         QWidget* parent)
    : QWidget(parent),
      m_layout(new QVBoxLayout(this)),
      m_label(new QLabel(message, this)),
      m_button(new QPushButton(buttonText, this))
{
    m_label->setAlignment(Qt::AlignCenter);
    // The page's width, wrapped: a message naming a line and sizes is
    // longer than a narrow editor.
    m_label->setWordWrap(true);
    m_label->setContentsMargins(8, 0, 8, 0);
    DisabledVeil::setMessageColor(m_label);
    m_layout->setSpacing(0);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->addStretch();
    m_layout->addWidget(m_label);
    m_layout->addWidget(m_button, 0, Qt::AlignCenter);
    m_layout->addStretch();
    connect(m_button, &QPushButton::released, this, &MidiEditMessagePage::releasedButton);
}

QString MidiEditMessagePage::message() const
{
    return m_label->text();
}

QString MidiEditMessagePage::buttonText() const
{
    return m_button->text();
}

void MidiEditMessagePage::setMessage(const QString& text)
{
    m_label->setText(text);
}

void MidiEditMessagePage::setButtonText(const QString& text)
{
    m_button->setText(text);
}

void MidiEditMessagePage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_button->setFocus();
}

void MidiEditMessagePage::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        releasedButton();
        return;
    }
    QWidget::keyPressEvent(event);
}

void MidiEditMessagePage::paintEvent(QPaintEvent*)
{
    DisabledVeil::paintBackground(this);
}
