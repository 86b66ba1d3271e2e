// The Preferences window: every control bound to one preference, so a
// change takes effect everywhere at once and persists through the INI file.
// Holds no state of its own; not saved in layouts or projects.
#pragma once

#include <QFrame>

#include "CommonViewHelper.h"

class OstrelModel;

class PreferencesView : public QFrame, public CommonViewHelper {
    Q_OBJECT

public:
    static constexpr QSize FixedSize{245, 375};

    PreferencesView(QWidget* parent, OstrelModel* model);
};
