// The window layout: restored from the INI file when the main window is
// first shown (the default layout when none is stored), written back when
// it closes, and the placing of each window a layout or project describes.
// While a layout is being restored, a kind over its limit is said once,
// after restoring ends, not once per window.
//
// Threads: user-interface thread only.
#pragma once

#include <QList>
#include <QRect>
#include <QString>
#include <QVariant>

#include "WindowRestorationInfo.h"

class MainWindow;
class QMdiSubWindow;
class QSettings;

class LayoutStore {
public:
    explicit LayoutStore(MainWindow& main) : m_main(main) {}

    void restore();
    void store();
    // Closes every sub-window and opens In and Out monitors and an editor.
    void openDefault();
    // Places the main window as a layout or project stored it.
    void placeMainWindow(const QRect& rect, Qt::WindowStates state, bool stayOnTop);
    // Opens and places a window a layout or project stored; null for an id
    // that is no restorable kind, data the kind refuses, or a full kind.
    QMdiSubWindow* restoreSubWindow(WindowRestorationInfo::WindowId id, bool stayOnTop, const QRect& rect,
                                    Qt::WindowStates state, const QList<QVariant>& restorationData);
    // True (and the name kept for later) while a layout is being restored.
    bool deferLimitWarning(const QString& name);

private:
    void writeMainWindow(QSettings& settings);
    void writeSubWindows(QSettings& settings);

    MainWindow& m_main;
    bool m_restoring = false;
    QString m_overLimit;  // the first kind over its limit while restoring
};
