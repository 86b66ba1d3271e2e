#include "ProjectFileHelper.h"

#include <QBuffer>
#include <QDataStream>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMdiSubWindow>
#include <QMetaType>
#include <QSaveFile>

#include <memory>

#include "FileStream.h"
#include "LayoutStore.h"
#include "MainWindow.h"
#include "SubWindowArea.h"
#include "WindowKinds.h"
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

int ProjectFileHelper::parse(const QByteArray& bytes, Project& project)
{
    if (bytes.isEmpty()) {
        return ReadFailure;
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
            return ReadFailure;
        }
    }
    if (stream.readRawData(field, IdentifierSize) != IdentifierSize) {
        return ReadFailure;
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
        return ReadFailure;
    }
    if (!readWindowInfo(stream, project.mainWindow)) {
        return ReadFailure;
    }
    while (!stream.atEnd()) {
        WindowEntry entry;
        if (!readWindowInfo(stream, entry.info)) {
            return ReadFailure;
        }
        qint32 size = 0;
        stream >> size;
        if (stream.status() != QDataStream::Ok || size < 0 || size > remaining(stream)) {
            return ReadFailure;
        }
        entry.content.resize(size);
        if (size > 0 && stream.readRawData(entry.content.data(), size) != size) {
            return ReadFailure;
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

int ProjectFileHelper::writeFile(const QString& path)
{
    Project project;
    if (!collect(project)) {
        return WriteFailure;  // a view could not write its content
    }
    const QByteArray bytes = serialize(project);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return WriteFailure;
    }
    return file.commit() ? WriteSuccess : WriteFailure;
}

int ProjectFileHelper::readFile(const QString& path)
{
    if (!QFileInfo(path).isFile()) {
        return ReadFailure;  // a folder, or a pipe that would never end
    }
    QFile file(path);
    if (file.size() > MaximumFileSize || !file.open(QIODevice::ReadOnly)) {
        return ReadFailure;
    }
    Project project;
    const int parsed = parse(file.read(MaximumFileSize + 1), project);
    if (parsed != ReadSuccess) {
        return parsed;
    }
    return canApply(project) ? apply(project) : ReadFailure;
}

bool ProjectFileHelper::canApply(const Project& project) const
{
    QHash<qint32, int> counts;
    for (const WindowEntry& entry : project.subWindows) {
        const auto id = static_cast<WindowRestorationInfo::WindowId>(entry.info.windowId);
        int controller = 0;
        const bool restorable =
            id >= WindowRestorationInfo::FirstSubWindowId && id <= WindowRestorationInfo::LastSubWindowId;
        if (!restorable || !m_window->windows().has(id) || ++counts[id] > m_window->windows().limit(id) ||
            (id == WindowRestorationInfo::ControlChangeId &&
             !WindowKinds::restoredController(entry.info.restorationData, controller))) {
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
    for (const WindowEntry& entry : project.subWindows) {
        QMdiSubWindow* window = m_window->layout()->restoreSubWindow(
            static_cast<WindowRestorationInfo::WindowId>(entry.info.windowId), entry.info.stayOnTop != 0,
            entry.info.rect, static_cast<Qt::WindowStates>(entry.info.windowState),
            entry.info.restorationData);
        if (!window) {
            return ReadAppliedInPart;
        }
        auto* content = dynamic_cast<FileStream*>(window->widget());
        if (content && !entry.content.isEmpty()) {
            QDataStream stream(entry.content);
            prepare(stream);
            if (!content->setDataStream(stream)) {
                return ReadAppliedInPart;
            }
        }
    }
    return ReadSuccess;
}
