#include "SysExChecksum.h"

#include <algorithm>

#include <QCoreApplication>
#include <QVector>

#include "MidiMessageText.h"

namespace {

using Pair = MidiMessageText::Pair;

QString tr(const char* text)
{
    return QCoreApplication::translate("SysExChecksum", text);
}

QString hex(int value)
{
    return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

// The bytes of pairs [first, last); false when one is not hexadecimal.
bool bytesOf(const QVector<Pair>& pairs, int first, int last, QByteArray& bytes)
{
    bytes.clear();
    for (int i = first; i < last; i++) {
        if (pairs.at(i).value < 0) {
            return false;
        }
        bytes.append(static_cast<char>(pairs.at(i).value));
    }
    return true;
}

int lineOf(const QString& text, int position)
{
    return text.leftRef(position).count(QLatin1Char('\n')) + 1;
}

}  // namespace

namespace SysExChecksum {

unsigned char of(Kind kind, const QByteArray& bytes)
{
    unsigned int value = 0;
    for (const char byte : bytes) {
        value = kind == Sum ? value + static_cast<unsigned char>(byte) : value ^ static_cast<unsigned char>(byte);
    }
    return static_cast<unsigned char>(kind == Sum ? (128 - value % 128) % 128 : value & 0x7F);
}

bool insertion(Kind kind, const QString& text, int selectionStart, int selectionEnd, int startOffset, Edit& edit,
               QString& error)
{
    const QVector<Pair> pairs = MidiMessageText::pairs(text);
    int first = 0;
    while (first < pairs.size() && pairs.at(first).end <= selectionStart) {
        first++;
    }
    int last = first;  // one past the last pair wholly inside the selection
    while (last < pairs.size() && pairs.at(last).start >= selectionStart && pairs.at(last).end <= selectionEnd) {
        last++;
    }
    QByteArray bytes;
    if (last - first == 1) {
        int message = first - 1;
        while (message >= 0 && pairs.at(message).value != 0xF0) {
            message--;
        }
        const int from = message + startOffset;
        if (message < 0 || from >= first || from <= message) {
            error = tr("The selected pair is not preceded by a system exclusive message's bytes from offset %1.")
                        .arg(startOffset);
            return false;
        }
        if (!bytesOf(pairs, from, first, bytes)) {
            error = tr("The bytes before the selected pair are not all hexadecimal.");
            return false;
        }
        edit = {pairs.at(first).start, pairs.at(first).end, hex(of(kind, bytes))};
        return true;
    }
    if (last - first < 1) {
        error = tr("Select the bytes to sum, or the pair that holds the checksum.");
        return false;
    }
    if (!bytesOf(pairs, first, last, bytes)) {
        error = tr("The selection holds a pair that is not hexadecimal.");
        return false;
    }
    const int at = pairs.at(last - 1).end;
    edit = {at, at, QStringLiteral(" ") + hex(of(kind, bytes))};
    return true;
}

QStringList verify(Kind kind, const QString& text, int startOffset)
{
    const QVector<Pair> pairs = MidiMessageText::pairs(text);
    QStringList report;
    int number = 0;
    for (int start = 0; start < pairs.size(); start++) {
        if (pairs.at(start).value != 0xF0) {
            continue;
        }
        int end = start + 1;
        while (end < pairs.size() && pairs.at(end).value != 0xF7 && pairs.at(end).value != 0xF0) {
            end++;
        }
        const QString head = tr("Message %1 (line %2): ").arg(++number).arg(lineOf(text, pairs.at(start).start));
        QByteArray bytes;
        const int checksum = end - 1;
        if (end >= pairs.size() || pairs.at(end).value != 0xF7) {
            report.append(head + tr("no F7 ends it."));
        } else if (startOffset < 1 || start + startOffset >= checksum) {
            report.append(head + tr("too short for a checksum from byte %1.").arg(startOffset));
        } else if (!bytesOf(pairs, start + startOffset, checksum + 1, bytes)) {
            report.append(head + tr("holds a pair that is not hexadecimal."));
        } else {
            const int found = static_cast<unsigned char>(bytes.back());
            bytes.chop(1);
            const int expected = of(kind, bytes);
            report.append(head + (found == expected ? tr("checksum %1 is correct.").arg(hex(found))
                                                    : tr("checksum %1 is wrong, %2 expected.")
                                                          .arg(hex(found), hex(expected))));
        }
        start = end - 1;
    }
    if (report.isEmpty()) {
        report.append(tr("The text holds no system exclusive message."));
    }
    return report;
}

QByteArray withChecksums(Kind kind, const QByteArray& bytes, int startOffset)
{
    QByteArray out;
    out.reserve(bytes.size() + bytes.size() / 8 + 1);
    int messageStart = -1;  // in out
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        if (value == 0xF0) {
            messageStart = out.size();
        } else if (value == 0xF7 && messageStart >= 0) {
            const int from = std::min(messageStart + std::max(startOffset, 0), out.size());
            out.append(static_cast<char>(of(kind, out.mid(from))));
            messageStart = -1;
        }
        out.append(byte);
    }
    return out;
}

}  // namespace SysExChecksum
