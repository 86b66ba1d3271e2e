// The project: New, Open, Save, Save As and Close All, the save question,
// the edit flag shown in the title, project and dump files dropped on the
// window, and the recovery file a signal leaves behind (offered at the next
// start). Project files are read and written by ProjectFileHelper.
// User-interface thread.
#pragma once

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QStringList>

#include "ModelAssistant.h"

class MainWindow;
class MidiSendPath;
class OstrelModel;
class QEvent;
class QFileInfo;

class ProjectController : public QObject, public ModelAssistant {
    Q_OBJECT

public:
    // Registers with the model, to show the edit flag in the title.
    ProjectController(MainWindow* window, OstrelModel* model, MidiSendPath* sendPath);
    ~ProjectController() override;
    // The title of the main window and of every message box.
    static QString programName() { return QStringLiteral("Ostrel"); }

    // Each command asks first when the project was edited.
    void newFile();
    bool openFile(const QString& path);  // an empty path asks for a file
    bool openProjectFile(const QString& path);
    bool saveFile();
    bool saveAsFile();
    bool saveProjectFile(const QString& path);
    void closeAll();
    // The projects last opened or saved, newest first (at most
    // RecentLimit), kept in the INI file.
    static constexpr int RecentLimit = 8;
    QStringList recentProjects() const;
    // Opens one of them (asking first when the project was edited); a file
    // that is gone is said so and leaves the list.
    bool openRecent(const QString& path);
    // True when the project may be let go: unchanged, saved, or not wanted.
    bool confirmDiscard();
    QMessageBox::StandardButton showConfirmationMessageBox();
    // "*name - Ostrel": the edit flag and the project's file name.
    void updateTitle();
    bool isOpeningProject() const { return m_openingProject; }
    // The message of the last failed open ("File open failed." and the
    // reason on a second line, ...), empty after a success.
    QString lastError() const { return m_lastError; }

    // Where an edited project goes when a signal ends the program.
    static QString recoveryFilePath();
    // Ends the program at once without asking, whatever dialog is open; an
    // edited project is first written to the recovery file (atomically).
    void quitOnSignal();
    bool isQuitting() const { return m_quitting; }
    // At start-up: when a recovery file exists, asks whether to restore it
    // (as an untitled, edited project) and removes it once answered; one
    // that cannot be loaded is kept beside it, and the message says where.
    void offerRecovery();

    // Drag and drop of a project or dump file onto the window; true when
    // the event was one of those.
    bool handleDrop(QEvent* event);

    void updateParameter(unsigned int id) override;

private:
    // Reads a project into the windows; false, and lastError() says why,
    // when it fails.
    bool loadProject(const QString& path);
    // Beside the recovery file, named with its date: where one that fails
    // to load is kept.
    static QString keptRecoveryPath(const QFileInfo& recovery);
    // The project now lives at path: its folder, an unchanged flag, the title.
    void adoptProjectPath(const QString& path);
    bool openDroppedDumpFile(const QString& path);
    void rememberRecent(const QString& path);
    void storeRecent(const QStringList& paths);

    MainWindow* m_window;
    OstrelModel* m_model;
    MidiSendPath* m_sendPath;
    bool m_openingProject = false;
    bool m_quitting = false;  // a signal is ending the program
    QString m_lastError;
};
