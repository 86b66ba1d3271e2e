// Colours MIDI bytes in the monitors and editors by rules of a regular
// expression and a colour. Monitors use one rule set for parsed lines and
// another for raw ones; editors mark F0/F7 and comments. A new rule set
// takes effect from the next block, never in the middle of one.
// User-interface thread.
#pragma once

#include <QColor>
#include <QSyntaxHighlighter>

#include "ModelAssistant.h"

class OstrelModel;

class TextHighlighter : public QSyntaxHighlighter, public ModelAssistant {
    Q_OBJECT

public:
    enum Unit {
        EachMatch = 0,  // every match, for its own length
        FirstMatch = 1, // the first match only, for length characters (or to the end)
    };

    struct HighlightInfo {
        const char* pattern;
        QColor colour;
        int length;
        Unit unit;
    };

    static const HighlightInfo MonitorFullMessageRules[];
    static const int MonitorFullMessageRuleCount;
    static const HighlightInfo MonitorStatusRules[];
    static const int MonitorStatusRuleCount;
    static const HighlightInfo EditorRules[];
    static const int EditorRuleCount;

    TextHighlighter(QTextDocument* document, OstrelModel* model, const HighlightInfo* table,
                    int count);
    ~TextHighlighter() override;

    // Stores a rule set to take over after the block being coloured.
    void setHighlightInfo(const HighlightInfo* table, int count);
    // Makes a stored rule set current at once (for an empty document).
    void updateHilightInfo();
    // Colours what pattern matches; true when anything matched.
    bool highlight(const QString& text, const QRegularExpression& pattern, const QColor& colour,
                   int length, Unit unit);

    void updateParameter(unsigned int id) override;

protected:
    void highlightBlock(const QString& text) override;

private:
    void takePending();

    OstrelModel* m_model;
    bool m_enabled = true;
    const HighlightInfo* m_table = nullptr;
    int m_count = 0;
    const HighlightInfo* m_pendingTable = nullptr;
    int m_pendingCount = 0;
};
