#include "Dial.h"

#include <QConicalGradient>
#include <QIntValidator>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionSlider>
#include <QStylePainter>

#include <cmath>

#include "LineEdit.h"

Dial::Dial(QWidget* parent) : QDial(parent) {}

Dial::~Dial() = default;

void Dial::updateParameter(unsigned int id)
{
    setValue(getCurrentValue(nullptr));
    ModelConnection::updateParameter(id);
}

void Dial::setLineEditSize(int width, int height)
{
    m_lineEditWidth = width;
    m_lineEditHeight = height;
}

void Dial::setTrackMargins(int left, int top, int right, int bottom)
{
    m_trackLeft = left;
    m_trackTop = top;
    m_trackRight = right;
    m_trackBottom = bottom;
    m_trackImage = QPixmap();
    update();
}

void Dial::setTrackColors(const QColor& start, const QColor& end)
{
    m_trackStart = start;
    m_trackEnd = end;
    m_trackImage = QPixmap();
    update();
}

double Dial::getLinearMagnification() const
{
    return (maximum() - minimum() <= 300) ? 1.0 : 3.0;
}

int Dial::getKnobRadius() const
{
    return static_cast<int>(std::lround(std::min(width(), height()) / 2.0));
}

QPoint Dial::getCenterPos() const
{
    return QPoint(static_cast<int>(std::lround(width() / 2.0)),
                  static_cast<int>(std::lround(height() / 2.0)));
}

QRect Dial::getRectangle() const
{
    const int r = getKnobRadius();
    const QPoint center = getCenterPos();
    return QRect(center.x() - r, center.y() - r, 2 * r, 2 * r);
}

QRect Dial::trackRect() const
{
    return getRectangle().adjusted(-m_trackLeft, -m_trackTop, m_trackRight, m_trackBottom);
}

QRect Dial::getDialRect() const
{
    const int r = getKnobRadius();
    const int side = static_cast<int>(2 * r - 2 * (r / 6.0) - 2);
    const int x = static_cast<int>((width() - 2 * r) / 2.0 + r / 6.0 + 1);
    const int y = static_cast<int>((height() - 2 * r) / 2.0 + r / 6.0 + 1);
    return QRect(x, y, side, side);
}

QRect Dial::getLineEditRect() const
{
    const QPoint center = getCenterPos();
    return QRect(center.x() - m_lineEditWidth / 2, center.y() - m_lineEditHeight / 2,
                 m_lineEditWidth, m_lineEditHeight);
}

QRect Dial::clickInvalidRect() const
{
    const QRect box = getLineEditRect();
    const QRect dial = getDialRect();
    if (box.left() >= dial.left() + m_clickMargin) {
        return box;
    }
    return QRect(dial.left() + m_clickMargin, box.top(), dial.width() - 2 * m_clickMargin,
                 box.height());
}

bool Dial::isLineEditVisible() const
{
    return m_lineEdit && m_lineEdit->isVisible();
}

void Dial::mousePressEvent(QMouseEvent* event)
{
    if (event->modifiers() & Qt::ControlModifier) {
        setValue(m_resetValue);
        return;
    }
    if (m_knobMode == Circular && clickInvalidRect().contains(event->pos())) {
        return;
    }
    const QPoint offset = event->pos() - getCenterPos();
    const long distance = std::lround(std::hypot(offset.x(), offset.y()));
    if (distance > getKnobRadius()) {
        return;
    }
    m_pressed = true;
    if (m_knobMode == Linear) {
        m_pressPosition = event->pos();
        m_valueAtPress = value();
    } else {
        QDial::mousePressEvent(event);
    }
}

void Dial::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_pressed) {
        return;
    }
    if (m_knobMode == Linear) {
        const double steps = (m_pressPosition.y() - event->pos().y()) * getLinearMagnification();
        setValue(m_valueAtPress + static_cast<int>(std::lround(steps)));
    } else {
        QDial::mouseMoveEvent(event);
    }
}

void Dial::mouseReleaseEvent(QMouseEvent* event)
{
    // The toolkit's dial jumps to the release point: only after a press it took.
    if (m_knobMode == Circular && m_pressed) {
        QDial::mouseReleaseEvent(event);
    }
    m_pressed = false;
    m_pressPosition = QPoint();
    m_valueAtPress = 0;
}

void Dial::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (getLineEditRect().contains(event->pos())) {
        openLineEdit();
    }
}

void Dial::openLineEdit()
{
    if (m_lineEdit) {
        m_lineEdit->disconnect(this);
        delete m_lineEdit;
    }
    m_lineEdit = new LineEdit(QString::number(value()), this);
    m_lineEdit->setGeometry(getLineEditRect());
    m_lineEdit->setAlignment(Qt::AlignCenter);
    m_lineEdit->setValidator(new QIntValidator(minimum(), maximum(), m_lineEdit));
    m_lineEdit->selectAll();
    connect(m_lineEdit, &LineEdit::editingFinished, this, &Dial::inputCompletion);
    m_lineEdit->show();
    m_lineEdit->setFocus();
}

void Dial::inputCompletion()
{
    if (!m_lineEdit) {
        return;
    }
    setValue(m_lineEdit->text().toInt());
    m_lineEdit->hide();
    setFocus();
}

void Dial::wheelEvent(QWheelEvent* event)
{
    if (!isLineEditVisible()) {
        QDial::wheelEvent(event);
    }
    event->accept();
}

void Dial::keyPressEvent(QKeyEvent* event)
{
    if (isLineEditVisible()) {
        event->accept();
        return;
    }
    QDial::keyPressEvent(event);
}

const QPixmap& Dial::trackImage()
{
    // A conical gradient costs an arc tangent per pixel, and a lamp or a
    // value repaints the dial often: drawn once per size and colours.
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = size() * ratio;
    if (m_trackImage.size() == pixels && qFuzzyCompare(m_trackImage.devicePixelRatioF(), ratio)) {
        return m_trackImage;
    }
    m_trackImage = QPixmap(pixels);
    m_trackImage.setDevicePixelRatio(ratio);
    m_trackImage.fill(Qt::transparent);
    QPainter painter(&m_trackImage);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    QConicalGradient gradient(getCenterPos(), 270);
    gradient.setColorAt(0, m_trackStart);
    gradient.setColorAt(1, m_trackEnd);
    painter.setBrush(gradient);
    painter.drawPie(trackRect(), -60 * 16, 300 * 16);
    return m_trackImage;
}

void Dial::paintEvent(QPaintEvent* event)
{
    QPainter(this).drawPixmap(0, 0, trackImage());
    QDial::paintEvent(event);
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.drawText(rect(), Qt::AlignCenter, QString::number(value()) + m_unitText);
}
