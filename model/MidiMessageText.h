// The message text format: MIDI bytes typed as hexadecimal pairs, what the
// system exclusive editor shows and sends and what dump files hold. Blanks,
// commas, tabs and line breaks (the paragraph separator U+2029 included)
// are ignored wherever they stand, and "//" starts a comment to the end of
// the line; the rest is read two digits at a time. Pure functions, any thread.
#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

class MidiMessageText {
public:
    // The byte count of a text whose digits do not form whole bytes.
    static constexpr unsigned int UnknownSize = 0xFFFFFFFFu;

    // The text with every separator and comment removed: only the
    // characters that are read as digits (or make a pair invalid) remain.
    static QString removeUnnecessaryCharacters(const QString& text);
    // For each line of text, how many digits removeUnnecessaryCharacters
    // keeps before it: the line of a digit is found from its index.
    static QVector<int> digitsBeforeLines(const QString& text);
    // The regular expression that defines what is removed (for checks).
    static QString unnecessaryCharacterExpression();
    // 0 for a text with nothing to send; UnknownSize for an odd number of
    // digits or a pair that is not hexadecimal; otherwise the bytes.
    static unsigned int getTransmissionMessageSize(const QString& text);
    // The bytes of count pairs of stripped digits starting at pair first;
    // false (out as far as it got) at the first pair that is not hexadecimal.
    static bool toBytes(const QString& digits, int first, int count, QByteArray& out);

    // One byte of a text: where its two digits stand ([start, end), with
    // whatever separates them) and its value, -1 when not hexadecimal.
    struct Pair {
        int start;
        int end;
        int value;
    };
    // Every pair of the text, as it is read; a lone last digit is none
    // (its place goes to loneDigit when asked, else -1 there).
    static QVector<Pair> pairs(const QString& text, int* loneDigit = nullptr);
};
