// The application object: opens a project file handed over by the platform
// (QEvent::FileOpen) unless a modal dialog is active.
#pragma once

#include <QApplication>
#include <QIcon>
#include <functional>

class CApplication : public QApplication {
    Q_OBJECT

public:
    CApplication(int& argc, char** argv);

    // The application icon in every size drawn for it (the window manager
    // shows it on every top-level window).
    static QIcon icon();

    // Called with the file's path; set by main once the main window exists.
    void setFileOpenHandler(std::function<void(const QString&)> handler);

protected:
    bool event(QEvent* event) override;

private:
    std::function<void(const QString&)> m_openFile;
};
