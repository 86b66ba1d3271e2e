// A spin box bound to one parameter: takes its range from the parameter,
// shows its value, writes steps and typed numbers (each change once), and
// restores the default on a control-click. User-interface thread.
#pragma once

#include <QSpinBox>

#include "ModelConnection.h"

class SpinBox : public QSpinBox, public ModelConnection {
    Q_OBJECT

public:
    explicit SpinBox(QWidget* parent = nullptr);

    void updateParameter(unsigned int id) override;
    void modelChanged() override;
    void stepBy(int steps) override;

    // Shows value without writing the model.
    void setWidgetValue(int value);
    // The parameter's default, or the local default while not connected.
    void restoreDefaultValue();
    // Used when the widget is not connected to the model.
    void setLocalDefault(int value) { m_localDefault = value; }

Q_SIGNALS:
    void widgetValueChanged(qint32 value);

public Q_SLOTS:
    void inputCompletion();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void changeTo(int value);

    bool m_contextMenuOpen = false;
    int m_lastValue = 0;
    int m_localDefault = 0;
};
