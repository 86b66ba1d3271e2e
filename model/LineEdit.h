// A line edit that decides on Return, Enter or losing focus: with an
// integer validator a typed number is clamped into its range and anything
// else reverts to the initial text; a non-empty result emits
// editingFinished(). User-interface thread.
#pragma once

#include <QLineEdit>

class LineEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit LineEdit(QWidget* parent = nullptr);
    LineEdit(const QString& text, QWidget* parent = nullptr);

    void decide();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QString m_initialText;
};
