// Arbitrary text in the message text format (dump files, typed text): the
// byte count and the conversion agree, the one-pass stripping leaves what
// the format's regular expression leaves, the pairs with their places read
// the same bytes, the checksum commands stay inside the text, raw bytes
// come back from their dump text, checksums put before each F7 verify, and
// nothing crashes.
#include <QRegularExpression>
#include <QString>

#include <cstdlib>

#include "DumpFile.h"
#include "MidiMessageText.h"
#include "SysExChecksum.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<int>(size));
    const unsigned int count = MidiMessageText::getTransmissionMessageSize(text);
    const QString digits = MidiMessageText::removeUnnecessaryCharacters(text);
    static const QRegularExpression expression(MidiMessageText::unnecessaryCharacterExpression());
    QString expected = text;
    expected.replace(QChar(0x2029), QLatin1Char('\n'));
    if (expected.remove(expression) != digits) {
        abort();
    }
    QByteArray bytes;
    const bool converted = MidiMessageText::toBytes(digits, 0, digits.size() / 2, bytes);
    if (count == MidiMessageText::UnknownSize) {
        if (converted && digits.size() % 2 == 0) {
            abort();  // every pair read, yet the count said unknown
        }
    } else if (!converted || static_cast<unsigned int>(bytes.size()) != count) {
        abort();
    }
    int loneDigit = -1;
    const QVector<MidiMessageText::Pair> pairs = MidiMessageText::pairs(text, &loneDigit);
    if (pairs.size() != digits.size() / 2 || (loneDigit >= 0) != (digits.size() % 2 == 1)) {
        abort();
    }
    for (int i = 0; i < pairs.size(); i++) {
        const MidiMessageText::Pair& pair = pairs.at(i);
        if (pair.start < 0 || pair.end > text.size() || pair.start >= pair.end ||
            (i < bytes.size() && pair.value != static_cast<unsigned char>(bytes.at(i)))) {
            abort();
        }
    }
    // The first two bytes choose a selection and a start offset.
    const int from = size > 0 ? data[0] % (text.size() + 1) : 0;
    const int to = size > 1 ? from + data[1] % (text.size() - from + 1) : from;
    SysExChecksum::Edit edit;
    QString error;
    if (SysExChecksum::insertion(SysExChecksum::Sum, text, from, to, 1 + (size > 2 ? data[2] % 8 : 0), edit,
                                 error) &&
        (edit.start < 0 || edit.end > text.size() || edit.start > edit.end)) {
        abort();
    }
    if (SysExChecksum::verify(SysExChecksum::Xor, text, 5).isEmpty()) {
        abort();
    }
    // The same input as the raw bytes of a .syx file: what its text gives
    // back, when the text can be saved, is exactly those bytes.
    const QByteArray raw(reinterpret_cast<const char*>(data), static_cast<int>(size));
    QByteArray again;
    if (DumpFile::bytesFromText(DumpFile::textFromBytes(raw), again, error) && again != raw) {
        abort();
    }
    // The command line's checksums before each F7: the editor's Verify
    // finds every one of them correct.
    const auto kind = size > 3 && data[3] % 2 ? SysExChecksum::Xor : SysExChecksum::Sum;
    const int start = 1 + (size > 4 ? data[4] % 8 : 0);
    const QByteArray summed = SysExChecksum::withChecksums(kind, raw, start);
    for (const QString& line : SysExChecksum::verify(kind, DumpFile::textFromBytes(summed), start)) {
        if (line.contains(QLatin1String("wrong"))) {
            abort();
        }
    }
    return 0;
}
