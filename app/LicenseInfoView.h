// The open-source notice: the libraries Ostrel links and their licences,
// read-only. The text is a resource shipped with the program.
#pragma once

#include <QTextEdit>

class LicenseInfoView : public QTextEdit {
    Q_OBJECT

public:
    static constexpr QSize DefaultSize{675, 300};

    explicit LicenseInfoView(QWidget* parent = nullptr);

    // The text of a shipped file, as Latin-1 up to the first NUL; empty
    // when there is none or it cannot be read.
    static QString readLicenseText(const char* name, const char* extension);
};
