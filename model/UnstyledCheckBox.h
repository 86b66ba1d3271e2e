// A style for check boxes that show only their label: no indicator is
// drawn; every other primitive, focus rectangles included, as the
// underlying style draws it.
#pragma once

#include "OstrelStyle.h"

class UnstyledCheckBox : public OstrelStyle {
    Q_OBJECT

public:
    using OstrelStyle::OstrelStyle;

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
};
