// Free functions shared by the windows: plain text files, file dialogs with
// a fallback directory, menu-text cleaning, hexadecimal conversions, the
// main-thread test and the lookup of text files shipped with the program.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class QMimeData;
class QWidget;

namespace Utility {

// Reads the whole file and sets text to its bytes decoded as UTF-8 up to the
// first NUL byte. False (with empty text) for an empty path, a file that
// cannot be opened or read, anything but a regular file (a pipe would never
// end) and a file above MaximumTextFileSize. User-interface thread.
constexpr qint64 MaximumTextFileSize = 32 * 1024 * 1024;
bool loadAtTextFileName(const QString& path, QString& text);
// The whole file's bytes, on the same terms.
bool loadBytes(const QString& path, QByteArray& bytes);

// Writes text as UTF-8 to a temporary file beside path and renames it over
// path, so a failed save never leaves a half-written file where a good one
// stood. False for an empty path or when opening, writing or renaming fails.
bool saveAtTextFileName(const QString& path, const QString& text);
// The same for bytes.
bool saveBytes(const QString& path, const QByteArray& bytes);

// The path a file dialog starts at: path, or fallbackDirectory when the
// directory of path does not exist.
QString fileOpenDialogStartPath(const QString& path, const QString& fallbackDirectory);
// As above, but keeps the file name: fallbackDirectory + "/" + its name.
QString fileSaveDialogStartPath(const QString& path, const QString& fallbackDirectory);

// The suffix of the first "*.ext" pattern in a dialog filter: "ostrel" for
// "Project Files (*.ostrel)"; empty when the filter names none.
QString filterDefaultSuffix(const QString& filter);

// The standard dialogs, started where the functions above say; the chosen
// path, or empty when cancelled. A name typed without a suffix in the save
// dialog gets the chosen filter's suffix, so "bench" is saved as
// "bench.ostrel". With selectedFilter, the dialog starts on that filter
// (one of filter's, separated by ";;") and leaves the one chosen there.
QString showFileOpenDialog(QWidget* parent, const QString& caption, const QString& path,
                           const QString& filter, const QString& fallbackDirectory,
                           QString* selectedFilter = nullptr);
QString showFileSaveDialog(QWidget* parent, const QString& caption, const QString& path,
                           const QString& filter, const QString& fallbackDirectory,
                           QString* selectedFilter = nullptr);

// The local files a drop names, in order: its URL list, or the lines of its
// text read as URLs when it carries no list. Empty lines are skipped.
QStringList droppedFilePaths(const QMimeData* mime);

// text without any "&" or "...": "&Preferences..." gives "Preferences".
QString removeMenuOfModifierCharacter(const QString& text);

// Two upper-case hexadecimal digits and a NUL into out (3 bytes); returns 2.
int convertHexStringFromDecimalValue(char* out, unsigned char value);

// Splits a 14-bit value into its high and low seven bits; false (both 0)
// above 16383.
bool convert2BytesValueToMsbLsb(unsigned int value, unsigned char& msb, unsigned char& lsb);

// Parses count pairs of hexadecimal digits from text (no separators) and,
// when out is not null, stores byte i at (*out)[i], which must have room for
// count bytes. False at the first pair that is not two hexadecimal digits
// (bytes stored before it stay); true for count below 1.
bool convertHexStringToHexNumber(unsigned char** out, const QString& text, int count);

// True on the thread of the application object.
bool isMainThread();

// The path of the read-only text file name.extension shipped with the
// program, or empty when there is none.
QString getLicenseFilePath(const char* name, const char* extension);

}  // namespace Utility
