#include "TextHighlighter.h"

#include <QHash>
#include <QRegularExpression>

#include "OstrelModel.h"

const TextHighlighter::HighlightInfo TextHighlighter::MonitorFullMessageRules[] = {
    {"\\bF0\\ \\*\\b", Qt::white, 0, FirstMatch},
    {"\\b9([0-9]|[A-F])\\ [0-7]([0-9]|[A-F])\\ [0-7]([0-9]|[A-F])\\b", QColor(172, 172, 255), 8, EachMatch},
    {"\\b8([0-9]|[A-F])\\ [0-7]([0-9]|[A-F])\\ [0-7]([0-9]|[A-F])\\b", QColor(170, 0, 130), 8, EachMatch},
    {"\\bA([0-9]|[A-F])\\ [0-7]([0-9]|[A-F])\\ [0-7]([0-9]|[A-F])\\b", QColor(67, 127, 140), 8, EachMatch},
    {"\\bB([0-9]|[A-F])\\ [0-7]([0-9]|[A-F])\\ [0-7]([0-9]|[A-F])\\b", QColor(255, 255, 66), 8, EachMatch},
    {"\\bC([0-9]|[A-F])\\ [0-7]([0-9]|[A-F])\\b", QColor(255, 28, 28), 5, EachMatch},
    {"\\bD([0-9]|[A-F])\\ [0-7]([0-9]|[A-F])\\b", QColor(152, 192, 172), 8, EachMatch},
    {"\\bE([0-9]|[A-F])\\ [0-7]([0-9]|[A-F])\\ [0-7]([0-9]|[A-F])\\b", QColor(16, 227, 16), 8, EachMatch},
};
const int TextHighlighter::MonitorFullMessageRuleCount = 8;

const TextHighlighter::HighlightInfo TextHighlighter::MonitorStatusRules[] = {
    {"\\b9([0-9]|[A-F])(?![\\].])\\b", QColor(172, 172, 255), 2, EachMatch},
    {"\\b8([0-9]|[A-F])(?![\\].])\\b", QColor(170, 0, 130), 2, EachMatch},
    {"\\bA([0-9]|[A-F])(?!\\])\\b", QColor(67, 127, 140), 2, EachMatch},
    {"\\bB([0-9]|[A-F])(?!\\])\\b", QColor(255, 255, 66), 2, EachMatch},
    {"\\bC([0-9]|[A-F])[(?! {7})|(?!\\])]\\b", QColor(255, 28, 28), 2, EachMatch},
    {"\\bD([0-9]|[A-F])(?!\\])\\b", QColor(152, 192, 172), 2, EachMatch},
    {"\\bE([0-9]|[A-F])(?!\\])\\b", QColor(16, 227, 16), 2, EachMatch},
};
const int TextHighlighter::MonitorStatusRuleCount = 7;

const TextHighlighter::HighlightInfo TextHighlighter::EditorRules[] = {
    {"(F|f)(0|7)", QColor(96, 96, 255), 2, EachMatch},
    {"//.*", QColor(0, 128, 0), 0, FirstMatch},
};
const int TextHighlighter::EditorRuleCount = 2;

namespace {

// A pattern compiled, with the letters and digits it starts with (after a
// word boundary): a block without them cannot match, and most monitor
// lines (a clock's F8, a note's 9n) have the first letter of one or two
// of the eight patterns at most.
struct Rule {
    QRegularExpression expression;
    QString required;
};

QString requiredText(const char* pattern)
{
    const char* at = pattern;
    if (at[0] == '\\' && at[1] == 'b') {
        at += 2;
    }
    QString text;
    for (; (*at >= '0' && *at <= '9') || (*at >= 'A' && *at <= 'Z') || (*at >= 'a' && *at <= 'z'); at++) {
        text += QLatin1Char(*at);
    }
    return text;
}

// Compiled once per pattern: blocks are coloured often, patterns never change.
const Rule& compiled(const char* pattern)
{
    static QHash<const char*, Rule> cache;
    auto found = cache.find(pattern);
    if (found == cache.end()) {
        found = cache.insert(pattern, Rule{QRegularExpression(QString::fromLatin1(pattern)), requiredText(pattern)});
    }
    return found.value();
}

}  // namespace

TextHighlighter::TextHighlighter(QTextDocument* document, OstrelModel* model,
                                 const HighlightInfo* table, int count)
    : QSyntaxHighlighter(document), m_model(model), m_table(table), m_count(count)
{
    m_enabled = m_model->getModelIntValue(ParamMessageColor, nullptr) != 0;
    m_model->registerModelAssistant(this);
}

TextHighlighter::~TextHighlighter()
{
    m_model->unregisterModelAssistant(this);
}

void TextHighlighter::setHighlightInfo(const HighlightInfo* table, int count)
{
    m_pendingTable = table;
    m_pendingCount = count;
}

void TextHighlighter::takePending()
{
    if (m_pendingTable && m_pendingCount > 0) {
        m_table = m_pendingTable;
        m_count = m_pendingCount;
    }
    m_pendingTable = nullptr;
    m_pendingCount = 0;
}

void TextHighlighter::updateHilightInfo()
{
    takePending();
}

bool TextHighlighter::highlight(const QString& text, const QRegularExpression& pattern,
                                const QColor& colour, int length, Unit unit)
{
    if (unit == FirstMatch) {
        const QRegularExpressionMatch match = pattern.match(text);
        if (!match.hasMatch()) {
            return false;
        }
        const int start = match.capturedStart();
        setFormat(start, length < 1 ? text.size() - start : length, colour);
        return true;
    }
    bool matched = false;
    QRegularExpressionMatchIterator matches = pattern.globalMatch(text);
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        setFormat(match.capturedStart(), match.capturedLength(), colour);
        matched = true;
    }
    return matched;
}

void TextHighlighter::highlightBlock(const QString& text)
{
    if (!m_enabled) {
        return;
    }
    if (!m_table || m_count == 0) {
        takePending();
        return;
    }
    for (int i = 0; i < m_count; i++) {
        const Rule& rule = compiled(m_table[i].pattern);
        if (rule.required.isEmpty() || text.contains(rule.required)) {
            highlight(text, rule.expression, m_table[i].colour, m_table[i].length, m_table[i].unit);
        }
    }
    takePending();
}

void TextHighlighter::updateParameter(unsigned int id)
{
    if (id != ParamMessageColor) {
        return;
    }
    m_enabled = m_model->getModelIntValue(ParamMessageColor, nullptr) != 0;
    takePending();
    m_model->lockParameterEditFlag();
    rehighlight();
    m_model->unlockParameterEditFlag();
}
