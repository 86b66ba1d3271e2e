#include "SevenSegment.h"

#include <QApplication>
#include <QIntValidator>
#include <QKeyEvent>
#include <QPainter>
#include <QWheelEvent>

#include <cmath>

#include "LineEdit.h"
#include "PushButton.h"

SevenSegment::SevenSegment(QWidget* parent)
    : QWidget(parent), m_increase(new PushButton(this)), m_decrease(new PushButton(this))
{
    setFocusPolicy(Qt::WheelFocus);
    for (PushButton* button : {m_increase, m_decrease}) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
    }
    connect(m_increase, &QPushButton::pressed, this, &SevenSegment::increase);
    connect(m_decrease, &QPushButton::pressed, this, &SevenSegment::decrease);
}

int SevenSegment::adjustValue(int value) const
{
    return std::max(m_minimum, std::min(m_maximum, value));
}

void SevenSegment::setValue(int value)
{
    const int adjusted = adjustValue(value);
    if (adjusted == m_value) {
        return;
    }
    m_value = adjusted;
    update();
    Q_EMIT valueChanged(m_value);
}

void SevenSegment::addStepToValue(int steps)
{
    setValue(m_value + steps);
}

bool SevenSegment::isVisibleLineEdit() const
{
    return m_lineEdit && m_lineEdit->isVisible();
}

void SevenSegment::increase()
{
    if (!isVisibleLineEdit()) {
        addStepToValue(1);
    }
}

void SevenSegment::decrease()
{
    if (!isVisibleLineEdit()) {
        addStepToValue(-1);
    }
}

void SevenSegment::setIncreaseButtonPixmap(const QPixmap& strip)
{
    m_increase->setImage(strip);
}

void SevenSegment::setDecreaseButtonPixmap(const QPixmap& strip)
{
    m_decrease->setImage(strip);
}

void SevenSegment::setIncreaseButtonGeometry(const QRect& rect)
{
    m_increase->setGeometry(rect);
}

void SevenSegment::setDecreaseButtonGeometry(const QRect& rect)
{
    m_decrease->setGeometry(rect);
}

void SevenSegment::keyPressEvent(QKeyEvent* event)
{
    if (isVisibleLineEdit()) {
        return;
    }
    if (event->key() == Qt::Key_Up) {
        addStepToValue(1);
    } else if (event->key() == Qt::Key_Down) {
        addStepToValue(-1);
    } else {
        QWidget::keyPressEvent(event);
    }
}

void SevenSegment::wheelEvent(QWheelEvent* event)
{
    event->accept();
    if (isVisibleLineEdit()) {
        return;
    }
    const double steps =
        event->angleDelta().y() / 120.0 * QApplication::wheelScrollLines();
    if ((steps > 0 && m_wheelRemainder < 0) || (steps < 0 && m_wheelRemainder > 0)) {
        m_wheelRemainder = 0;  // the direction reversed
    }
    m_wheelRemainder += steps;
    const double whole = std::trunc(m_wheelRemainder);
    m_wheelRemainder -= whole;
    addStepToValue(static_cast<int>(whole));
}

void SevenSegment::mousePressEvent(QMouseEvent* event)
{
    if (event->modifiers() & Qt::ControlModifier) {
        setValue(m_default);
        return;
    }
    QWidget::mousePressEvent(event);
}

void SevenSegment::mouseDoubleClickEvent(QMouseEvent*)
{
    if (m_lineEdit) {
        m_lineEdit->disconnect(this);
        delete m_lineEdit;
    }
    m_lineEdit = new LineEdit(QString::number(m_value), this);
    m_lineEdit->setGeometry(0, 0, m_increase->x() > 0 ? m_increase->x() : width(), height());
    m_lineEdit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_lineEdit->setValidator(new QIntValidator(m_minimum, m_maximum, m_lineEdit));
    m_lineEdit->selectAll();
    connect(m_lineEdit, &LineEdit::editingFinished, this, &SevenSegment::inputCompletion);
    m_lineEdit->show();
    m_lineEdit->setFocus();
}

void SevenSegment::inputCompletion()
{
    if (!m_lineEdit) {
        return;
    }
    const int typed = m_lineEdit->text().toInt();
    m_lineEdit->hide();
    setFocus();
    setValue(typed);
}

void SevenSegment::paintEvent(QPaintEvent*)
{
    if (m_digits.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const int cell = m_digits.width() / 10;
    const int step = static_cast<int>(static_cast<float>(width() - m_increase->width()) / 3.0f);
    const int digits[3] = {m_value / 100 % 10, m_value / 10 % 10, m_value % 10};
    for (int i = 0; i < 3; i++) {
        painter.drawPixmap(i * step, 0, m_digits.copy(digits[i] * cell, 0, cell, m_digits.height()));
    }
}
