// The About box: a picture and three lines of text. It closes on any mouse
// press anywhere in the application (the main window sees to that).
#pragma once

#include <QDialog>
#include <QPixmap>

class AboutView : public QDialog {
    Q_OBJECT

public:
    static constexpr QSize FixedSize{501, 170};

    explicit AboutView(QWidget* parent = nullptr);

    QStringList lines() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_picture;
};
