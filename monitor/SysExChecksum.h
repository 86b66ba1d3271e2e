// Checksums of system exclusive data, on the editor's text: the 7-bit sum
// (two's complement: the byte that brings the sum of the bytes and itself
// to a multiple of 128) and the 7-bit XOR. Insert puts one into the text,
// Verify reports for each message whether its byte before F7 is the
// checksum of the bytes from a start offset (F0 is byte 0) up to it.
// Pure functions; any thread.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace SysExChecksum {

enum Kind { Sum, Xor };

unsigned char of(Kind kind, const QByteArray& bytes);

// A change of the text: the characters [start, end) become replacement.
struct Edit {
    int start = 0;
    int end = 0;
    QString replacement;
};

// Insert Checksum for the selection [selectionStart, selectionEnd):
//  - one pair selected: it is the checksum's place; the pair becomes the
//    checksum of the bytes of its message from startOffset up to it;
//  - more than one pair: the checksum of the selected bytes goes in after
//    the selection, after a space.
// False with a message for the user when the selection allows neither.
bool insertion(Kind kind, const QString& text, int selectionStart, int selectionEnd, int startOffset,
               Edit& edit, QString& error);

// Every system exclusive message of bytes with a checksum put in before
// its F7: of its bytes from startOffset (F0 is byte 0) up to there.
QByteArray withChecksums(Kind kind, const QByteArray& bytes, int startOffset);

// Verify Checksum: one line per system exclusive message in the text.
QStringList verify(Kind kind, const QString& text, int startOffset);

}  // namespace SysExChecksum
