#include "GeneratorControls.h"

#include "SpinBox.h"

namespace GeneratorControls {

SpinBox* createChannelBox(QWidget* parent)
{
    auto* box = new SpinBox(parent);
    box->setRange(ChannelDisplayValue.minimum, ChannelDisplayValue.maximum);
    box->setLocalDefault(ChannelDisplayValue.defaultValue);
    box->setWidgetValue(ChannelDisplayValue.defaultValue);
    box->setAlignment(Qt::AlignRight);
    box->setAttribute(Qt::WA_MacShowFocusRect, false);
    return box;
}

}  // namespace GeneratorControls
