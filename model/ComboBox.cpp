#include "ComboBox.h"

#include <limits>

ComboBox::ComboBox(QWidget* parent) : QComboBox(parent)
{
    connect(this, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &ComboBox::updateValue);
}

void ComboBox::modelChanged()
{
    MODEL_RESULT result = MODEL_RESULT_ERROR;
    const int maximum = getMaximumValue(&result);
    const int minimum = getMinimumValue(nullptr);
    if (result != MODEL_RESULT_SUCCESS || maximum <= minimum) {
        return;
    }
    m_filling = true;
    // The port-index parameters span everything: their names come from the ports.
    if (static_cast<long long>(maximum) - minimum != std::numeric_limits<int>::max()) {
        for (int i = 0; i <= maximum - minimum; i++) {
            addItem(getParameterString(i, nullptr));
        }
    }
    m_filling = false;
    setCurrentIndex(getCurrentValue(nullptr));
}

void ComboBox::updateParameter(unsigned int id)
{
    if (count() > 0) {
        setCurrentIndex(getCurrentValue(nullptr));
    }
    ModelConnection::updateParameter(id);
}

void ComboBox::updateValue(qint32 value)
{
    if (!m_filling) {
        setCurrentValue(value);
    }
}
