// How a view stores its content in a project file: each value as its id, its
// size and its bytes, read back in the order written. A failed read is a
// missing value; it leaves the stream after the fields it consumed.
#pragma once

#include <QDataStream>
#include <QString>

class FileStream {
public:
    virtual ~FileStream() = default;

    // Restores the view from its content; false when the content is unusable.
    virtual bool setDataStream(QDataStream& stream) = 0;
    // Writes the view's content; false when it cannot.
    virtual bool getDataStream(QDataStream& stream) = 0;

    // id, 4, value. Always true.
    static bool setIntParameterToStream(QDataStream& stream, int id, int value);
    // id, n, the n bytes of the UTF-8 form; an empty value writes id and 0
    // and gives false.
    static bool setStringParameterToStream(QDataStream& stream, int id, const QString& value);
    // value := 0; false at the end, for another id or a size other than 4.
    static bool getIntParameterFromStream(QDataStream& stream, int id, int& value);
    // value := empty; false at the end or for another id; a size below 1
    // gives true and the empty value; the bytes are decoded as UTF-8 up to
    // the first NUL. A size beyond the bytes left is false.
    static bool getStringParameterFromStream(QDataStream& stream, int id, QString& value);
};
