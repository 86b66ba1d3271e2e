// Project files byte for byte, hostile files, the project commands and the
// INI file written and read back.
#include <QFrame>
#include <QGuiApplication>
#include <QScreen>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QMimeData>
#include <QDropEvent>
#include <QSettings>
#include <QStandardPaths>
#include <QDir>
#include <sys/stat.h>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <utility>

#include "FileStream.h"
#include "BoxAnswer.h"
#include "MainWindow.h"
#include "WindowKinds.h"
#include "SubWindowArea.h"
#include "ProjectController.h"
#include "SettingsStore.h"
#include "PortSet.h"
#include "MidiClient.h"
#include "MidiInputPort.h"
#include "OstrelModel.h"
#include "WindowRestorationInfo.h"

namespace {

// A restorable window with content, standing in for the views: a number
// and a text, and two integer restoration values.
class NoteView : public QFrame, public WindowRestorationInfo, public FileStream {
public:
    NoteView() : WindowRestorationInfo(ControlChangeId) { m_restorationData = {7, 0}; }
    bool setDataStream(QDataStream& stream) override
    {
        getIntParameterFromStream(stream, 1, number);
        getStringParameterFromStream(stream, 2, text);
        return !failRead;
    }
    bool getDataStream(QDataStream& stream) override
    {
        if (failWrite) {
            return false;
        }
        setIntParameterToStream(stream, 1, number);
        setStringParameterToStream(stream, 2, text);
        stream.writeRawData(padding.constData(), padding.size());
        return true;
    }
    int number = 0;
    QString text;
    QByteArray padding;  // raw bytes after the values, to make a project large
    bool failWrite = false;
    bool failRead = false;
};


QByteArray fixed16(const char* text)
{
    QByteArray field(16, '\0');
    field.replace(0, int(strlen(text)), text);
    return field;
}

QByteArray int32(qint32 value)
{
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream << value;
    return bytes;
}

QByteArray record(const QList<qint32>& fields, const QByteArray& values = QByteArray())
{
    QByteArray body;
    for (qint32 field : fields) {
        body += int32(field);
    }
    body += values;
    return int32(body.size()) + body;
}

// Qt 5.12's variant form of an int: type 2, not null, the value.
QByteArray intVariant(qint32 value)
{
    return int32(16) + int32(2) + QByteArray(1, '\0') + int32(value);
}

QByteArray projectBytes(const QByteArray& windows, const char* version = "1.6.0")
{
    return fixed16("KALDER") + fixed16("Ostrel") + fixed16(version) + QByteArray("WIND") +
           int32(windows.size()) + windows;
}

}  // namespace

class ProjectFileTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<OstrelModel> m_model;
    std::unique_ptr<MainWindow> m_window;
    QTemporaryDir m_dir;
    QList<NoteView*> m_views;
    bool m_nextViewRefusesData = false;

    QMdiSubWindow* addNoteView(int number, const QString& text)
    {
        auto* view = new NoteView;
        view->number = number;
        view->text = text;
        m_views.append(view);
        QMdiSubWindow* window = m_window->area()->add(view, "&Control Change", "ControlChangeViewSubWindow", true);
        window->resize(225, 250);
        m_window->area()->show(window);
        return window;
    }

    void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init()
    {
        QFile::remove(SettingsStore::iniFilePath());
        startEmpty();
    }

    void cleanup()
    {
        m_window.reset();
        m_model.reset();
    }

private:
    // A program start on whatever INI file is there.
    void start()
    {
        m_model = std::make_unique<OstrelModel>();
        m_window = std::make_unique<MainWindow>(nullptr, m_model.get(), MidiApi::Automatic);
        m_views.clear();
        m_window->windows().setFactory(WindowRestorationInfo::ControlChangeId, [this](const QList<QVariant>& data) {
            if (data.size() < 2) {
                return static_cast<QMdiSubWindow*>(nullptr);
            }
            QMdiSubWindow* window = addNoteView(0, QString());
            m_views.last()->failRead = std::exchange(m_nextViewRefusesData, false);
            return window;
        });
        m_window->show();
        m_window->setGeometry(40, 50, 679, 548);
    }

    // These tests bring their own windows: the default layout goes away.
    void startEmpty()
    {
        start();
        m_window->closeAllSubWindows();
        QTRY_COMPARE(m_window->mdiArea()->subWindowList().size(), 0);
    }

private Q_SLOTS:
    void goldenBytesAndFieldsRoundTrip()
    {
        QMdiSubWindow* sub = addNoteView(42, QString::fromUtf8("Vol\u00fcme"));
        sub->setGeometry(10, 20, 225, 250);
        const QString path = m_dir.filePath("golden.ostrel");
        QVERIFY(m_window->project()->saveProjectFile(path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QRect main = m_window->geometry();
        const QByteArray content = int32(1) + int32(4) + int32(42) + int32(2) + int32(7) + QByteArray("Vol\xc3\xbcme");
        const QByteArray expected = projectBytes(
            record({0, 0, main.x(), main.y(), main.width(), main.height(), int(m_window->windowState())}) +
            record({5, 0, 10, 20, 225, 250, int(sub->windowState())}, intVariant(7) + intVariant(0)) +
            int32(content.size()) + content);
        QCOMPARE(file.readAll(), expected);
        QCOMPARE(m_window->windowTitle(), QString("golden.ostrel - Ostrel"));

        m_model->setParameterEditFlag(ParameterEditFlagEdited);
        QCOMPARE(m_window->windowTitle(), QString("*golden.ostrel - Ostrel"));
        m_model->setParameterEditFlag(ParameterEditFlagUnchanged);

        m_window->closeAllSubWindows();
        QTRY_COMPARE(m_window->mdiArea()->subWindowList().size(), 0);
        m_views.clear();
        QVERIFY(m_window->project()->openProjectFile(path));
        QCOMPARE(m_window->mdiArea()->subWindowList().size(), 1);
        QCOMPARE(m_views.size(), 1);
        QCOMPARE(m_views.first()->number, 42);
        QCOMPARE(m_views.first()->text, QString::fromUtf8("Vol\u00fcme"));
        QCOMPARE(m_window->mdiArea()->subWindowList().first()->geometry(), QRect(10, 20, 225, 250));
        QCOMPARE(m_model->getModelStringValue(ParamProjectFileWorkingDirectory, nullptr), m_dir.path());
    }

    void stringAndEmptyValuesInStreams()
    {
        QByteArray bytes;
        QDataStream out(&bytes, QIODevice::WriteOnly);
        QVERIFY(!FileStream::setStringParameterToStream(out, 3, QString()));
        QVERIFY(FileStream::setIntParameterToStream(out, 4, -5));
        QCOMPARE(bytes, int32(3) + int32(0) + int32(4) + int32(4) + int32(-5));
        QDataStream in(bytes);
        QString text = "x";
        int value = 9;
        QVERIFY(FileStream::getStringParameterFromStream(in, 3, text));
        QVERIFY(text.isEmpty());
        QVERIFY(!FileStream::getIntParameterFromStream(in, 5, value));  // another id: missing
        QCOMPARE(value, 0);
        QCOMPARE(in.device()->pos(), qint64(12));  // only the other id was consumed
        QVERIFY(!FileStream::getIntParameterFromStream(in, 4, value));  // the stream moved on
        // A string length beyond the bytes left is refused, not allocated.
        const QByteArray lying = int32(6) + int32(0x7FFFFFFF) + QByteArray("ab");
        QDataStream lie(lying);
        QVERIFY(!FileStream::getStringParameterFromStream(lie, 6, text));
    }

    void versionsAndDamagedFiles()
    {
        const QByteArray windows = record({0, 0, 30, 40, 500, 400, 0});
        const QString path = m_dir.filePath("p.ostrel");
        const struct {
            const char* name;
            QByteArray bytes;
            const char* message;
        } cases[] = {
            {"newer minor", projectBytes(windows, "1.7.0"), "File format version error."},
            {"newer major", projectBytes(windows, "2.0.0"), "File format version error."},
            {"second id", fixed16("KALDER") + fixed16("Ostrex") + fixed16("1.6.0") + "WIND" + int32(windows.size()) + windows, "File open failed.\nnot a project file"},
            {"nul byte", projectBytes(windows).replace(10, 1, "x"), "File open failed.\nnot a project file"},
            {"chunk", projectBytes(windows).replace(48, 4, "WINE"), "File open failed.\nno window data"},
            {"empty", QByteArray(), "File open failed.\nthe file is empty"},
            {"truncated record", projectBytes(windows).left(projectBytes(windows).size() - 3), "File open failed.\nthe main window's record is damaged"},
            {"huge record length", projectBytes(int32(0x7FFFFFF0) + QByteArray(30, '\0')), "File open failed.\nthe main window's record is damaged"},
            {"content longer than the file", projectBytes(windows + record({5, 0, 0, 0, 10, 10, 0}, intVariant(1) + intVariant(2)) + int32(1000000)), "File open failed.\nthe content of window 1 runs past the end of the file"},
            {"absurd geometry", projectBytes(record({0, 0, -2147483647 - 1, 0, 0, 2000000000, 0})), "File open failed.\nthe main window's record is damaged"},
            {"string variant", projectBytes(windows + record({5, 0, 0, 0, 10, 10, 0}, int32(16) + int32(10) + QByteArray(1, '\0') + int32(4) + QByteArray("\0a\0b", 4)) + int32(0)), "File open failed.\nthe record of window 1 is damaged"},
        };
        addNoteView(1, "kept");
        for (const auto& c : cases) {
            writeFile(path, c.bytes);
            BoxAnswer answer(QMessageBox::Ok);
            QVERIFY2(!m_window->project()->openProjectFile(path), c.name);
            QCOMPARE(answer.texts, QStringList{QString(c.message)});
            QCOMPARE(m_window->mdiArea()->subWindowList().size(), 1);  // nothing touched
        }
        {
            // A pipe named like a project would never end.
            const QString pipe = m_dir.filePath("pipe.ostrel");
            QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
            BoxAnswer answer(QMessageBox::Ok);
            QVERIFY(!m_window->project()->openProjectFile(pipe));
            QCOMPARE(answer.texts, QStringList{"File open failed.\nnot a regular file"});
        }
        QCOMPARE(m_window->windowTitle(), QString("Ostrel"));

        // An older version opens; a header and the main window alone leave no sub-windows.
        writeFile(path, projectBytes(windows, "1.5.1"));
        QVERIFY(m_window->project()->openProjectFile(path));
        QTRY_COMPARE(m_window->mdiArea()->subWindowList().size(), 0);
        QCOMPARE(m_window->geometry().size(), QSize(500, 400));
    }

    // A recovery file that cannot be loaded is the only copy of unsaved
    // work: kept beside it under its date, and the message says where.
    void aRecoveryFileThatFailsIsKept()
    {
        const QString recovery = ProjectController::recoveryFilePath();
        QDir().mkpath(QFileInfo(recovery).absolutePath());
        writeFile(recovery, projectBytes(record({0, 0, 30, 40, 500, 400, 0}) + record({15, 0, 0, 0, 10, 10, 0}) +
                                         int32(0)));
        const QByteArray damaged = [&] {
            QFile file(recovery);
            file.open(QIODevice::ReadOnly);
            return file.readAll();
        }();
        {
            BoxAnswer answer(QMessageBox::Yes);
            m_window->project()->offerRecovery();
            QCOMPARE(answer.texts.size(), 2);
            QVERIFY(answer.texts.at(1).startsWith("File open failed.\nunknown window kind 15\n"
                                                  "The unsaved project was kept as "));
        }
        QVERIFY(!QFile::exists(recovery));
        const QStringList kept =
            QDir(QFileInfo(recovery).absolutePath()).entryList({"recovery-*.ostrel"}, QDir::Files);
        QCOMPARE(kept.size(), 1);
        QFile file(QFileInfo(recovery).absolutePath() + "/" + kept.first());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), damaged);
        file.remove();
    }

    // Only the last suffix names a dropped project.
    void aDroppedProjectWithDotsInItsNameOpens()
    {
        const QString path = m_dir.filePath("song.v2.ostrel");
        addNoteView(3, "dotted");
        QVERIFY(m_window->project()->saveProjectFile(path));
        m_window->closeAllSubWindows();
        m_views.clear();
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(path)});
        QDropEvent event(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QVERIFY(m_window->project()->handleDrop(&event));
        QCOMPARE(m_views.size(), 1);
        QCOMPARE(m_views.first()->text, QString("dotted"));
        QCOMPARE(m_model->projectFilePath(), path);
    }

    void viewsWithoutContentAndFailures()
    {
        const QString path = m_dir.filePath("q.ostrel");
        // N = 0: restored without reading content.
        writeFile(path, projectBytes(record({0, 0, 30, 40, 500, 400, 0}) +
                                     record({5, 0, 0, 0, 225, 250, 0}, intVariant(3) + intVariant(0)) + int32(0)));
        QVERIFY(m_window->project()->openProjectFile(path));
        QCOMPARE(m_views.size(), 1);
        QCOMPARE(m_views.first()->number, 0);

        // A view that cannot write its content: nothing is written, the old file stays.
        const QString saved = m_dir.filePath("saved.ostrel");
        writeFile(saved, "previous contents");
        addNoteView(5, "x");
        m_views.last()->failWrite = true;
        {
            BoxAnswer saveAnswer(QMessageBox::Ok);
            QVERIFY(!m_window->project()->saveProjectFile(saved));
            QCOMPARE(saveAnswer.texts, QStringList{"File save failed.\na window could not write its content"});
        }
        // A project too large to open again is not written either.
        m_views.last()->failWrite = false;
        m_views.last()->padding = QByteArray(int(qint64(256) << 20), 'x');
        {
            BoxAnswer saveAnswer(QMessageBox::Ok);
            QVERIFY(!m_window->project()->saveProjectFile(saved));
            QCOMPARE(saveAnswer.texts,
                     QStringList{"File save failed.\nthe project would take 257 MB; at most 256 MB can be opened again"});
        }
        m_views.last()->padding.clear();
        QFile file(saved);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("previous contents"));
    }

    // A project that cannot open whole leaves everything as it was: windows,
    // title, path and edit flag; one that fails after the windows were
    // replaced becomes untitled, so no save can write it over a file.
    void failedOpensLeaveTheProjectAsItWas()
    {
        const QString current = m_dir.filePath("current.ostrel");
        addNoteView(1, "kept");
        QVERIFY(m_window->project()->saveProjectFile(current));
        m_model->setParameterEditFlag(ParameterEditFlagEdited);
        const QString title = m_window->windowTitle();
        QCOMPARE(title, QString("*current.ostrel - Ostrel"));

        const QByteArray mainWindow = record({0, 0, 30, 40, 500, 400, 0});
        QByteArray keyboards;
        for (int i = 0; i < 17; i++) {  // one over the limit
            keyboards += record({WindowRestorationInfo::KeyboardId, 0, 0, 0, 300, 100, 0}) + int32(0);
        }
        const struct {
            const char* name;
            QByteArray bytes;
            const char* reason;
        } cases[] = {
            {"a kind over its limit", projectBytes(mainWindow + keyboards), "17 Keyboard windows; at most 16"},
            {"an unknown kind", projectBytes(mainWindow + record({15, 0, 0, 0, 10, 10, 0}) + int32(0)),
             "unknown window kind 15"},
            {"a control change window without its controller",
             projectBytes(mainWindow + record({5, 0, 0, 0, 10, 10, 0}, intVariant(128) + intVariant(0)) + int32(0)),
             "window 1 (Control Change) has no valid controller"},
            {"above 256 MiB", QByteArray(), "larger than 256 MB"},
        };
        const QString path = m_dir.filePath("other.ostrel");
        for (const auto& c : cases) {
            writeFile(path, c.bytes);
            if (c.bytes.isEmpty()) {
                QVERIFY(QFile(path).resize((qint64(256) << 20) + 1));  // sparse: nothing to write
            }
            BoxAnswer answer(QMessageBox::Ok);
            QVERIFY2(!m_window->project()->openProjectFile(path), c.name);
            QCOMPARE(answer.texts, QStringList{QString("File open failed.\n") + c.reason});
            QCOMPARE(m_window->mdiArea()->subWindowList().size(), 1);
            QCOMPARE(m_views.first()->text, QString("kept"));
            QCOMPARE(m_window->windowTitle(), title);
            QCOMPARE(m_model->projectFilePath(), current);
            QCOMPARE(m_model->getParameterEditFlag(), ParameterEditFlagEdited);
        }

        // A view refusing its data once the windows are replaced.
        writeFile(path, projectBytes(mainWindow + record({5, 0, 0, 0, 225, 250, 0}, intVariant(3) + intVariant(0)) +
                                     int32(4) + int32(0)));
        m_nextViewRefusesData = true;
        BoxAnswer answer(QMessageBox::Ok);
        QVERIFY(!m_window->project()->openProjectFile(path));
        QCOMPARE(answer.texts.size(), 1);
        QVERIFY2(answer.texts.first().startsWith("File open failed.\nthe content of window 1 ("), qPrintable(answer.texts.first()));
        QCOMPARE(m_model->projectFilePath(), QString());
        QCOMPARE(m_window->windowTitle(), QString("*Ostrel"));
    }

    // Every INI value is brought into its parameter's range (or the default
    // when it is no number) before use, and written back so; stored
    // rectangles never exceed the screen; a layout with more editors than
    // allowed restores what fits and says so once.
    void hostileSettingsAreBroughtIntoRange()
    {
        cleanup();
        {
            QSettings settings(SettingsStore::iniFilePath(), QSettings::IniFormat);
            settings.setValue("Preferences/PCKeyboardVelocity", 200);
            settings.setValue("Preferences/PCKeyboardChannel", 0);
            settings.setValue("Preferences/KnobMode", 99999);
            settings.setValue("Preferences/MessageMiddleC", "loud");
            settings.setValue("MidiThru/BulkInterval", 1000000);
            settings.setValue("MidiThru/MidiThru", -5);
            settings.setValue("MidiFilter/Note On", 7);
            settings.beginGroup("SavePosition");
            settings.setValue("0000000000-0-0",
                              QList<QVariant>{QRect(0, 0, 2147483647, 2147483647), 0, false});
            for (int i = 0; i < 40; i++) {
                settings.setValue(QString("%1-3-%2").arg(i + 1, 10, 10, QChar('0')).arg(i),
                                  QList<QVariant>{QRect(-100000000, 5, 100000, 300), 0, false});
            }
            settings.endGroup();
        }
        BoxAnswer answer(QMessageBox::Ok);
        start();
        QCOMPARE(m_model->getModelIntValue(ParamPCKeyboardVelocity, nullptr), 127);
        QCOMPARE(m_model->getModelIntValue(ParamPCKeyboardChannel, nullptr), 1);
        QCOMPARE(m_model->getModelIntValue(ParamKnobMode, nullptr), 1);
        QCOMPARE(m_model->getModelIntValue(ParamMessageMiddleC, nullptr), 0);
        QCOMPARE(m_model->getModelIntValue(ParamBulkInterval, nullptr), 1000);
        QCOMPARE(m_model->getModelIntValue(ParamMidiThru, nullptr), 0);
        QCOMPARE(m_model->getModelIntValue(ParamMessageFilterFirst + 1, nullptr), 1);
        QTRY_COMPARE(answer.texts.size(), 1);
        QVERIFY(answer.texts.first().startsWith("Unable to open a new System Exclusive View."));
        QCOMPARE(m_window->mdiArea()->subWindowList().size(), WindowKinds::SystemExclusiveViewCountLimit);
        const QRect screen = QGuiApplication::primaryScreen()->availableVirtualGeometry();
        QVERIFY(m_window->frameGeometry().width() <= screen.width() + 100);
        for (QMdiSubWindow* window : m_window->mdiArea()->subWindowList()) {
            QVERIFY(window->width() <= screen.width() && window->x() >= -screen.width());
        }
        QTest::qWait(300);
        QCOMPARE(answer.texts.size(), 1);
        m_window->close();
        cleanup();
        QSettings settings(SettingsStore::iniFilePath(), QSettings::IniFormat);
        QCOMPARE(settings.value("Preferences/PCKeyboardVelocity").toInt(), 127);
        QCOMPARE(settings.value("MidiThru/BulkInterval").toInt(), 1000);
        start();  // for cleanup
    }

    void saveQuestionAnswers()
    {
        // Unchanged: nothing asked.
        addNoteView(1, "a");
        m_window->project()->closeAll();
        QTRY_COMPARE(m_window->mdiArea()->subWindowList().size(), 0);

        addNoteView(1, "a");
        m_model->setParameterEditFlag(ParameterEditFlagEdited);
        {
            BoxAnswer cancel(QMessageBox::Cancel);
            m_window->project()->closeAll();
            QCOMPARE(cancel.texts, QStringList{"Do you want to save changes?"});
            QCOMPARE(m_window->mdiArea()->subWindowList().size(), 1);
            QCOMPARE(m_model->getParameterEditFlag(), ParameterEditFlagEdited);
        }
        {
            BoxAnswer no(QMessageBox::No);
            m_window->project()->closeAll();
            QTRY_COMPARE(m_window->mdiArea()->subWindowList().size(), 0);
            QCOMPARE(m_model->getParameterEditFlag(), ParameterEditFlagUnchanged);
        }
        {
            // Yes saves first: with a project path, straight to it.
            const QString path = m_dir.filePath("yes.ostrel");
            addNoteView(9, "saved");
            QVERIFY(m_window->project()->saveProjectFile(path));
            m_model->setParameterEditFlag(ParameterEditFlagEdited);
            BoxAnswer yes(QMessageBox::Yes);
            m_window->project()->newFile();
            QCOMPARE(yes.texts, QStringList{"Do you want to save changes?"});
            QCOMPARE(m_window->windowTitle(), QString("Ostrel"));
            QVERIFY(QFileInfo(path).size() > 56);
        }
    }

    void saveAsGivesABareNameTheProjectSuffix()
    {
        m_model->setModelStringValue(ParamProjectFileWorkingDirectory, m_dir.path());
        addNoteView(2, "named");
        FileDialogAnswer answer("bench");
        // A folder named like the typed name where the program runs must
        // not keep the suffix away.
        const QString workingDirectory = QDir::currentPath();
        QTemporaryDir elsewhere;
        QVERIFY(QDir(elsewhere.path()).mkdir("bench"));
        QDir::setCurrent(elsewhere.path());
        const bool saved = m_window->project()->saveAsFile();
        QDir::setCurrent(workingDirectory);
        QVERIFY(saved);
        QCOMPARE(answer.proposed, QString("Untitled.ostrel"));
        QVERIFY(QFileInfo(m_dir.filePath("bench.ostrel")).size() > 56);
        QVERIFY(!QFileInfo::exists(m_dir.filePath("bench")));
        QCOMPARE(m_window->windowTitle(), QString("bench.ostrel - Ostrel"));
    }

    void iniSettingsWrittenAndReadBack()
    {
        m_model->setModelIntValue(ParamBulkInterval, 250);
        m_model->setModelIntValue(ParamMessageMiddleC, 2);
        m_model->setModelIntValue(ParamPCKeyboardOctave, -3);
        m_model->setModelIntValue(ParamChannelFilterFirst + 9, 1);
        m_model->setModelIntValue(ParamControlChangeFilterFirst + 7, 1);
        m_model->setModelStringValue(ParamDumpFileWorkingDirectory, "/tmp/dumps");
        QStringList names;
        unsigned int current = 0;
        m_window->ports()->getInputPortList(InputPortGroup_First, names, current);
        m_window->ports()->inputPortMenuSelected(InputPortGroup_First, 1);
        QMdiSubWindow* first = addNoteView(1, "a");
        first->setGeometry(5, 6, 225, 250);
        addNoteView(2, "b");
        m_window->close();
        cleanup();

        QSettings settings(SettingsStore::iniFilePath(), QSettings::IniFormat);
        QCOMPARE(settings.value("MidiThru/BulkInterval").toInt(), 250);
        QCOMPARE(settings.value("Preferences/MessageMiddleC").toInt(), 2);
        QCOMPARE(settings.value("MidiFilter/9").toInt(), 1);
        QCOMPARE(settings.value("MidiFilter/007 Volume").toInt(), 1);
        QCOMPARE(settings.value("MidiFilter/Note On").toInt(), 0);
        QCOMPARE(settings.value("FileWorkingDirectory/DumpFileWorkingDirectory").toString(), QString("/tmp/dumps"));
        QCOMPARE(settings.value("PortName/InputPortName").toString(), QString("Ostrel Loopback 2"));
        settings.beginGroup("SavePosition");
        QCOMPARE(settings.childKeys(), QStringList({"0000000000-0-0", "0000000001-5-0", "0000000002-5-1"}));
        QCOMPARE(settings.value("0000000001-5-0").toList().at(0).toRect(), QRect(5, 6, 225, 250));
        settings.endGroup();
        settings.setValue("MidiFilter/Note Off", 2);  // read as true
        settings.sync();

        start();
        QCOMPARE(m_model->getModelIntValue(ParamBulkInterval, nullptr), 250);
        QCOMPARE(m_model->getModelIntValue(ParamMessageMiddleC, nullptr), 2);
        QCOMPARE(m_model->getModelIntValue(ParamPCKeyboardOctave, nullptr), -3);
        QCOMPARE(m_model->getModelIntValue(ParamChannelFilterFirst + 9, nullptr), 1);
        QCOMPARE(m_model->getModelIntValue(ParamMessageFilterFirst, nullptr), 1);
        QCOMPARE(m_model->getModelStringValue(ParamDumpFileWorkingDirectory, nullptr), QString("/tmp/dumps"));
        QCOMPARE(m_model->getModelIntValue(ParamInputPortIndex, nullptr), 2);
        QCOMPARE(m_model->getParameterEditFlag(), ParameterEditFlagUnchanged);
        // The layout came back in its stored order.
        QCOMPARE(m_window->mdiArea()->subWindowList().size(), 2);
        QCOMPARE(m_views.first()->windowId(), WindowRestorationInfo::ControlChangeId);
    }

    void missingAndNotConnectedPortNames()
    {
        {
            QSettings settings(SettingsStore::iniFilePath(), QSettings::IniFormat);
            settings.setValue("PortName/InputPortName", "Not Connected");
            settings.setValue("PortName/OutputPortName", "Gone Away");
        }
        cleanup();
        start();
        QCOMPARE(m_window->ports()->input(InputPortGroup_First)->portIndex(), InvalidPortIndex);
        QCOMPARE(m_model->getModelIntValue(ParamInputPortIndex, nullptr), 0);
        QCOMPARE(m_model->getModelIntValue(ParamOutputPortIndex, nullptr), 0);
    }
};

QTEST_MAIN(ProjectFileTest)
#include "ProjectFileTest.moc"
