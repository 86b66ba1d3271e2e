// The filter window: which received messages the analyzer drops before
// the monitor and MIDI thru. Every switch is bound to a filter parameter;
// the window holds no state of its own. While the parser is off it is
// disabled under a veil. User-interface thread.
#pragma once

#include <QFrame>
#include <QList>

#include "CommonViewHelper.h"
#include "FileStream.h"
#include "ModelAssistant.h"
#include "WindowRestorationInfo.h"

class CheckBox;
class DisabledVeil;
class OstrelModel;
class PushButton;
class QStackedWidget;

class MidiFilterView : public QFrame,
                       public CommonViewHelper,
                       public WindowRestorationInfo,
                       public FileStream,
                       public ModelAssistant {
    Q_OBJECT

public:
    static constexpr QSize FixedSize{650, 268};

    explicit MidiFilterView(OstrelModel* model, QWidget* parent = nullptr);
    ~MidiFilterView() override;

    void updateParameter(unsigned int id) override;
    void setFilterViewEnabled(bool enabled);
    // The settings travel as parameters: no content of its own.
    bool setDataStream(QDataStream& stream) override;
    bool getDataStream(QDataStream& stream) override;

    QStackedWidget* detailPages() const { return m_pages; }
    DisabledVeil* veil() const { return m_veil; }

public Q_SLOTS:
    void releasedAllButton();
    void releasedNoneButton();
    void releasedControlChangeButton();
    void releasedSystemCommonButton();
    void releasedSystemRealtimeButton();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* createChannelGroup();
    QWidget* createMessageGroup();
    // A detail page: a group of check boxes bound from first, with "All" and "Clear".
    QWidget* createDetailPage(const QString& title, const QStringList& names, unsigned int first,
                              bool scrolled);

    OstrelModel* m_ostrelModel;
    QList<PushButton*> m_channelButtons;
    QList<CheckBox*> m_messageBoxes;
    QStackedWidget* m_pages = nullptr;
    DisabledVeil* m_veil = nullptr;
};
