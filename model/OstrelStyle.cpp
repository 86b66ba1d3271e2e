#include "OstrelStyle.h"

namespace {
constexpr int ScrollBarExtent = 18;
}

int OstrelStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                             const QWidget* widget) const
{
    if (metric == PM_ScrollBarExtent) {
        return ScrollBarExtent;
    }
    return QProxyStyle::pixelMetric(metric, option, widget);
}

void OstrelStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                QPainter* painter, const QWidget* widget) const
{
    if (element == PE_FrameFocusRect) {
        return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}
