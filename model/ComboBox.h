// A choice list bound to one parameter: the item index is the value. Items
// come from the parameter's value texts, except for the port-index
// parameters, whose lists the owning window fills. User-interface thread.
#pragma once

#include <QComboBox>

#include "ModelConnection.h"

class ComboBox : public QComboBox, public ModelConnection {
    Q_OBJECT

public:
    explicit ComboBox(QWidget* parent = nullptr);

    void updateParameter(unsigned int id) override;
    void modelChanged() override;

public Q_SLOTS:
    void updateValue(qint32 value);

private:
    bool m_filling = false;
};
