// The software user licence agreement: the project's own licence, read-only.
#pragma once

#include <QTextEdit>

class EULAView : public QTextEdit {
    Q_OBJECT

public:
    explicit EULAView(QWidget* parent = nullptr);
};
