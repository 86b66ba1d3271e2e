// What the editor's covering pages share: a dark page with a centred white
// message and one button below it. Showing the page focuses the button;
// the button, Return and Enter all call releasedButton. User-interface thread.
#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class QVBoxLayout;

class MidiEditMessagePage : public QWidget {
    Q_OBJECT

public:
    MidiEditMessagePage(const QString& message, const QString& buttonText, QWidget* parent = nullptr);

    QString message() const;
    QString buttonText() const;
    QPushButton* button() const { return m_button; }

public Q_SLOTS:
    virtual void releasedButton() = 0;

protected:
    void setMessage(const QString& text);
    void setButtonText(const QString& text);
    QVBoxLayout* pageLayout() const { return m_layout; }

    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QVBoxLayout* m_layout;
    QLabel* m_label;
    QPushButton* m_button;
};
