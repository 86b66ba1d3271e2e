#include "DumpFile.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>

#include "MidiMessageText.h"
#include "MidiMonitorLine.h"
#include "Utility.h"

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("DumpFile", text);
}

int lineAt(const QString& text, int position)
{
    return text.leftRef(position).count(QLatin1Char('\n')) + 1;
}

}  // namespace

namespace DumpFile {

QString filters()
{
    return tr("Text Files (*.txt);;System exclusive files (*.syx);;All files (*)");
}

bool isBinaryName(const QString& path)
{
    return QFileInfo(path).suffix().compare(QLatin1String("syx"), Qt::CaseInsensitive) == 0;
}

bool isDropName(const QString& path)
{
    // The last suffix only: "fw.v1.2.syx" is a dump file.
    const QString suffix = QFileInfo(path).suffix();
    return suffix == QLatin1String("txt") || suffix == QLatin1String("syx");
}

QString textFromBytes(const QByteArray& bytes)
{
    QByteArray text;
    text.reserve(bytes.size() * 3);
    // In pieces the line builder's length type can hold.
    for (int start = 0; start < bytes.size(); start += 0x8000) {
        const int length = std::min(0x8000, bytes.size() - start);
        if (start > 0) {
            text.append(' ');
        }
        MidiMonitorLine::appendSystemExclusiveText(
            text, reinterpret_cast<const unsigned char*>(bytes.constData()) + start, static_cast<unsigned short>(length));
    }
    text.replace(" \n", "\n");
    if (text.startsWith('\n')) {
        text.remove(0, 1);
    }
    return QString::fromLatin1(text);
}

bool bytesFromText(const QString& text, QByteArray& bytes, QString& error)
{
    bytes.clear();
    int loneDigit = -1;
    const QVector<MidiMessageText::Pair> pairs = MidiMessageText::pairs(text, &loneDigit);
    int openedAt = -1;  // the place of an F0 waiting for its F7
    for (const MidiMessageText::Pair& pair : pairs) {
        if (pair.value < 0) {
            error = tr("Line %1: \"%2\" is not a hexadecimal pair.")
                        .arg(lineAt(text, pair.start))
                        .arg(text.mid(pair.start, pair.end - pair.start).simplified());
            return false;
        }
        if (pair.value >= 0x80 && pair.value != 0xF7 && pair.value < 0xF8 && openedAt >= 0) {
            break;  // a status byte inside an open message
        }
        if (pair.value == 0xF0) {
            openedAt = pair.start;
        } else if (pair.value == 0xF7) {
            openedAt = -1;
        }
        bytes.append(static_cast<char>(pair.value));
    }
    if (openedAt >= 0) {
        error = tr("Line %1: the system exclusive message has no F7.").arg(lineAt(text, openedAt));
        return false;
    }
    if (loneDigit >= 0) {
        error = tr("Line %1: the last digit has no partner.").arg(lineAt(text, loneDigit));
        return false;
    }
    return true;
}

bool load(const QString& path, QString& text)
{
    QByteArray bytes;
    if (!Utility::loadBytes(path, bytes)) {
        text.clear();
        return false;
    }
    if (isBinaryName(path) || bytes.startsWith('\xF0')) {
        text = textFromBytes(bytes);
        return true;
    }
    return Utility::loadAtTextFileName(path, text);
}

bool save(const QString& path, const QString& text, QString& error)
{
    if (!isBinaryName(path)) {
        error = tr("File save failed.");
        return Utility::saveAtTextFileName(path, text);
    }
    QByteArray bytes;
    if (!bytesFromText(text, bytes, error)) {
        return false;
    }
    error = tr("File save failed.");
    return Utility::saveBytes(path, bytes);
}

}  // namespace DumpFile
