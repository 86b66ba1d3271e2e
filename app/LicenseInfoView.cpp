#include "LicenseInfoView.h"

#include <QFile>

#include "Utility.h"

namespace {
const char* const OpenSourceLicenseTextFileName = "OpenSourceLicense";
const char* const QtVersionShown = "5.12.6";
}

LicenseInfoView::LicenseInfoView(QWidget* parent) : QTextEdit(parent)
{
    QString text = readLicenseText(OpenSourceLicenseTextFileName, "txt");
    setPlainText(text.replace(QStringLiteral("QT_VERSION"), QString::fromLatin1(QtVersionShown)));
    setReadOnly(true);
    resize(DefaultSize);
    setAttribute(Qt::WA_DeleteOnClose);
}

QString LicenseInfoView::readLicenseText(const char* name, const char* extension)
{
    QFile file(Utility::getLicenseFilePath(name, extension));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return QString();
    }
    const QByteArray bytes = file.readAll();
    const int end = bytes.indexOf('\0');
    return QString::fromLatin1(end < 0 ? bytes : bytes.left(end));
}
