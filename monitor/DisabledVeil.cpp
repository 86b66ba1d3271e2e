#include "DisabledVeil.h"

#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace {
const char* const DisabledFunctionMessage =
    "%1 function is currently disabled.\nTurn On File > Preferences > Parser.";
}

DisabledVeil::DisabledVeil(const QString& function, QWidget* parent)
    : QWidget(parent), m_label(new QLabel(message(function), this))
{
    m_label->setAlignment(Qt::AlignCenter);
    setMessageColor(m_label);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label, 0, Qt::AlignCenter);
}

const QColor DisabledVeil::BackgroundColor(0, 0, 0, 200);
const QColor DisabledVeil::MessageTextColor(Qt::white);

void DisabledVeil::paintBackground(QWidget* widget)
{
    QPainter(widget).fillRect(widget->rect(), BackgroundColor);
}

void DisabledVeil::setMessageColor(QWidget* label)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, MessageTextColor);
    label->setPalette(palette);
}

QString DisabledVeil::message(const QString& function)
{
    return tr(DisabledFunctionMessage).arg(function);
}

QString DisabledVeil::text() const
{
    return m_label->text();
}

void DisabledVeil::paintEvent(QPaintEvent*)
{
    paintBackground(this);
}
