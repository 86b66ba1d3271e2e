// Arbitrary text in the message text format (dump files, typed text): the
// byte count and the conversion agree, the one-pass stripping leaves what
// the format's regular expression leaves, and nothing crashes.
#include <QRegularExpression>
#include <QString>

#include <cstdlib>

#include "MidiMessageText.h"

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
    return 0;
}
