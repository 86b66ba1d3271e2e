#include "ProjectFileHelper.h"

#include <QBuffer>
#include <QDataStream>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMdiSubWindow>
#include <QMetaType>
#include <QSaveFile>

#include <algorithm>
#include <memory>

#include "FileStream.h"
#include "LayoutStore.h"
#include "MainWindow.h"
#include "SubWindowArea.h"
#include "WindowKinds.h"
#include "WindowRegistry.h"
#include "WindowRestorationInfo.h"

const char ProjectFileHelper::ProjectFileFileID1[IdentifierSize] = "KALDER";
const char ProjectFileHelper::ProjectFileFileID2[IdentifierSize] = "Ostrel";
const char ProjectFileHelper::ProjectFileFileVersion[IdentifierSize] = "1.6.0";

namespace {

constexpr qint32 RestorationValueMarker = 16;
constexpr qint32 MaximumCoordinate = 1 << 24;

void prepare(QDataStream& stream)
{
    stream.setVersion(QDataStream::Qt_5_12);
    stream.setByteOrder(QDataStream::BigEndian);
}

qint64 remaining(const QDataStream& stream)
{
    return stream.device() ? stream.device()->bytesAvailable() : 0;
}

// (major, minor, patch) of a version field; parts that are not numbers count as 0.
QList<unsigned int> versionNumbers(const QByteArray& field)
{
    const QByteArray text = field.left(field.indexOf('\0') < 0 ? field.size() : field.indexOf('\0'));
    QList<unsigned int> numbers;
    for (const QByteArray& part : text.split('.')) {
        numbers.append(part.toUInt());
    }
    while (numbers.size() < 3) {
        numbers.append(0);
    }
    return numbers.mid(0, 3);
}

// Reads a restoration value in Qt 5.12's variant format, integers only: any
// other type is refused rather than deserialised.
bool readIntegerVariant(QDataStream& stream, QVariant& value)
{
    quint32 type = 0;
    qint8 isNull = 0;
    stream >> type >> isNull;
    switch (type) {
    case QMetaType::Int: {
        qint32 v = 0;
        stream >> v;
        value = QVariant(int(v));
        break;
    }
    case QMetaType::UInt: {
        quint32 v = 0;
        stream >> v;
        value = QVariant(uint(v));
        break;
    }
    case QMetaType::LongLong: {
        qint64 v = 0;
        stream >> v;
        value = QVariant(qlonglong(v));
        break;
    }
    case QMetaType::ULongLong: {
        quint64 v = 0;
        stream >> v;
        value = QVariant(qulonglong(v));
        break;
    }
    default:
        return false;
    }
    return stream.status() == QDataStream::Ok;
}

}  // namespace

int ProjectFileHelper::convertStringToInt(const char& character)
{
    return (character >= '0' && character <= '9') ? character - '0' : 0;
}

bool ProjectFileHelper::writeWindowInfo(QDataStream& stream, const WindowInfoStruct& info)
{
    QByteArray record;
    {
        QDataStream fields(&record, QIODevice::WriteOnly);
        prepare(fields);
        fields << qint32(info.windowId) << qint32(info.stayOnTop) << qint32(info.rect.x())
               << qint32(info.rect.y()) << qint32(info.rect.width()) << qint32(info.rect.height())
               << qint32(info.windowState);
        for (const QVariant& value : info.restorationData) {
            fields << RestorationValueMarker << value;
        }
    }
    stream << qint32(record.size());
    return stream.writeRawData(record.constData(), record.size()) == record.size() &&
           stream.status() == QDataStream::Ok;
}

bool ProjectFileHelper::readWindowInfo(QDataStream& stream, WindowInfoStruct& info)
{
    qint32 length = 0;
    stream >> length;
    if (stream.status() != QDataStream::Ok || length <= 0 || length > remaining(stream)) {
        return false;
    }
    QByteArray record(length, '\0');
    if (stream.readRawData(record.data(), length) != length) {
        return false;
    }
    QDataStream fields(record);
    prepare(fields);
    qint32 x = 0, y = 0, width = 0, height = 0;
    fields >> info.windowId >> info.stayOnTop >> x >> y >> width >> height >> info.windowState;
    // No screen is millions of pixels wide: such a rectangle is damage, and
    // its edges might not even fit an int.
    const auto plausible = [](qint32 v, qint32 low) { return v >= low && v <= MaximumCoordinate; };
    if (fields.status() != QDataStream::Ok || !plausible(x, -MaximumCoordinate) ||
        !plausible(y, -MaximumCoordinate) || !plausible(width, 0) || !plausible(height, 0)) {
        return false;
    }
    info.rect = QRect(x, y, width, height);
    info.restorationData.clear();
    while (!fields.atEnd()) {
        qint32 marker = 0;
        fields >> marker;  // written as 16, never checked
        QVariant value;
        if (!readIntegerVariant(fields, value)) {
            return false;
        }
        info.restorationData.append(value);
    }
    return true;
}

QByteArray ProjectFileHelper::serialize(const Project& project)
{
    QByteArray windows;
    {
        QDataStream stream(&windows, QIODevice::WriteOnly);
        prepare(stream);
        writeWindowInfo(stream, project.mainWindow);
        for (const WindowEntry& entry : project.subWindows) {
            writeWindowInfo(stream, entry.info);
            stream << qint32(entry.content.size());
            stream.writeRawData(entry.content.constData(), entry.content.size());
        }
    }
    QByteArray file;
    QDataStream stream(&file, QIODevice::WriteOnly);
    prepare(stream);
    stream.writeRawData(ProjectFileFileID1, IdentifierSize);
    stream.writeRawData(ProjectFileFileID2, IdentifierSize);
    stream.writeRawData(ProjectFileFileVersion, IdentifierSize);
    stream << ProjectFileWindowDataChunkId << qint32(windows.size());
    stream.writeRawData(windows.constData(), windows.size());
    return file;
}

int ProjectFileHelper::parse(const QByteArray& bytes, Project& project, QString* reason)
{
    const auto failure = [reason](const QString& why) {
        if (reason) {
            *reason = why;
        }
        return ReadFailure;
    };
    if (bytes.isEmpty()) {
        return failure(QStringLiteral("the file is empty"));
    }
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QDataStream stream(&buffer);
    prepare(stream);
    char field[IdentifierSize];
    for (const char* expected : {ProjectFileFileID1, ProjectFileFileID2}) {
        if (stream.readRawData(field, IdentifierSize) != IdentifierSize ||
            memcmp(field, expected, IdentifierSize) != 0) {
            return failure(QStringLiteral("not a project file"));
        }
    }
    if (stream.readRawData(field, IdentifierSize) != IdentifierSize) {
        return failure(QStringLiteral("not a project file"));
    }
    // Newer formats are refused: (major, minor, patch) compared as numbers.
    const QList<unsigned int> file = versionNumbers(QByteArray(field, IdentifierSize));
    const QList<unsigned int> ours = versionNumbers(QByteArray(ProjectFileFileVersion, IdentifierSize));
    if (file > ours) {
        return ReadVersionError;
    }
    quint32 chunk = 0;
    qint32 length = 0;
    stream >> chunk >> length;
    if (stream.status() != QDataStream::Ok || chunk != ProjectFileWindowDataChunkId || length <= 0) {
        return failure(QStringLiteral("no window data"));
    }
    if (!readWindowInfo(stream, project.mainWindow)) {
        return failure(QStringLiteral("the main window's record is damaged"));
    }
    while (!stream.atEnd()) {
        WindowEntry entry;
        const int number = project.subWindows.size() + 1;
        if (!readWindowInfo(stream, entry.info)) {
            return failure(QStringLiteral("the record of window %1 is damaged").arg(number));
        }
        qint32 size = 0;
        stream >> size;
        const bool fits = stream.status() == QDataStream::Ok && size >= 0 && size <= remaining(stream);
        if (fits) {
            entry.content.resize(size);
        }
        if (!fits || (size > 0 && stream.readRawData(entry.content.data(), size) != size)) {
            return failure(QStringLiteral("the content of window %1 runs past the end of the file").arg(number));
        }
        project.subWindows.append(entry);
    }
    return ReadSuccess;
}

bool ProjectFileHelper::collect(Project& project) const
{
    project.mainWindow.windowId = WindowRestorationInfo::MainWindowId;
    project.mainWindow.stayOnTop = (m_window->windowFlags() & Qt::WindowStaysOnTopHint) ? 1 : 0;
    project.mainWindow.rect = m_window->area()->isNormalState(m_window) ? m_window->geometry()
                                                                      : m_window->area()->normalRect(m_window);
    project.mainWindow.windowState = static_cast<qint32>(m_window->windowState());
    for (QMdiSubWindow* window : m_window->area()->windowsInActivationOrder()) {
        auto* info = dynamic_cast<WindowRestorationInfo*>(window->widget());
        auto* content = dynamic_cast<FileStream*>(window->widget());
        if (!info || !content) {
            continue;
        }
        WindowEntry entry;
        entry.info.windowId = info->windowId();
        entry.info.stayOnTop = (window->windowFlags() & Qt::WindowStaysOnTopHint) ? 1 : 0;
        entry.info.rect = m_window->area()->isNormalState(window) ? window->geometry()
                                                                : m_window->area()->normalRect(window);
        entry.info.windowState = static_cast<qint32>(window->windowState());
        entry.info.restorationData = info->restorationData();
        QDataStream stream(&entry.content, QIODevice::WriteOnly);
        prepare(stream);
        if (!content->getDataStream(stream)) {
            return false;
        }
        project.subWindows.append(entry);
    }
    return true;
}

int ProjectFileHelper::fail(int result, const QString& reason)
{
    m_reason = reason;
    return result;
}

int ProjectFileHelper::writeFile(const QString& path)
{
    m_reason.clear();
    Project project;
    if (!collect(project)) {
        return fail(WriteFailure, QStringLiteral("a window could not write its content"));
    }
    const QByteArray bytes = serialize(project);
    if (bytes.size() > MaximumFileSize) {
        return fail(WriteTooLarge, QStringLiteral("the project would take %1 MB; at most %2 MB can be opened again")
                                       .arg((bytes.size() + (1 << 20) - 1) >> 20)
                                       .arg(MaximumFileSize >> 20));
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return fail(WriteFailure, error);
    }
    return file.commit() ? WriteSuccess : fail(WriteFailure, file.errorString());
}

int ProjectFileHelper::readFile(const QString& path)
{
    m_reason.clear();
    if (!QFileInfo(path).isFile()) {
        // A folder, or a pipe that would never end.
        return fail(ReadFailure, QFileInfo::exists(path) ? QStringLiteral("not a regular file")
                                                         : QStringLiteral("no such file"));
    }
    QFile file(path);
    if (file.size() > MaximumFileSize) {
        return fail(ReadFailure, QStringLiteral("larger than %1 MB").arg(MaximumFileSize >> 20));
    }
    if (!file.open(QIODevice::ReadOnly)) {
        return fail(ReadFailure, file.errorString());
    }
    Project project;
    const int parsed = parse(file.read(MaximumFileSize + 1), project, &m_reason);
    if (parsed != ReadSuccess) {
        return parsed;
    }
    return canApply(project) ? apply(project) : ReadFailure;
}

bool ProjectFileHelper::canApply(const Project& project)
{
    const WindowRegistry& kinds = m_window->windows();
    QHash<qint32, int> counts;
    for (int i = 0; i < project.subWindows.size(); i++) {
        const WindowEntry& entry = project.subWindows.at(i);
        const auto id = static_cast<WindowRestorationInfo::WindowId>(entry.info.windowId);
        const bool restorable =
            id >= WindowRestorationInfo::FirstSubWindowId && id <= WindowRestorationInfo::LastSubWindowId;
        if (!restorable || !kinds.has(id)) {
            m_reason = QStringLiteral("unknown window kind %1").arg(entry.info.windowId);
            return false;
        }
        const QString title = kinds.title(id).remove(QLatin1Char('&'));
        if (++counts[id] > kinds.limit(id)) {
            const int count = static_cast<int>(
                std::count_if(project.subWindows.begin(), project.subWindows.end(),
                              [id](const WindowEntry& other) { return other.info.windowId == id; }));
            m_reason = QStringLiteral("%1 %2 windows; at most %3").arg(count).arg(title).arg(kinds.limit(id));
            return false;
        }
        int controller = 0;
        if (id == WindowRestorationInfo::ControlChangeId &&
            !WindowKinds::restoredController(entry.info.restorationData, controller)) {
            m_reason = QStringLiteral("window %1 (%2) has no valid controller").arg(i + 1).arg(title);
            return false;
        }
    }
    return true;
}

int ProjectFileHelper::apply(const Project& project)
{
    m_window->closeAllSubWindows();
    m_window->showNormal();
    m_window->layout()->placeMainWindow(project.mainWindow.rect,
                                         static_cast<Qt::WindowStates>(project.mainWindow.windowState),
                                         project.mainWindow.stayOnTop != 0);
    for (int i = 0; i < project.subWindows.size(); i++) {
        const WindowEntry& entry = project.subWindows.at(i);
        QMdiSubWindow* window = m_window->layout()->restoreSubWindow(
            static_cast<WindowRestorationInfo::WindowId>(entry.info.windowId), entry.info.stayOnTop != 0,
            entry.info.rect, static_cast<Qt::WindowStates>(entry.info.windowState),
            entry.info.restorationData);
        const int number = i + 1;
        if (!window) {
            return fail(ReadAppliedInPart, QStringLiteral("window %1 could not be opened").arg(number));
        }
        auto* content = dynamic_cast<FileStream*>(window->widget());
        if (content && !entry.content.isEmpty()) {
            QDataStream stream(entry.content);
            prepare(stream);
            if (!content->setDataStream(stream)) {
                return fail(ReadAppliedInPart, QStringLiteral("the content of window %1 (%2) is damaged")
                                                   .arg(number)
                                                   .arg(window->windowTitle()));
            }
        }
    }
    return ReadSuccess;
}
