#include "TextBacklog.h"

#include <algorithm>

void TextBacklog::append(const QString& text)
{
    if (m_start > 0 && m_start >= m_text.size() / 2) {
        m_text.remove(0, m_start);
        m_start = 0;
    }
    m_text += text;
    keepLastLines();
}

void TextBacklog::clear()
{
    m_text.clear();
    m_start = 0;
}

void TextBacklog::keepLastLines()
{
    if (m_lineLimit <= 0) {
        return;
    }
    // One line more than the limit: text that ends with a line break counts
    // an empty last line, and the view trims the rest exactly.
    int position = m_text.size();
    for (int lines = 0; lines <= m_lineLimit; lines++) {
        position = m_text.lastIndexOf(QLatin1Char('\n'), position - 1);
        if (position <= m_start) {
            return;  // no more than the limit waiting
        }
    }
    m_start = position;
}

QString TextBacklog::take(int budget)
{
    int end = m_text.size();
    if (budget < size()) {
        const int lineBreak = m_text.indexOf(QLatin1Char('\n'), m_start + std::max(budget, 1));
        if (lineBreak > m_start) {
            end = lineBreak;
        }
    }
    const QString piece = m_text.mid(m_start, end - m_start);
    m_start = end;
    if (isEmpty()) {
        clear();
    }
    return piece;
}
