// A check box bound to one parameter: shows it as checked (non-zero) or
// not, and writes 1 or 0 when the user clicks. User-interface thread.
#pragma once

#include <QCheckBox>

#include "ModelConnection.h"

class CheckBox : public QCheckBox, public ModelConnection {
    Q_OBJECT

public:
    explicit CheckBox(QWidget* parent = nullptr);
    CheckBox(const QString& text, QWidget* parent = nullptr);

    void updateParameter(unsigned int id) override;

public Q_SLOTS:
    void updateCheckbox(bool checked);
};
