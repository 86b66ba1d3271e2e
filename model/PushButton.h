// A push button, optionally bound to one parameter (checked = non-zero),
// optionally painted from a two-frame picture strip or by a custom paint
// function. User-interface thread.
#pragma once

#include <QPixmap>
#include <QPushButton>

#include "ModelConnection.h"

class QPainter;

class PushButton : public QPushButton, public ModelConnection {
    Q_OBJECT

public:
    using PaintFunction = void (*)(PushButton* button, QPainter* painter);

    explicit PushButton(QWidget* parent = nullptr);
    // A flat 32 x 32 button drawn from the strip at image (at device pixel
    // ratio 2), with a tooltip, never taking the focus.
    static PushButton* createPictureButton(const char* image, const QString& tip, QWidget* parent);

    void updateParameter(unsigned int id) override;

    // The strip holds two frames side by side (left: up, right: down or
    // checked), drawn at half their pixel size.
    void setImage(const QPixmap& strip) { m_image = strip; update(); }
    const QPixmap& image() const { return m_image; }
    void setImagePosition(int x, int y) { m_imageX = x; m_imageY = y; }
    QPoint imagePosition() const { return QPoint(m_imageX, m_imageY); }
    // Centre the strip in the button when shown.
    void setCenterOnShow(bool center) { m_centerOnShow = center; }
    void setPaintFunction(PaintFunction function) { m_paint = function; }

public Q_SLOTS:
    void updateButton(bool checked);

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    PaintFunction m_paint = nullptr;
    QPixmap m_image;
    int m_imageX = 0;
    int m_imageY = 0;
    bool m_centerOnShow = false;
};
