#include "ChecksumCommands.h"

#include <QInputDialog>
#include <QMenu>
#include <QTextCursor>

#include "MidiEditTextView.h"
#include "MidiEditViewHost.h"
#include "OstrelModel.h"

namespace {

const struct {
    SysExChecksum::Kind kind;
    const char* text;
} Kinds[] = {{SysExChecksum::Sum, "Sum (two's complement, 7 bit)"}, {SysExChecksum::Xor, "XOR (7 bit)"}};

}  // namespace

ChecksumCommands::ChecksumCommands(MidiEditTextView* text, OstrelModel* model, MidiEditViewHost* host)
    : QObject(text), m_text(text), m_model(model), m_host(host)
{
}

int ChecksumCommands::start() const
{
    return m_model->getModelIntValue(ParamChecksumStart, nullptr);
}

void ChecksumCommands::addTo(QMenu* menu)
{
    menu->addSeparator();
    QMenu* insertMenu = menu->addMenu(tr("Insert Chec&ksum"));
    QMenu* verifyMenu = menu->addMenu(tr("&Verify Checksum"));
    for (const auto& entry : Kinds) {
        const SysExChecksum::Kind kind = entry.kind;
        insertMenu->addAction(tr(entry.text), this, [this, kind] { insert(kind); });
        verifyMenu->addAction(tr(entry.text), this, [this, kind] { verify(kind); });
    }
    menu->addAction(tr("Checksum Start (Byte %1)...").arg(start()), this, &ChecksumCommands::chooseStart);
}

bool ChecksumCommands::insert(SysExChecksum::Kind kind)
{
    const QTextCursor selection = m_text->textCursor();
    SysExChecksum::Edit edit;
    QString error;
    if (!SysExChecksum::insertion(kind, m_text->toPlainText(), selection.selectionStart(), selection.selectionEnd(),
                                  start(), edit, error)) {
        m_host->showInformationMessage(error);
        return false;
    }
    QTextCursor cursor(m_text->document());
    cursor.setPosition(edit.start);
    cursor.setPosition(edit.end, QTextCursor::KeepAnchor);
    cursor.insertText(edit.replacement);  // one step to undo
    m_text->setTextCursor(cursor);
    return true;
}

QString ChecksumCommands::verify(SysExChecksum::Kind kind)
{
    const QString report = tr("%1 checksums from byte %2:\n\n")
                               .arg(kind == SysExChecksum::Sum ? tr("Sum") : tr("XOR"))
                               .arg(start()) +
                           SysExChecksum::verify(kind, m_text->toPlainText(), start()).join(QLatin1Char('\n'));
    m_host->showInformationMessage(report);
    return report;
}

void ChecksumCommands::chooseStart()
{
    m_host->releaseHeldNotes();
    bool chosen = false;
    const int value = QInputDialog::getInt(m_text, tr("Checksum Start"), tr("First byte of the checksum (F0 is byte 0):"),
                                           start(), m_model->getModelMinimumValue(ParamChecksumStart, nullptr),
                                           m_model->getModelMaximumValue(ParamChecksumStart, nullptr), 1, &chosen);
    if (chosen) {
        m_model->setModelIntValue(ParamChecksumStart, value);
    }
}
