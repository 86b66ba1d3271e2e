// The kinds of sub-window, keyed by window id, and the windows of each kind
// now open. A kind has a title (for the count-limit warning), a limit (one:
// asking again brings the open window forward) and a factory that makes a
// window from restoration data (empty when the user asks for one; null when
// the data describes no window of the kind). The windows themselves register
// every kind in WindowKinds.cpp; tests may put a factory of their own in.
// User-interface thread.
#pragma once

#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>
#include <QVariant>

#include <functional>

class QMdiSubWindow;

class WindowRegistry {
public:
    using Factory = std::function<QMdiSubWindow*(const QList<QVariant>& restorationData)>;

    void add(int id, const QString& title, int limit, Factory factory);
    // Another way to make windows of a known kind (tests).
    void setFactory(int id, Factory factory);
    bool has(int id) const { return m_kinds.contains(id); }
    int limit(int id) const;  // 0 for an unknown kind
    QString title(int id) const;
    // A new window of the kind, counted as open; null for an unknown kind or
    // data the factory refuses. The caller checks the limit first.
    QMdiSubWindow* make(int id, const QList<QVariant>& restorationData);
    // Counts a window made elsewhere (an editor opened with its text).
    void opened(int id, QMdiSubWindow* window);
    // Closed windows are forgotten first.
    int openCount(int id);
    QMdiSubWindow* firstOpen(int id);
    void forgetAll();

private:
    struct Kind {
        QString title;
        int limit = 0;
        Factory factory;
        QList<QPointer<QMdiSubWindow>> open;
    };
    QHash<int, Kind> m_kinds;
};
