#include "MidiMessageText.h"

namespace {

// Everything the format ignores: separators, and comments with their line break.
const char* const RegExpOfUunnecessaryCharacterForMessage = " |,|\\t|\\n|(//|//([^\\n]+))(\\n|$)";

bool isLineBreak(QChar character)
{
    return character == QLatin1Char('\n') || character.unicode() == 0x2029;
}

bool isSeparator(QChar character)
{
    return character == QLatin1Char(' ') || character == QLatin1Char(',') || character == QLatin1Char('\t') ||
           isLineBreak(character);
}

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
    // What removing every match of RegExpOfUunnecessaryCharacterForMessage
    // (after U+2029 became a line break) leaves, in one pass: a dump of
    // megabytes is stripped in milliseconds rather than a second.
    QString stripped(text.size(), Qt::Uninitialized);
    QChar* out = stripped.data();
    const QChar* characters = text.constData();
    const int length = text.size();
    int i = 0;
    while (i < length) {
        const QChar character = characters[i];
        if (isSeparator(character)) {
            i++;
        } else if (character == QLatin1Char('/') && i + 1 < length && characters[i + 1] == QLatin1Char('/')) {
            i += 2;
            while (i < length && !isLineBreak(characters[i])) {
                i++;
            }
            i++;  // the comment's line break goes with it
        } else {
            *out++ = character;
            i++;
        }
    }
    stripped.resize(static_cast<int>(out - stripped.constData()));
    return stripped;
}

QVector<int> MidiMessageText::digitsBeforeLines(const QString& text)
{
    QVector<int> starts{0};
    int digits = 0;
    bool comment = false;
    const QChar* characters = text.constData();
    const int length = text.size();
    for (int i = 0; i < length; i++) {
        const QChar character = characters[i];
        if (isLineBreak(character)) {
            comment = false;
            starts.append(digits);
        } else if (comment || isSeparator(character)) {
            continue;
        } else if (character == QLatin1Char('/') && i + 1 < length && characters[i + 1] == QLatin1Char('/')) {
            comment = true;
        } else {
            digits++;
        }
    }
    return starts;
}

QString MidiMessageText::unnecessaryCharacterExpression()
{
    return QString::fromLatin1(RegExpOfUunnecessaryCharacterForMessage);
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

QVector<MidiMessageText::Pair> MidiMessageText::pairs(const QString& text, int* loneDigit)
{
    QVector<Pair> result;
    int pending = -1;  // the place of a first digit waiting for its second
    const int length = text.size();
    for (int i = 0; i < length; i++) {
        const QChar character = text.at(i);
        if (isSeparator(character)) {
            continue;
        }
        if (character == QLatin1Char('/') && i + 1 < length && text.at(i + 1) == QLatin1Char('/')) {
            while (i + 1 < length && !isLineBreak(text.at(i + 1))) {
                i++;
            }
            continue;
        }
        if (pending < 0) {
            pending = i;
            continue;
        }
        const int high = hexDigit(text.at(pending));
        const int low = hexDigit(character);
        result.append({pending, i + 1, high < 0 || low < 0 ? -1 : high * 16 + low});
        pending = -1;
    }
    if (loneDigit) {
        *loneDigit = pending;
    }
    return result;
}
