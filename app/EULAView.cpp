#include "EULAView.h"

#include "LicenseInfoView.h"

namespace {
const char* const EULATextFileName = "OstrelLicense";
}

EULAView::EULAView(QWidget* parent) : QTextEdit(parent)
{
    setPlainText(LicenseInfoView::readLicenseText(EULATextFileName, "txt"));
    setReadOnly(true);
    resize(LicenseInfoView::DefaultSize);
    setAttribute(Qt::WA_DeleteOnClose);
}
