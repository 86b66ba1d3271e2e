// The dark veil with a message that covers a window whose function needs
// the parser while the parser is off.
#pragma once

#include <QColor>
#include <QWidget>

class QLabel;

class DisabledVeil : public QWidget {
    Q_OBJECT

public:
    // The message names the function: "%1 function is currently disabled..."
    DisabledVeil(const QString& function, QWidget* parent);

    static QString message(const QString& function);
    // The look shared by every page that covers a window with a message.
    static const QColor BackgroundColor;
    static const QColor MessageTextColor;
    static void paintBackground(QWidget* widget);
    static void setMessageColor(QWidget* label);
    QString text() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* m_label;
};
