#include "CheckBox.h"

CheckBox::CheckBox(QWidget* parent) : CheckBox(QString(), parent) {}

CheckBox::CheckBox(const QString& text, QWidget* parent) : QCheckBox(text, parent)
{
    setAttribute(Qt::WA_MacShowFocusRect, false);
    connect(this, &QCheckBox::clicked, this, &CheckBox::updateCheckbox);
}

void CheckBox::updateParameter(unsigned int id)
{
    setChecked(getCurrentValue(nullptr) != 0);
    ModelConnection::updateParameter(id);
}

void CheckBox::updateCheckbox(bool checked)
{
    setCurrentValue(checked ? 1 : 0);
}
