// Text waiting to be appended to a monitor or editor in pieces, so that a
// burst of traffic never holds the user interface for long. Pieces end just
// before a line break, so each one starts a line (the analyzer begins every
// line with one). With a line limit only the last lines are kept: older
// ones would be dropped by the view anyway. User-interface thread.
#pragma once

#include <QString>

class TextBacklog {
public:
    explicit TextBacklog(int lineLimit = 0) : m_lineLimit(lineLimit) {}

    void append(const QString& text);
    bool isEmpty() const { return m_start >= m_text.size(); }
    int size() const { return m_text.size() - m_start; }
    void clear();
    // The front of the backlog: everything up to the first line break at or
    // after budget characters; everything when no such break is left.
    QString take(int budget);
    // Everything waiting, left in place.
    QString pending() const { return m_text.mid(m_start); }

private:
    void keepLastLines();

    QString m_text;
    int m_start = 0;  // what was taken already ends here
    int m_lineLimit;
};
