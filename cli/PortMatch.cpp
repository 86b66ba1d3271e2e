#include "PortMatch.h"

namespace PortMatch {

namespace {

QString listed(const QStringList& names)
{
    return names.isEmpty() ? QStringLiteral("(none)") : QLatin1Char('"') + names.join(QStringLiteral("\", \"")) + QLatin1Char('"');
}

}  // namespace

int find(const QStringList& names, const QString& word, const QString& kind, QString& error)
{
    const int exact = names.indexOf(word);
    if (exact >= 0) {
        return exact;
    }
    QStringList matching;
    int found = -1;
    for (int i = 0; i < names.size(); i++) {
        if (!word.isEmpty() && names.at(i).contains(word, Qt::CaseInsensitive)) {
            matching.append(names.at(i));
            found = i;
        }
    }
    if (matching.size() == 1) {
        return found;
    }
    if (matching.isEmpty()) {
        error = QStringLiteral("no %1 port matches \"%2\"; there are: %3").arg(kind, word, listed(names));
    } else {
        error = QStringLiteral("\"%1\" matches several %2 ports: %3").arg(word, kind, listed(matching));
    }
    return -1;
}

}  // namespace PortMatch
