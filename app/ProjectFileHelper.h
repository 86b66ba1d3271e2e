// Writes and reads project files: the main window's placement and every
// open restorable sub-window with its placement, restoration values and
// content. Big-endian, QDataStream version Qt 5.12, so files are the same
// whatever Qt 5 built the program.
//
// Reading is safe on hostile files: the whole file is parsed and every
// length checked against the bytes that remain before anything is
// allocated; restoration values are accepted only as integers. Only a file
// that parses, and whose windows all can open (known kinds, within each
// kind's limit, valid restoration values), is applied to the windows; files
// above MaximumFileSize are refused before they are read, and a project
// that would be larger is never written: what is saved can be opened again.
// Every failure leaves its reason in words (reason()).
#pragma once

#include <QByteArray>
#include <QList>
#include <QRect>
#include <QString>
#include <QVariant>

class MainWindow;
class QDataStream;

class ProjectFileHelper {
public:
    struct WindowInfoStruct {
        qint32 windowId = 0;
        qint32 stayOnTop = 0;
        QRect rect;
        qint32 windowState = 0;
        QList<QVariant> restorationData;
    };
    struct WindowEntry {
        WindowInfoStruct info;
        QByteArray content;
    };
    struct Project {
        WindowInfoStruct mainWindow;
        QList<WindowEntry> subWindows;
    };

    enum ReadResult { ReadSuccess = 0, ReadVersionError = 1, ReadFailure = 2, ReadAppliedInPart = 3 };
    enum WriteResult { WriteSuccess = 0, WriteFailure = 1, WriteTooLarge = 2 };

    static constexpr int IdentifierSize = 16;
    static constexpr qint64 MaximumFileSize = qint64(256) << 20;
    static constexpr quint32 ProjectFileWindowDataChunkId = 0x57494E44;  // "WIND"
    static const char ProjectFileFileID1[IdentifierSize];
    static const char ProjectFileFileID2[IdentifierSize];
    static const char ProjectFileFileVersion[IdentifierSize];

    explicit ProjectFileHelper(MainWindow* window) : m_window(window) {}
    virtual ~ProjectFileHelper() = default;

    // The main window and its saved sub-windows to path, replacing it only
    // when every byte was written (a failed save leaves the old file intact);
    // WriteTooLarge, with nothing written, above MaximumFileSize.
    int writeFile(const QString& path);
    // ReadSuccess, ReadVersionError for a newer format, ReadFailure for any
    // other problem. The windows are touched only when the file parsed and
    // passed the checks; ReadAppliedInPart when applying still failed after
    // the windows were replaced.
    int readFile(const QString& path);

    // Why the last read or write failed, in a few words ("unknown window
    // kind 42"); empty after a success.
    QString reason() const { return m_reason; }

    // The bytes of a project, and a project from bytes (nothing touched);
    // reason, when given, says why a parse failed.
    static QByteArray serialize(const Project& project);
    static int parse(const QByteArray& bytes, Project& project, QString* reason = nullptr);

    static bool writeWindowInfo(QDataStream& stream, const WindowInfoStruct& info);
    static bool readWindowInfo(QDataStream& stream, WindowInfoStruct& info);
    // The value of one decimal digit, 0 for anything else.
    static int convertStringToInt(const char& character);

private:
    bool collect(Project& project) const;
    // Every window of the project can be opened.
    bool canApply(const Project& project);
    int apply(const Project& project);

    int fail(int result, const QString& reason);

    MainWindow* m_window;
    QString m_reason;
};
