#include "DisabledVeil.h"

#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace {
const QColor DisabledViewColor(0, 0, 0, 200);
const QColor DisabledViewMessageTextColor(Qt::white);
const char* const DisabledFunctionMessage =
    "%1 function is currently disabled.\nTurn On File > Preferences > Parser.";
}

DisabledVeil::DisabledVeil(const QString& function, QWidget* parent)
    : QWidget(parent), m_label(new QLabel(message(function), this))
{
    m_label->setAlignment(Qt::AlignCenter);
    QPalette palette = m_label->palette();
    palette.setColor(QPalette::WindowText, DisabledViewMessageTextColor);
    m_label->setPalette(palette);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label, 0, Qt::AlignCenter);
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
    QPainter(this).fillRect(rect(), DisabledViewColor);
}
