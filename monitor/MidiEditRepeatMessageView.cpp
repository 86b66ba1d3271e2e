#include "MidiEditRepeatMessageView.h"

#include "MidiEditView.h"

MidiEditRepeatMessageView::MidiEditRepeatMessageView(MidiEditView* owner, QWidget* parent)
    : MidiEditMessagePage(tr("Retransmitting message."), tr("Cancel"), parent), m_owner(owner)
{
}

void MidiEditRepeatMessageView::hideView()
{
    releasedButton();
}

void MidiEditRepeatMessageView::releasedButton()
{
    m_owner->changeView(MidiEditView::GeneralPage);
    m_owner->stopRepeatTransmittion();
}
