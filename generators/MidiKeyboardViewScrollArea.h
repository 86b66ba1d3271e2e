// The scroll area around the keyboard: the wheel's vertical turn scrolls
// sideways, and scrolling counts as an edit of the project (the position is
// saved with it). User-interface thread.
#pragma once

#include <QScrollArea>

class OstrelModel;

class MidiKeyboardViewScrollArea : public QScrollArea {
    Q_OBJECT

public:
    MidiKeyboardViewScrollArea(QWidget* parent, OstrelModel* model);

protected:
    void wheelEvent(QWheelEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    OstrelModel* m_model;
};
