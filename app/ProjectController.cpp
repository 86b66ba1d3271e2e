#include "ProjectController.h"

#include <QApplication>
#include <QDateTime>
#include <QDialog>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>

#include "DumpFile.h"
#include "LayoutStore.h"
#include "MainWindow.h"
#include "MidiSendPath.h"
#include "MidiEditView.h"
#include "OstrelModel.h"
#include "ProjectFileHelper.h"
#include "SettingsStore.h"
#include "Utility.h"

namespace {

const char* const ProjectFilter = "Project Files (*.ostrel)";
const char* const UntitledProject = "Untitled.ostrel";

bool isProject(const QString& path)
{
    // The last suffix only: "song.v2.ostrel" is a project.
    return QFileInfo(path).suffix() == QLatin1String("ostrel");
}

}  // namespace

ProjectController::ProjectController(MainWindow* window, OstrelModel* model, MidiSendPath* sendPath)
    : QObject(window), m_window(window), m_model(model), m_sendPath(sendPath)
{
    m_model->registerModelAssistant(this);
}

ProjectController::~ProjectController()
{
    m_model->unregisterModelAssistant(this);
}

void ProjectController::updateParameter(unsigned int id)
{
    if (id == ParamEditFlag) {
        updateTitle();
    }
}

QMessageBox::StandardButton ProjectController::showConfirmationMessageBox()
{
    m_window->closeAboutDialog();
    QMessageBox box(QMessageBox::Question, ProjectController::programName(), tr("Do you want to save changes?"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, m_window);
    box.setDefaultButton(QMessageBox::Yes);
    box.button(QMessageBox::No)->setShortcut(QKeySequence(tr("Ctrl+D")));
    box.setModal(true);
    const int answer = box.exec();
    return answer == QMessageBox::Yes || answer == QMessageBox::No
               ? static_cast<QMessageBox::StandardButton>(answer)
               : QMessageBox::Cancel;
}

bool ProjectController::confirmDiscard()
{
    if (m_model->getParameterEditFlag() != ParameterEditFlagEdited) {
        return true;
    }
    switch (showConfirmationMessageBox()) {
    case QMessageBox::Yes:
        return saveFile();
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

void ProjectController::updateTitle()
{
    const QString name = QFileInfo(m_model->projectFilePath()).fileName();
    QString title;
    if (m_model->getParameterEditFlag() == ParameterEditFlagEdited) {
        title += QLatin1Char('*');
    }
    title += name;
    if (!name.isEmpty()) {
        title += QStringLiteral(" - ");
    }
    m_window->setWindowTitle(title + ProjectController::programName());
}

void ProjectController::newFile()
{
    if (!confirmDiscard()) {
        return;
    }
    m_model->lockParameterEditFlag();
    m_window->setUpdatesEnabled(false);
    if (m_window->isMaximized() || m_window->isMinimized() || m_window->isFullScreen()) {
        m_window->showNormal();
    }
    m_window->resize(m_window->defaultSize());
    m_window->layout()->openDefault();
    m_window->setUpdatesEnabled(true);
    m_model->unlockParameterEditFlag();
    m_model->setProjectFilePath(QString());
    m_model->setParameterEditFlag(ParameterEditFlagUnchanged);
    updateTitle();
}

bool ProjectController::openFile(const QString& path)
{
    if (!confirmDiscard()) {
        return false;
    }
    QString chosen = path;
    if (chosen.isEmpty()) {
        m_window->releaseHeldNotes();
        chosen = Utility::showFileOpenDialog(
            m_window, tr("Open"),
            m_model->getModelStringValue(ParamProjectFileWorkingDirectory, nullptr) + "/",
            tr(ProjectFilter), m_model->getModelDefaultStringValue(ParamProjectFileWorkingDirectory, nullptr));
        if (chosen.isEmpty()) {
            return false;
        }
    }
    return openProjectFile(chosen);
}

bool ProjectController::openProjectFile(const QString& path)
{
    if (!loadProject(path)) {
        m_window->showCriticalMessage(m_lastError);
        return false;
    }
    adoptProjectPath(path);
    return true;
}

bool ProjectController::loadProject(const QString& path)
{
    m_openingProject = true;
    m_sendPath->setRestoringWindows(true);
    m_window->setUpdatesEnabled(false);
    ProjectFileHelper helper(m_window);
    const int result = helper.readFile(path);
    m_window->setUpdatesEnabled(true);
    m_sendPath->setRestoringWindows(false);
    m_openingProject = false;
    if (result == ProjectFileHelper::ReadAppliedInPart) {
        // The windows were replaced before the failure: no save may write
        // this half over the file it came from, or the one open before.
        m_model->setProjectFilePath(QString());
        m_model->setParameterEditFlag(ParameterEditFlagEdited);
        updateTitle();
    }
    if (result != ProjectFileHelper::ReadSuccess) {
        m_lastError = result == ProjectFileHelper::ReadVersionError
                          ? tr("File format version error.")
                          : tr("File open failed.") + QLatin1Char('\n') + helper.reason();
        return false;
    }
    m_lastError.clear();
    return true;
}

QString ProjectController::recoveryFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
           QStringLiteral("/recovery.ostrel");
}

void ProjectController::quitOnSignal()
{
    if (m_quitting) {
        return;
    }
    m_quitting = true;
    if (m_model->getParameterEditFlag() == ParameterEditFlagEdited) {
        QDir().mkpath(QFileInfo(recoveryFilePath()).absolutePath());
        ProjectFileHelper(m_window).writeFile(recoveryFilePath());
    }
    // Each open dialog ends its own event loop; then every loop ends.
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(widget);
        if (dialog && dialog->isVisible()) {
            dialog->reject();
        }
    }
    m_window->close();
    QCoreApplication::exit(0);
}

void ProjectController::offerRecovery()
{
    const QFileInfo recovery(recoveryFilePath());
    if (!recovery.isFile()) {
        return;
    }
    m_window->closeAboutDialog();
    QMessageBox box(QMessageBox::Question, ProjectController::programName(),
                    tr("Restore the unsaved project from %1?")
                        .arg(recovery.lastModified().toString(QStringLiteral("yyyy-MM-dd HH:mm"))),
                    QMessageBox::Yes | QMessageBox::No, m_window);
    box.setDefaultButton(QMessageBox::Yes);
    const int answer = box.exec();
    if (m_quitting) {
        return;  // not answered: kept for the next start
    }
    if (answer != QMessageBox::Yes) {
        QFile::remove(recovery.filePath());
        return;
    }
    if (loadProject(recovery.filePath())) {
        m_model->setProjectFilePath(QString());
        m_model->setParameterEditFlag(ParameterEditFlagEdited);
        updateTitle();
        QFile::remove(recovery.filePath());
        return;
    }
    // The only copy of unsaved work: kept under a name the next start does not offer.
    const QString kept = keptRecoveryPath(recovery);
    const bool renamed = QFile::rename(recovery.filePath(), kept);
    const QString where = renamed ? tr("The unsaved project was kept as %1.")
                                  : tr("The unsaved project stays at %1.");
    m_window->showCriticalMessage(m_lastError + QLatin1Char('\n') +
                                  where.arg(QDir::toNativeSeparators(renamed ? kept : recovery.filePath())));
}

QString ProjectController::keptRecoveryPath(const QFileInfo& recovery)
{
    const QString stem = recovery.absolutePath() + QStringLiteral("/recovery-") +
                         recovery.lastModified().toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    QString path = stem + QStringLiteral(".ostrel");
    for (int n = 2; QFileInfo::exists(path); n++) {
        path = stem + QStringLiteral("-%1.ostrel").arg(n);
    }
    return path;
}

void ProjectController::adoptProjectPath(const QString& path)
{
    rememberRecent(path);
    m_model->setProjectFilePath(path);
    m_model->setModelStringValue(ParamProjectFileWorkingDirectory, QFileInfo(path).absolutePath());
    m_model->setParameterEditFlag(ParameterEditFlagUnchanged);
    updateTitle();
}

bool ProjectController::saveFile()
{
    const QString path = m_model->projectFilePath();
    return path.isEmpty() ? saveAsFile() : saveProjectFile(path);
}

bool ProjectController::saveAsFile()
{
    const QString current = QFileInfo(m_model->projectFilePath()).fileName();
    const QString name = current.isEmpty() ? QString::fromLatin1(UntitledProject) : current;
    m_window->releaseHeldNotes();
    const QString chosen = Utility::showFileSaveDialog(
        m_window, tr("Save"), m_model->getModelStringValue(ParamProjectFileWorkingDirectory, nullptr) + "/" + name,
        tr(ProjectFilter), m_model->getModelDefaultStringValue(ParamProjectFileWorkingDirectory, nullptr));
    return !chosen.isEmpty() && saveProjectFile(chosen);
}

bool ProjectController::saveProjectFile(const QString& path)
{
    if (path.isEmpty()) {
        return false;
    }
    ProjectFileHelper helper(m_window);
    if (helper.writeFile(path) != ProjectFileHelper::WriteSuccess) {
        m_window->showCriticalMessage(tr("File save failed.") + QLatin1Char('\n') + helper.reason());
        return false;
    }
    adoptProjectPath(path);
    return true;
}

void ProjectController::closeAll()
{
    if (!confirmDiscard()) {
        return;
    }
    m_window->closeAllSubWindows();
    m_model->setProjectFilePath(QString());
    m_model->setParameterEditFlag(ParameterEditFlagUnchanged);
    updateTitle();
}

bool ProjectController::openDroppedDumpFile(const QString& path)
{
    m_model->setModelStringValue(ParamDumpFileWorkingDirectory, QFileInfo(path).absolutePath());
    QString text;
    if (!DumpFile::load(path, text)) {
        m_window->showCriticalMessage(tr("File open failed."));
        return false;
    }
    return m_window->createEditor(MidiEditView::SystemExclusive, QSize(), text) != nullptr;
}

bool ProjectController::handleDrop(QEvent* event)
{
    if (event->type() == QEvent::DragEnter) {
        auto* enter = static_cast<QDragEnterEvent*>(event);
        const QMimeData* mime = enter->mimeData();
        const bool refused = QApplication::activeModalWidget() ||
                             m_model->getModelIntValue(ParamSysExTransmitState, nullptr) == 1 ||
                             !mime->hasFormat(QStringLiteral("text/uri-list"));
        const QStringList paths = Utility::droppedFilePaths(mime);
        const QString first = paths.isEmpty() ? QString() : paths.first();
        if (refused || !(isProject(first) || DumpFile::isDropName(first))) {
            enter->setDropAction(Qt::IgnoreAction);
            enter->ignore();
            return true;
        }
        enter->acceptProposedAction();
        return true;
    }
    if (event->type() == QEvent::DragMove) {
        static_cast<QDragMoveEvent*>(event)->acceptProposedAction();
        return true;
    }
    if (event->type() != QEvent::Drop) {
        return false;
    }
    auto* drop = static_cast<QDropEvent*>(event);
    for (const QString& path : Utility::droppedFilePaths(drop->mimeData())) {
        if (DumpFile::isDropName(path)) {
            drop->acceptProposedAction();
            openDroppedDumpFile(path);
            return true;
        }
        if (isProject(path)) {
            drop->acceptProposedAction();
            if (confirmDiscard()) {
                openProjectFile(path);
            }
            return true;
        }
    }
    return true;
}

QStringList ProjectController::recentProjects() const
{
    QSettings settings(SettingsStore::iniFilePath(), QSettings::IniFormat);
    QStringList paths = settings.value(QStringLiteral("RecentProjects/Files")).toStringList();
    paths.removeAll(QString());
    paths.removeDuplicates();
    return paths.mid(0, RecentLimit);
}

void ProjectController::storeRecent(const QStringList& paths)
{
    QSettings settings(SettingsStore::iniFilePath(), QSettings::IniFormat);
    settings.setValue(QStringLiteral("RecentProjects/Files"), QStringList(paths.mid(0, RecentLimit)));
}

void ProjectController::rememberRecent(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList paths = recentProjects();
    paths.removeAll(absolute);
    paths.prepend(absolute);
    storeRecent(paths);
}

bool ProjectController::openRecent(const QString& path)
{
    if (!QFileInfo(path).isFile()) {
        QStringList paths = recentProjects();
        paths.removeAll(path);
        storeRecent(paths);
        m_window->showCriticalMessage(tr("The project \"%1\" is gone; it was taken off the recent projects.")
                                          .arg(QDir::toNativeSeparators(path)));
        return false;
    }
    return openFile(path);
}
