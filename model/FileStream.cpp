#include "FileStream.h"

#include <QIODevice>

bool FileStream::setIntParameterToStream(QDataStream& stream, int id, int value)
{
    stream << qint32(id) << qint32(4) << qint32(value);
    return true;
}

bool FileStream::setStringParameterToStream(QDataStream& stream, int id, const QString& value)
{
    const QByteArray bytes = value.toUtf8();
    stream << qint32(id) << qint32(bytes.size());
    if (bytes.isEmpty()) {
        return false;
    }
    return stream.writeRawData(bytes.constData(), bytes.size()) == bytes.size();
}

namespace {

// The id and size in front of each value; false at the end or for another id.
bool readValueHeader(QDataStream& stream, int id, qint32& size)
{
    size = 0;
    if (stream.atEnd()) {
        return false;
    }
    qint32 storedId = 0;
    stream >> storedId;
    if (storedId != id) {
        return false;
    }
    stream >> size;
    return true;
}

}  // namespace

bool FileStream::getIntParameterFromStream(QDataStream& stream, int id, int& value)
{
    value = 0;
    qint32 size = 0;
    if (!readValueHeader(stream, id, size) || size != 4) {
        return false;
    }
    qint32 stored = 0;
    stream >> stored;
    value = stored;
    return stream.status() == QDataStream::Ok;
}

bool FileStream::getStringParameterFromStream(QDataStream& stream, int id, QString& value)
{
    value.clear();
    qint32 size = 0;
    if (!readValueHeader(stream, id, size)) {
        return false;
    }
    if (size < 1) {
        return true;
    }
    // Checked before anything is allocated: a damaged size never costs memory.
    const QIODevice* device = stream.device();
    if (!device || size > device->bytesAvailable()) {
        return false;
    }
    QByteArray bytes(size, '\0');
    if (stream.readRawData(bytes.data(), size) != size) {
        return false;
    }
    const int end = bytes.indexOf('\0');
    value = QString::fromUtf8(end < 0 ? bytes : bytes.left(end));
    return true;
}
