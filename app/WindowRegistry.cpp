#include "WindowRegistry.h"

#include <QMdiSubWindow>

void WindowRegistry::add(int id, const QString& title, int limit, Factory factory)
{
    Kind& kind = m_kinds[id];
    kind.title = title;
    kind.limit = limit;
    kind.factory = std::move(factory);
}

void WindowRegistry::setFactory(int id, Factory factory)
{
    const auto kind = m_kinds.find(id);
    if (kind != m_kinds.end()) {
        kind->factory = std::move(factory);
    }
}

int WindowRegistry::limit(int id) const
{
    const auto kind = m_kinds.constFind(id);
    return kind == m_kinds.constEnd() ? 0 : kind->limit;
}

QString WindowRegistry::title(int id) const
{
    return m_kinds.value(id).title;
}

QMdiSubWindow* WindowRegistry::make(int id, const QList<QVariant>& restorationData)
{
    const auto kind = m_kinds.find(id);
    if (kind == m_kinds.end() || !kind->factory) {
        return nullptr;
    }
    QMdiSubWindow* window = kind->factory(restorationData);
    if (window) {
        opened(id, window);
    }
    return window;
}

void WindowRegistry::opened(int id, QMdiSubWindow* window)
{
    const auto kind = m_kinds.find(id);
    if (kind != m_kinds.end() && !kind->open.contains(window)) {
        kind->open.append(window);
    }
}

int WindowRegistry::openCount(int id)
{
    const auto kind = m_kinds.find(id);
    if (kind == m_kinds.end()) {
        return 0;
    }
    kind->open.removeAll(QPointer<QMdiSubWindow>());
    return static_cast<int>(kind->open.size());
}

QMdiSubWindow* WindowRegistry::firstOpen(int id)
{
    return openCount(id) > 0 ? m_kinds[id].open.first().data() : nullptr;
}

void WindowRegistry::forgetAll()
{
    for (Kind& kind : m_kinds) {
        kind.open.clear();
    }
}
