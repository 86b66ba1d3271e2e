// Which endpoint a word on the command line names: the one whose name is
// the word itself, else the one whose name contains it (in any case) when
// exactly one does. Pure function; any thread.
#pragma once

#include <QString>
#include <QStringList>

namespace PortMatch {

// The index into names, or -1 with what to tell the user ("no input port
// matches 'x'; there are: ...", "'x' matches several output ports: ...").
int find(const QStringList& names, const QString& word, const QString& kind, QString& error);

}  // namespace PortMatch
