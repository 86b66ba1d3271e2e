// The knob of the control change, timing clock, active sensing and custom
// message windows: a toolkit dial drawn over a gradient track, with the
// value and its unit in the middle. Circular mode follows the pointer's
// angle; linear mode follows vertical drags. A control-click resets it; a
// double-click on the value opens a box to type one. Bound to a parameter,
// it shows the value; it never writes the model: windows react to
// valueChanged(). User-interface thread.
#pragma once

#include <QColor>
#include <QDial>
#include <QPixmap>
#include <QPointer>

#include "ModelConnection.h"

class LineEdit;

class Dial : public QDial, public ModelConnection {
    Q_OBJECT

public:
    enum KnobMode { Circular = 0, Linear = 1 };

    explicit Dial(QWidget* parent = nullptr);
    ~Dial() override;

    void updateParameter(unsigned int id) override;

    void setKnobMode(int mode) { m_knobMode = mode; }
    int knobMode() const { return m_knobMode; }
    void setUnitText(const QString& text) { m_unitText = text; update(); }
    void setLineEditSize(int width, int height);
    void setTrackMargins(int left, int top, int right, int bottom);
    void setTrackColors(const QColor& start, const QColor& end);
    void setResetValue(int value) { m_resetValue = value; }
    void setClickMargin(int margin) { m_clickMargin = margin; }

    // 1.0 for ranges up to 300, 3.0 above: pixels of drag per step in linear mode.
    double getLinearMagnification() const;
    QPoint getCenterPos() const;
    QRect getRectangle() const;
    int getKnobRadius() const;
    QRect getDialRect() const;
    QRect getLineEditRect() const;
    QRect clickInvalidRect() const;
    bool isLineEditVisible() const;
    // The square the gradient track is drawn in: the knob grown by the track margins.
    QRect trackRect() const;

public Q_SLOTS:
    void inputCompletion();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void openLineEdit();
    // The gradient track, as it is for the widget's size.
    const QPixmap& trackImage();

    bool m_pressed = false;
    int m_knobMode = Circular;
    QPoint m_pressPosition;
    int m_valueAtPress = 0;
    QString m_unitText;
    QPointer<LineEdit> m_lineEdit;
    int m_lineEditWidth = 0;
    int m_lineEditHeight = 0;
    int m_trackLeft = 0;
    int m_trackTop = 0;
    int m_trackRight = 0;
    int m_trackBottom = 0;
    QColor m_trackStart = Qt::black;
    QColor m_trackEnd = Qt::white;
    QPixmap m_trackImage;  // empty: drawn anew
    int m_resetValue = 0;
    int m_clickMargin = 15;
};
