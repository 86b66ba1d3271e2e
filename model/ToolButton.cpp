#include "ToolButton.h"

#include <QPainter>

void ToolButton::paintEvent(QPaintEvent* event)
{
    QToolButton::paintEvent(event);
    if (m_image.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const int frameWidth = m_image.width() / 2;
    painter.drawPixmap(0, 0, m_image.copy(isEnabled() ? 0 : frameWidth, 0, frameWidth, m_image.height()));
}
