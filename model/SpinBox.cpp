#include "SpinBox.h"

#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMouseEvent>

SpinBox::SpinBox(QWidget* parent) : QSpinBox(parent)
{
    setAttribute(Qt::WA_MacShowFocusRect, false);
    lineEdit()->installEventFilter(this);
    connect(this, &QSpinBox::editingFinished, this, &SpinBox::inputCompletion);
}

void SpinBox::updateParameter(unsigned int id)
{
    setWidgetValue(getCurrentValue(nullptr));
    ModelConnection::updateParameter(id);
}

void SpinBox::modelChanged()
{
    MODEL_RESULT result = MODEL_RESULT_ERROR;
    const int maximum = getMaximumValue(&result);
    if (result != MODEL_RESULT_SUCCESS) {
        return;
    }
    setMaximum(maximum);
    setMinimum(getMinimumValue(nullptr));
}

void SpinBox::setWidgetValue(int value)
{
    m_lastValue = value;
    const bool wasBlocked = blockSignals(true);
    setValue(value);
    blockSignals(wasBlocked);
}

void SpinBox::changeTo(int value)
{
    if (value == m_lastValue) {
        return;
    }
    m_lastValue = value;
    setCurrentValue(value);
    Q_EMIT widgetValueChanged(value);
}

void SpinBox::stepBy(int steps)
{
    QSpinBox::stepBy(steps);
    changeTo(value());
}

void SpinBox::inputCompletion()
{
    if (m_contextMenuOpen) {
        return;
    }
    // Text that is not a number reads as 0, as the spin box shows it.
    const int typed = cleanText().toInt();
    changeTo(typed);
}

void SpinBox::restoreDefaultValue()
{
    MODEL_RESULT result = MODEL_RESULT_ERROR;
    int target = getDefaultValue(&result);
    if (result != MODEL_RESULT_SUCCESS) {
        target = m_localDefault;
    }
    if (target == m_lastValue) {
        return;
    }
    if (setCurrentValue(target) != MODEL_RESULT_SUCCESS) {
        setWidgetValue(target);
    }
    Q_EMIT widgetValueChanged(target);
}

bool SpinBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lineEdit() && event->type() == QEvent::MouseButtonPress &&
        (static_cast<QMouseEvent*>(event)->modifiers() & Qt::ControlModifier)) {
        restoreDefaultValue();
        return true;
    }
    return QSpinBox::eventFilter(watched, event);
}

void SpinBox::mousePressEvent(QMouseEvent* event)
{
    if (event->modifiers() & Qt::ControlModifier) {
        restoreDefaultValue();
        event->accept();
        return;
    }
    QSpinBox::mousePressEvent(event);
}

void SpinBox::contextMenuEvent(QContextMenuEvent* event)
{
    m_contextMenuOpen = true;
    QSpinBox::contextMenuEvent(event);
    m_contextMenuOpen = false;
}
