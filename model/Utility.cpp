#include "Utility.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QRegularExpression>
#include <QSaveFile>
#include <QThread>
#include <QUrl>

#include <cstring>

#include "MidiMessageText.h"

namespace Utility {

static bool readFile(const QString& path, QIODevice::OpenMode mode, QByteArray& bytes)
{
    bytes.clear();
    if (path.isEmpty()) {
        return false;
    }
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > MaximumTextFileSize) {
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | mode)) {
        return false;
    }
    // Read no more than the limit, even from a file that grew meanwhile.
    bytes = file.read(MaximumTextFileSize + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > MaximumTextFileSize) {
        bytes.clear();
        return false;
    }
    return true;
}

static bool writeFile(const QString& path, QIODevice::OpenMode mode, const QByteArray& bytes)
{
    if (path.isEmpty()) {
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | mode)) {
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool loadAtTextFileName(const QString& path, QString& text)
{
    text.clear();
    QByteArray bytes;
    if (!readFile(path, QIODevice::Text, bytes)) {
        return false;
    }
    const int end = bytes.indexOf('\0');
    text = QString::fromUtf8(end < 0 ? bytes : bytes.left(end));
    return true;
}

bool loadBytes(const QString& path, QByteArray& bytes)
{
    return readFile(path, QIODevice::NotOpen, bytes);
}

bool saveAtTextFileName(const QString& path, const QString& text)
{
    return writeFile(path, QIODevice::Text, text.toUtf8());
}

bool saveBytes(const QString& path, const QByteArray& bytes)
{
    return writeFile(path, QIODevice::NotOpen, bytes);
}

static bool directoryExists(const QString& path)
{
    return QFileInfo(path).absoluteDir().exists();
}

QString fileOpenDialogStartPath(const QString& path, const QString& fallbackDirectory)
{
    return directoryExists(path) ? path : fallbackDirectory;
}

QString fileSaveDialogStartPath(const QString& path, const QString& fallbackDirectory)
{
    if (directoryExists(path)) {
        return path;
    }
    return fallbackDirectory + "/" + QFileInfo(path).fileName();
}

QString showFileOpenDialog(QWidget* parent, const QString& caption, const QString& path,
                           const QString& filter, const QString& fallbackDirectory, QString* selectedFilter)
{
    return QFileDialog::getOpenFileName(parent, caption, fileOpenDialogStartPath(path, fallbackDirectory), filter,
                                        selectedFilter);
}

QString filterDefaultSuffix(const QString& filter)
{
    static const QRegularExpression pattern(QStringLiteral("\\*\\.([^\\s;)*]+)"));
    return pattern.match(filter).captured(1);
}

QString showFileSaveDialog(QWidget* parent, const QString& caption, const QString& path,
                           const QString& filter, const QString& fallbackDirectory, QString* selectedFilter)
{
    QFileDialog dialog(parent, caption, fileSaveDialogStartPath(path, fallbackDirectory), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (selectedFilter && !selectedFilter->isEmpty()) {
        dialog.selectNameFilter(*selectedFilter);
    }
    dialog.setDefaultSuffix(filterDefaultSuffix(dialog.selectedNameFilter()));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString& chosen) { dialog.setDefaultSuffix(filterDefaultSuffix(chosen)); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return QString();
    }
    if (selectedFilter) {
        *selectedFilter = dialog.selectedNameFilter();
    }
    // The dialog skips its default suffix when the bare name happens to be
    // a folder in the program's working directory: add it here as well.
    QString chosen = dialog.selectedFiles().constFirst();
    const QFileInfo info(chosen);
    if (!dialog.defaultSuffix().isEmpty() && !info.fileName().contains(QLatin1Char('.')) && !info.isDir()) {
        chosen += QLatin1Char('.') + dialog.defaultSuffix();
    }
    return chosen;
}

QStringList droppedFilePaths(const QMimeData* mime)
{
    QStringList paths;
    if (!mime) {
        return paths;
    }
    const QList<QUrl> urls = mime->urls();
    if (!urls.isEmpty()) {
        for (const QUrl& url : urls) {
            paths.append(url.toLocalFile());
        }
        return paths;
    }
    for (const QString& line : mime->text().split(QLatin1Char('\n'))) {
        const QString entry = line.trimmed();
        if (!entry.isEmpty()) {
            paths.append(QUrl(entry).toLocalFile());
        }
    }
    return paths;
}

QString removeMenuOfModifierCharacter(const QString& text)
{
    static const QRegularExpression modifiers(QStringLiteral("\\&|\\.\\.\\."));
    QString cleaned = text;
    return cleaned.remove(modifiers);
}

int convertHexStringFromDecimalValue(char* out, unsigned char value)
{
    static const char digits[] = "0123456789ABCDEF";
    out[0] = digits[value >> 4];
    out[1] = digits[value & 0x0F];
    out[2] = '\0';
    return 2;
}

bool convert2BytesValueToMsbLsb(unsigned int value, unsigned char& msb, unsigned char& lsb)
{
    if (value > 16383) {
        msb = 0;
        lsb = 0;
        return false;
    }
    lsb = static_cast<unsigned char>(value & 0x7F);
    msb = static_cast<unsigned char>((value >> 7) & 0x7F);
    return true;
}

bool convertHexStringToHexNumber(unsigned char** out, const QString& text, int count)
{
    if (count < 1) {
        return true;
    }
    // Exactly two digits a byte: no sign, no blank, no "0x", no lone last digit.
    QByteArray bytes;
    const bool converted = MidiMessageText::toBytes(text, 0, count, bytes);
    if (out && *out) {
        std::memcpy(*out, bytes.constData(), static_cast<size_t>(bytes.size()));
    }
    return converted;
}

bool isMainThread()
{
    const QCoreApplication* application = QCoreApplication::instance();
    return application && QThread::currentThread() == application->thread();
}

QString getLicenseFilePath(const char* name, const char* extension)
{
    const QString path = QStringLiteral(":/licenses/%1.%2")
                             .arg(QString::fromUtf8(name), QString::fromUtf8(extension));
    return QFile::exists(path) ? path : QString();
}

}  // namespace Utility
