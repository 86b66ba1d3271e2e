#include "PushButton.h"

#include <QPainter>

#include <cmath>

PushButton::PushButton(QWidget* parent) : QPushButton(parent)
{
    connect(this, &QPushButton::clicked, this, &PushButton::updateButton);
}

void PushButton::updateParameter(unsigned int id)
{
    setChecked(getCurrentValue(nullptr) != 0);
    ModelConnection::updateParameter(id);
}

void PushButton::updateButton(bool checked)
{
    if (isConnected(nullptr)) {
        setCurrentValue(checked ? 1 : 0);
    }
}

void PushButton::paintEvent(QPaintEvent* event)
{
    if (m_paint) {
        QPainter painter(this);
        m_paint(this, &painter);
        return;
    }
    if (m_image.isNull()) {
        QPushButton::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const int frameWidth = m_image.width() / 2;
    const bool down = isCheckable() ? isChecked() : isDown();
    const QPixmap frame = m_image.copy(down ? frameWidth : 0, 0, frameWidth, m_image.height());
    painter.drawPixmap(m_imageX, m_imageY, frame);
}

void PushButton::showEvent(QShowEvent* event)
{
    QPushButton::showEvent(event);
    if (m_centerOnShow && !m_image.isNull()) {
        m_imageX = static_cast<int>(std::lround((width() - std::lround(m_image.width() * 0.25)) / 2.0));
        m_imageY = static_cast<int>(std::lround((height() - std::lround(m_image.height() * 0.5)) / 2.0)) - 1;
    }
}

PushButton* PushButton::createPictureButton(const char* image, const QString& tip, QWidget* parent)
{
    auto* button = new PushButton(parent);
    QPixmap strip(QString::fromLatin1(image));
    strip.setDevicePixelRatio(2.0);
    button->setImage(strip);
    button->setFlat(true);
    button->setToolTip(tip);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(32, 32);
    return button;
}
