#include "RepeatSettingsView.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>

#include "CheckBox.h"
#include "PushButton.h"
#include "SpinBox.h"

namespace {

const QColor LowerEdgeColor(160, 160, 160);

}  // namespace

const RepeatSettingsView::SettingRecord RepeatSettingsView::SysExSettingsRepeatValue{0, 1, 0, "Repeat"};
const RepeatSettingsView::SettingRecord RepeatSettingsView::SysExSettingsIntervalValue{500, 5000, 1000,
                                                                                      "Interval (ms)"};

RepeatSettingsView::RepeatSettingsView(QWidget* parent)
    : QWidget(parent),
      m_repeat(new CheckBox(tr(SysExSettingsRepeatValue.label))),
      m_interval(new SpinBox)
{
    setAutoFillBackground(true);
    setFocusPolicy(Qt::ClickFocus);
    setFixedHeight(FixedHeight);

    auto* holder = new QWidget(this);
    holder->setFixedSize(230, 23);
    m_repeat->setParent(holder);
    m_repeat->setGeometry(0, 0, 70, 23);
    m_repeat->setChecked(SysExSettingsRepeatValue.defaultValue == 1);
    auto* label = new QLabel(tr(SysExSettingsIntervalValue.label), holder);
    label->setGeometry(70, 0, 80, 23);
    m_interval->setParent(holder);
    m_interval->setGeometry(160, 0, 70, 23);
    m_interval->setAlignment(Qt::AlignRight);
    m_interval->setRange(SysExSettingsIntervalValue.minimum, SysExSettingsIntervalValue.maximum);
    m_interval->setLocalDefault(SysExSettingsIntervalValue.defaultValue);
    m_interval->setWidgetValue(SysExSettingsIntervalValue.defaultValue);
    m_interval->setAttribute(Qt::WA_MacShowFocusRect, false);

    PushButton* close = PushButton::createPictureButton(":/images/close.png", tr("Close"), this);
    connect(close, &QPushButton::pressed, this, &RepeatSettingsView::closeButtonPressed);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(7, 7, 7, 7);
    layout->addWidget(holder);
    layout->addStretch();
    layout->addWidget(close);
}

bool RepeatSettingsView::isRepeat() const
{
    return m_repeat->isChecked();
}

int RepeatSettingsView::getInterval() const
{
    return m_interval->value();
}

void RepeatSettingsView::closeButtonPressed()
{
    if (m_focusTarget) {
        m_focusTarget->setFocus();
    }
    hide();
}

bool RepeatSettingsView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_R && (key->modifiers() & Qt::ControlModifier)) {
            show();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void RepeatSettingsView::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    QPainter painter(this);
    painter.setPen(LowerEdgeColor);
    painter.drawLine(0, height() - 1, width(), height() - 1);
}
