// The editor page shown while its text is sent again and again: a message
// and a Cancel button that ends the repetition. User-interface thread.
#pragma once

#include "MidiEditMessagePage.h"

class MidiEditView;

class MidiEditRepeatMessageView : public MidiEditMessagePage {
    Q_OBJECT

public:
    explicit MidiEditRepeatMessageView(MidiEditView* owner, QWidget* parent = nullptr);

    void hideView();

public Q_SLOTS:
    void releasedButton() override;

private:
    MidiEditView* m_owner;
};
