#include "MidiKeyboardViewScrollArea.h"

#include <QScrollBar>
#include <QWheelEvent>

#include "OstrelModel.h"

MidiKeyboardViewScrollArea::MidiKeyboardViewScrollArea(QWidget* parent, OstrelModel* model)
    : QScrollArea(parent), m_model(model)
{
}

void MidiKeyboardViewScrollArea::wheelEvent(QWheelEvent* event)
{
    const QPoint delta = event->pixelDelta().isNull() ? event->angleDelta() : event->pixelDelta();
    if (qAbs(delta.x()) < qAbs(delta.y())) {
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + delta.y());
    } else {
        QScrollArea::wheelEvent(event);
    }
    event->accept();
}

void MidiKeyboardViewScrollArea::scrollContentsBy(int dx, int dy)
{
    m_model->setParameterEditFlag(ParameterEditFlagEdited);
    QScrollArea::scrollContentsBy(dx, dy);
}
