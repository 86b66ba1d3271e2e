// Dump files: the editor's text as it stands (.txt, and any file that is
// not binary), or system exclusive messages as raw bytes (.syx, and any
// file whose first byte is F0). A binary file opens as one message per
// line in the message text format; a save as .syx writes the bytes the
// text stands for and refuses, naming the line, a pair that is not
// hexadecimal, a lone last digit or a system exclusive message without its
// F7. Pure functions and file reads and writes; user-interface thread.
#pragma once

#include <QByteArray>
#include <QString>

namespace DumpFile {

// The file dialogs' filters, the first one the default.
QString filters();
// True for a name that ends in ".syx" (in any case).
bool isBinaryName(const QString& path);
// True for the names a drop opens as a dump: "*.txt" and "*.syx", exactly.
bool isDropName(const QString& path);

// Raw bytes as text: hexadecimal pairs, a new line before every status
// byte other than F7.
QString textFromBytes(const QByteArray& bytes);
// The bytes of text; false with the reason, naming its line, when the text
// cannot be written as raw bytes.
bool bytesFromText(const QString& text, QByteArray& bytes, QString& error);

// Reads a dump file as text; false when it cannot be read (or is larger
// than the text files' limit).
bool load(const QString& path, QString& text);
// Writes text to path, as raw bytes for a binary name; false with what to
// tell the user.
bool save(const QString& path, const QString& text, QString& error);

}  // namespace DumpFile
