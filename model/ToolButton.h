// A tool button that draws a two-frame picture strip over itself: the left
// frame while enabled, the right one while disabled. User-interface thread.
#pragma once

#include <QPixmap>
#include <QToolButton>

class ToolButton : public QToolButton {
    Q_OBJECT

public:
    explicit ToolButton(QWidget* parent = nullptr) : QToolButton(parent) {}

    void setImage(const QPixmap& strip) { m_image = strip; update(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_image;
};
