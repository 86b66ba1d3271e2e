// A three-digit display drawn from a strip of digit pictures, with up and
// down buttons, arrow keys, the wheel, a control-click for the default and a
// double-click to type a value. Values stay within minimum..maximum; only a
// real change repaints and emits valueChanged(). User-interface thread.
#pragma once

#include <QPixmap>
#include <QPointer>
#include <QWidget>

class LineEdit;
class PushButton;

class SevenSegment : public QWidget {
    Q_OBJECT

public:
    explicit SevenSegment(QWidget* parent = nullptr);

    void setDigitImage(const QPixmap& strip) { m_digits = strip; update(); }
    void setMinimum(int minimum) { m_minimum = minimum; }
    void setMaximum(int maximum) { m_maximum = maximum; }
    void setDefault(int value) { m_default = value; }
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    int value() const { return m_value; }

    void setValue(int value);
    int adjustValue(int value) const;
    void addStepToValue(int steps);
    bool isVisibleLineEdit() const;
    void setIncreaseButtonPixmap(const QPixmap& strip);
    void setDecreaseButtonPixmap(const QPixmap& strip);
    void setIncreaseButtonGeometry(const QRect& rect);
    void setDecreaseButtonGeometry(const QRect& rect);
    PushButton* increaseButton() const { return m_increase; }
    PushButton* decreaseButton() const { return m_decrease; }

Q_SIGNALS:
    void valueChanged(qint32 value);

public Q_SLOTS:
    void inputCompletion();
    void increase();
    void decrease();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QPixmap m_digits;
    QPointer<LineEdit> m_lineEdit;
    int m_value = 0;
    PushButton* m_increase;
    PushButton* m_decrease;
    int m_minimum = 0;
    int m_maximum = 127;
    int m_default = 0;
    double m_wheelRemainder = 0;
};
