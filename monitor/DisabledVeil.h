// The dark veil with a message that covers a window whose function needs
// the parser while the parser is off.
#pragma once

#include <QWidget>

class QLabel;

class DisabledVeil : public QWidget {
    Q_OBJECT

public:
    // The message names the function: "%1 function is currently disabled..."
    DisabledVeil(const QString& function, QWidget* parent);

    static QString message(const QString& function);
    QString text() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* m_label;
};
