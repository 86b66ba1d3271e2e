#include "MidiMessageText.h"

#include <QRegularExpression>

namespace {

// Everything the format ignores: separators, and comments with their line break.
const char* const RegExpOfUunnecessaryCharacterForMessage = " |,|\\t|\\n|(//|//([^\\n]+))(\\n|$)";

int hexDigit(QChar character)
{
    const ushort c = character.unicode();
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

}  // namespace

QString MidiMessageText::removeUnnecessaryCharacters(const QString& text)
{
    static const QRegularExpression unnecessary(QString::fromLatin1(RegExpOfUunnecessaryCharacterForMessage));
    QString stripped = text;
    stripped.replace(QChar(0x2029), QLatin1Char('\n'));
    return stripped.remove(unnecessary);
}

bool MidiMessageText::toBytes(const QString& digits, int first, int count, QByteArray& out)
{
    out.clear();
    out.reserve(count);
    for (int i = first; i < first + count; i++) {
        if (2 * i + 1 >= digits.size()) {
            return false;
        }
        const int high = hexDigit(digits.at(2 * i));
        const int low = hexDigit(digits.at(2 * i + 1));
        if (high < 0 || low < 0) {
            return false;
        }
        out.append(static_cast<char>((high << 4) | low));
    }
    return true;
}

unsigned int MidiMessageText::getTransmissionMessageSize(const QString& text)
{
    const QString digits = removeUnnecessaryCharacters(text);
    if (digits.isEmpty()) {
        return 0;
    }
    if (digits.size() % 2 != 0) {
        return UnknownSize;
    }
    for (const QChar character : digits) {
        if (hexDigit(character) < 0) {
            return UnknownSize;
        }
    }
    return static_cast<unsigned int>(digits.size() / 2);
}
