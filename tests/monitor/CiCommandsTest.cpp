// The editor's "Insert MIDI-CI" menu: what each entry puts in, read back by
// the monitors' own decoder.
#include <QMenu>
#include <QtTest>

#include "CiCommands.h"
#include "CiDecoder.h"
#include "CiMessages.h"
#include "MidiEditTextView.h"
#include "MidiMessageText.h"
#include "OstrelModel.h"

namespace {

QAction* entry(QMenu& menu, const QString& text)
{
    for (QAction* action : menu.actions()) {
        if (action->menu()) {
            if (QAction* found = entry(*action->menu(), text)) {
                return found;
            }
        } else if (action->text().remove('&') == text) {
            return action;
        }
    }
    return nullptr;
}

// Each line of the text through a decoder, with details.
QStringList decoded(const QString& text)
{
    CiDecoder decoder;
    QStringList lines;
    for (const QString& line : text.split('\n', Qt::SkipEmptyParts)) {
        QByteArray bytes;
        for (const MidiMessageText::Pair& pair : MidiMessageText::pairs(line)) {
            bytes += static_cast<char>(pair.value);
        }
        QByteArray words;
        decoder.decode(words, reinterpret_cast<const unsigned char*>(bytes.constData()), bytes.size() - 1, 0, true);
        lines << QString::fromLatin1(words);
    }
    return lines;
}

}  // namespace

class CiCommandsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void eachEntryPutsInItsInquiry()
    {
        QCoreApplication::setApplicationVersion("1.6.0");
        OstrelModel model;
        MidiEditTextView text(nullptr, &model, false);
        CiCommands commands(&text);
        QObject::connect(&text, &MidiEditTextView::contextMenuCreated, &commands, &CiCommands::addTo);
        text.setPlainText("F0 7D 01 F7");  // the cursor at the start of a line with text
        QTextCursor cursor = text.textCursor();
        cursor.movePosition(QTextCursor::End);
        text.setTextCursor(cursor);
        const std::unique_ptr<QMenu> menu = text.createContextMenu();
        const QStringList entries{"Discovery", "Endpoint Inquiry", "Profile Inquiry",
                                  "Property Exchange Get \"ResourceList\"", "Property Exchange Get \"DeviceInfo\""};
        for (const QString& name : entries) {
            QAction* action = entry(*menu, name);
            QVERIFY2(action, qPrintable(name));
            action->trigger();
        }
        const QStringList lines = text.toPlainText().split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 6);
        QCOMPARE(lines.first(), QString("F0 7D 01 F7"));
        char muid[8];
        std::snprintf(muid, sizeof muid, "%07X", CiMessages::sessionMuid());
        const QString head = QString(", version 2, from %1 to broadcast").arg(muid);
        const QStringList words = decoded(text.toPlainText()).mid(1);
        QCOMPARE(words.at(0), "MIDI-CI Discovery" + head +
                                  ": maker 7D 00 00, family 0, model 0, software 01 06 00 00, categories 0C (profiles, "
                                  "properties), receivable 1048576 bytes, output path 0");
        QCOMPARE(words.at(1), "MIDI-CI Endpoint Inquiry" + head + ": status 00 (product instance ID)");
        QCOMPARE(words.at(2), "MIDI-CI Profile Inquiry" + head + ", function block");
        QVERIFY2(words.at(3).startsWith("MIDI-CI PE Get" + head + ": request "), qPrintable(words.at(3)));
        QVERIFY(words.at(3).endsWith(", chunk 1 of 1, header {\"resource\":\"ResourceList\"}"));
        // The session's next request ID.
        const int first = words.at(3).section("request ", 1).section(',', 0, 0).toInt();
        QCOMPARE(words.at(4), "MIDI-CI PE Get" + head + QString(": request %1, chunk 1 of 1, header "
                                                                "{\"resource\":\"DeviceInfo\"}")
                                                            .arg((first + 1) & 0x7F));
        QVERIFY(CiMessages::sessionMuid() < 0x0FFFFF00u);
    }
};

QTEST_MAIN(CiCommandsTest)
#include "CiCommandsTest.moc"
