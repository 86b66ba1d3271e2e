// Colouring of monitor and editor text by the rule tables.
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QtTest>

#include "OstrelModel.h"
#include "TextHighlighter.h"

namespace {

// The colour of each character of a block; invalid where none was set.
QList<QColor> colours(const QTextDocument& document, int blockNumber)
{
    const QTextBlock block = document.findBlockByNumber(blockNumber);
    QList<QColor> result;
    for (int i = 0; i < block.length() - 1; i++) {
        result.append(QColor());
    }
    for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
        if (!range.format.hasProperty(QTextFormat::ForegroundBrush)) {
            continue;
        }
        for (int i = range.start; i < range.start + range.length && i < result.size(); i++) {
            result[i] = range.format.foreground().color();
        }
    }
    return result;
}

}  // namespace

class TextHighlighterTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void monitorRulesColourWholeMessages()
    {
        OstrelModel model;
        QTextDocument document;
        TextHighlighter highlighter(&document, &model, TextHighlighter::MonitorFullMessageRules,
                                    TextHighlighter::MonitorFullMessageRuleCount);
        document.setPlainText("90 3C 40\nC5 10\nF8");
        highlighter.rehighlight();
        const QList<QColor> note = colours(document, 0);
        QCOMPARE(note.first(), QColor(172, 172, 255));
        QCOMPARE(note.last(), QColor(172, 172, 255));
        QCOMPARE(colours(document, 1).first(), QColor(255, 28, 28));
        QVERIFY(!colours(document, 2).first().isValid());

        // "Color" off: nothing coloured; on again: everything recoloured at once.
        model.setModelIntValue(ParamMessageColor, 0);
        QVERIFY(!colours(document, 0).first().isValid());
        model.setModelIntValue(ParamMessageColor, 1);
        QCOMPARE(colours(document, 0).first(), QColor(172, 172, 255));
        QCOMPARE(model.getParameterEditFlag(), ParameterEditFlagUnchanged);
    }

    // One line for each rule of the monitor tables: each gets its rule's
    // colour (a rule skipped for a line it matches would leave it plain).
    void everyRuleColoursItsMessage()
    {
        const struct {
            const TextHighlighter::HighlightInfo* table;
            int count;
            QStringList lines;
        } tables[] = {
            {TextHighlighter::MonitorFullMessageRules, TextHighlighter::MonitorFullMessageRuleCount,
             {"F0 *7E 7F", "9A 3C 40", "8F 3C 00", "A0 3C 10", "B2 07 64", "CD 05", "D1 7F", "EE 00 40"}},
            {TextHighlighter::MonitorStatusRules, TextHighlighter::MonitorStatusRuleCount,
             {"9A 3C 40", "8F 3C 00", "A0 3C 10", "B2 07 64", "CD 05", "D1 7F", "EE 00 40"}},
        };
        for (const auto& entry : tables) {
            OstrelModel model;
            QTextDocument document;
            TextHighlighter highlighter(&document, &model, entry.table, entry.count);
            document.setPlainText(entry.lines.join('\n'));
            highlighter.rehighlight();
            for (int i = 0; i < entry.count; i++) {
                QCOMPARE(colours(document, i).first(), entry.table[i].colour);
            }
        }
    }

    void rawRulesTakeOverFromTheNextBlock()
    {
        OstrelModel model;
        QTextDocument document;
        document.setPlainText("90 3C 40 80 3C 00\n90 3C 40 80 3C 00\n      90.125 80 3C 00");
        TextHighlighter highlighter(&document, &model, TextHighlighter::MonitorFullMessageRules,
                                    TextHighlighter::MonitorFullMessageRuleCount);
        highlighter.setHighlightInfo(TextHighlighter::MonitorStatusRules,
                                     TextHighlighter::MonitorStatusRuleCount);
        highlighter.rehighlight();
        // The first block was coloured with the full-message rules, the
        // second with the status-byte rules: only its status bytes.
        QCOMPARE(colours(document, 0).at(4), QColor(172, 172, 255));
        const QList<QColor> raw = colours(document, 1);
        QCOMPARE(raw.at(0), QColor(172, 172, 255));
        QVERIFY(!raw.at(3).isValid());
        QCOMPARE(raw.at(9), QColor(170, 0, 130));
        // A delta time of 90 ms is no status byte.
        const QList<QColor> delta = colours(document, 2);
        QVERIFY(!delta.at(6).isValid());
        QCOMPARE(delta.at(13), QColor(170, 0, 130));
    }

    void editorMarksExclusiveBytesAndComments()
    {
        OstrelModel model;
        QTextDocument document;
        TextHighlighter highlighter(&document, &model, TextHighlighter::EditorRules,
                                    TextHighlighter::EditorRuleCount);
        document.setPlainText("f0 01 F7 // a dump f0");
        highlighter.rehighlight();
        const QList<QColor> line = colours(document, 0);
        QCOMPARE(line.at(0), QColor(96, 96, 255));
        QVERIFY(!line.at(3).isValid());
        QCOMPARE(line.at(6), QColor(96, 96, 255));
        QCOMPARE(line.at(9), QColor(0, 128, 0));
        QCOMPARE(line.last(), QColor(0, 128, 0));  // the comment wins over the later f0
    }
};

QTEST_MAIN(TextHighlighterTest)
#include "TextHighlighterTest.moc"
