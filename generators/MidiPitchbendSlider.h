// The pitch bend slider: 128 positions, the top the maximum. In wheel mode
// (0) it springs back to the centre when released; in mode 1 it stays and
// the keys move it. A control-press goes to the centre. The wheel never
// moves it. User-interface thread.
#pragma once

#include <QWidget>

class MidiPitchbendSlider : public QWidget {
    Q_OBJECT

public:
    enum WheelMode { SpringBack = 0, Stay = 1 };
    static constexpr int TrackMargin = 15;
    static constexpr int KnobHeight = 30;

    explicit MidiPitchbendSlider(QWidget* parent = nullptr);

    void setWheelMode(WheelMode mode);
    WheelMode wheelMode() const { return m_wheelMode; }
    void setValue(int value);
    int value() const { return m_value; }
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    int centre() const { return m_centreValue; }
    void setRange(int minimum, int maximum);
    void setCentre(int value) { m_centreValue = value; }
    // The position a pointer height stands for, clamped.
    int convertMousePointToValue(const QPoint& point) const;
    double scale() const;

Q_SIGNALS:
    void valueChanged(qint32 value);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int clamped(int value) const;

    int m_centreValue = 64;
    WheelMode m_wheelMode = SpringBack;
    int m_value = 64;
    int m_minimum = 0;
    int m_maximum = 127;
};
