// The running main window for the window tests: a fresh start without
// settings, its first output on "Ostrel Loopback 1", heard back by a second
// input port on that loopback.
#pragma once

#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <vector>

#include "LoopbackListener.h"
#include "MainWindow.h"
#include "ProjectController.h"
#include "SettingsStore.h"
#include "OstrelModel.h"
#include "PacketCollector.h"

class LoopbackWindowFixture {
protected:
    enum Start { Hidden, EmptyLayout, DefaultLayout };

    void startWindow(Start start)
    {
        QStandardPaths::setTestModeEnabled(true);
        QFile::remove(SettingsStore::iniFilePath());
        m_model = std::make_unique<OstrelModel>();
        m_window = std::make_unique<MainWindow>(nullptr, m_model.get(), MidiApi::Automatic);
        if (start != Hidden) {
            m_window->show();
        }
        if (start == EmptyLayout) {
            m_window->closeAllSubWindows();
        }
        m_collector = std::make_unique<PacketCollector>();
        m_listener = listenToLoopback(*m_window, *m_collector);
        QVERIFY(m_listener);
    }

    void stopWindow()
    {
        m_listener.reset();
        m_window.reset();
        m_model.reset();
    }

    // Every message heard since the last call: once at least expected came
    // (or a generous limit passed), and a short settle for any extra.
    std::vector<std::vector<unsigned char>> heardMessages(size_t expected = 0)
    {
        (void)QTest::qWaitFor([&] { return m_collector->packets().size() >= expected; }, 5000);
        QTest::qWait(50);
        std::vector<std::vector<unsigned char>> messages;
        for (const auto& packet : m_collector->packets()) {
            messages.push_back(packet.bytes);
        }
        m_collector->clear();
        return messages;
    }

    // Saves the project, forgets what was heard and opens it again: the view
    // of its one window, or null.
    template <typename View>
    View* reopened()
    {
        const QString path = m_dir.filePath("reopened.ostrel");
        if (!m_window->project()->saveProjectFile(path)) {
            return nullptr;
        }
        heardMessages();
        if (!m_window->project()->openProjectFile(path)) {
            return nullptr;
        }
        (void)QTest::qWaitFor([&] { return m_window->mdiArea()->subWindowList().size() == 1; }, 5000);
        const QList<QMdiSubWindow*> windows = m_window->mdiArea()->subWindowList();
        return windows.size() == 1 ? qobject_cast<View*>(windows.first()->widget()) : nullptr;
    }

    std::unique_ptr<OstrelModel> m_model;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<MidiInputPort> m_listener;
    std::unique_ptr<PacketCollector> m_collector;
    QTemporaryDir m_dir;
};
