// What every restorable view carries: its kind, under which it is saved and
// recreated (the numbers are stored in INI keys and project files), and the
// kind-specific values needed to recreate it.
#pragma once

#include <QList>
#include <QVariant>

class WindowRestorationInfo {
public:
    enum WindowId : qint32 {
        MainWindowId = 0,
        MidiInMonitorId = 1,
        MidiOutMonitorId = 2,
        SystemExclusiveId = 3,
        KeyboardId = 4,
        ControlChangeId = 5,
        ProgramChangeId = 6,
        MidiSettingsId = 7,
        FilterId = 8,
        TimingClockId = 9,
        PitchbendId = 10,
        ActivesensingId = 11,
        PCKeyboardId = 12,
        CustomMidiMessageId = 13,
        TransportPanelId = 14,
    };
    static constexpr qint32 FirstSubWindowId = MidiInMonitorId;
    static constexpr qint32 LastSubWindowId = TransportPanelId;

    explicit WindowRestorationInfo(WindowId id = MainWindowId) : m_windowId(id) {}
    virtual ~WindowRestorationInfo() = default;

    WindowId windowId() const { return m_windowId; }
    const QList<QVariant>& restorationData() const { return m_restorationData; }

protected:
    WindowId m_windowId;
    QList<QVariant> m_restorationData;  // empty for every kind but Control Change
};
