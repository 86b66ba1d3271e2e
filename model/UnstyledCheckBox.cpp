#include "UnstyledCheckBox.h"

void UnstyledCheckBox::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                     QPainter* painter, const QWidget* widget) const
{
    if (element == PE_IndicatorCheckBox) {
        return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}
