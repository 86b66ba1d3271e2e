#include "MessageSource.h"

#include <QFileInfo>

#include "DumpFile.h"
#include "OstrelModel.h"
#include "SysExChecksum.h"

namespace MessageSource {

void addOptions(QCommandLineParser& parser)
{
    parser.addOption({QStringLiteral("hex"), QStringLiteral("The message as hexadecimal pairs (\"F0 7E 7F 06 01 F7\")."),
                      QStringLiteral("text")});
    parser.addOption({QStringLiteral("checksum"),
                      QStringLiteral("Puts a checksum before each F7: sum (7-bit two's complement) or xor."),
                      QStringLiteral("sum|xor")});
    parser.addOption({QStringLiteral("checksum-start"),
                      QStringLiteral("The byte the checksum starts at (F0 is byte 0; default 5 or the settings')."),
                      QStringLiteral("n")});
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("A dump file: .syx (bytes) or text."),
                                 QStringLiteral("[file]"));
}

bool read(const QCommandLineParser& parser, OstrelModel* model, QString& text, QString& error)
{
    const QStringList files = parser.positionalArguments();
    const bool hex = parser.isSet(QStringLiteral("hex"));
    if (files.size() + (hex ? 1 : 0) != 1) {
        error = QStringLiteral("give one dump file or --hex text");
        return false;
    }
    if (hex) {
        text = parser.value(QStringLiteral("hex"));
    } else if (!QFileInfo(files.first()).isFile() || !DumpFile::load(files.first(), text)) {
        error = QStringLiteral("cannot read \"%1\"").arg(files.first());
        return false;
    }
    QByteArray bytes;
    if (!DumpFile::bytesFromText(text, bytes, error)) {
        return false;
    }
    if (bytes.isEmpty()) {
        error = QStringLiteral("there is no message to send");
        return false;
    }
    if (!parser.isSet(QStringLiteral("checksum"))) {
        return true;
    }
    const QString kind = parser.value(QStringLiteral("checksum"));
    if (kind != QLatin1String("sum") && kind != QLatin1String("xor")) {
        error = QStringLiteral("--checksum takes sum or xor, not \"%1\"").arg(kind);
        return false;
    }
    int start = model->getModelIntValue(ParamChecksumStart, nullptr);
    if (parser.isSet(QStringLiteral("checksum-start"))) {
        bool ok = false;
        start = parser.value(QStringLiteral("checksum-start")).toInt(&ok);
        if (!ok || start < 1 || start > 16383) {
            error = QStringLiteral("--checksum-start takes a whole number from 1 to 16383, not \"%1\"")
                        .arg(parser.value(QStringLiteral("checksum-start")));
            return false;
        }
    }
    text = DumpFile::textFromBytes(
        SysExChecksum::withChecksums(kind == QLatin1String("sum") ? SysExChecksum::Sum : SysExChecksum::Xor, bytes, start));
    return true;
}

}  // namespace MessageSource
