#include "CiCommands.h"

#include <QMenu>
#include <QTextCursor>

#include <atomic>

#include "CiMessages.h"
#include "MidiEditTextView.h"

namespace {

// Request IDs of the session's Gets, from every editor.
int nextRequestId()
{
    static std::atomic<int> next{0};
    return next.fetch_add(1) & 0x7F;
}

}  // namespace

CiCommands::CiCommands(MidiEditTextView* text) : QObject(text), m_text(text)
{
}

void CiCommands::addTo(QMenu* menu)
{
    menu->addSeparator();
    QMenu* ci = menu->addMenu(tr("Insert MIDI-C&I"));
    ci->addAction(tr("&Discovery"), this, [this] { insert(CiMessages::discovery(CiMessages::sessionMuid())); });
    ci->addAction(tr("&Endpoint Inquiry"), this,
                  [this] { insert(CiMessages::endpointInquiry(CiMessages::sessionMuid())); });
    ci->addAction(tr("&Profile Inquiry"), this,
                  [this] { insert(CiMessages::profileInquiry(CiMessages::sessionMuid())); });
    for (const char* resource : {"ResourceList", "DeviceInfo"}) {
        ci->addAction(tr("Property Exchange &Get \"%1\"").arg(QLatin1String(resource)), this, [this, resource] {
            insert(CiMessages::propertyGet(CiMessages::sessionMuid(), nextRequestId(), resource));
        });
    }
}

void CiCommands::insert(const QByteArray& message)
{
    QTextCursor cursor = m_text->textCursor();
    cursor.clearSelection();
    if (!cursor.atBlockStart()) {
        cursor.movePosition(QTextCursor::EndOfBlock);
        cursor.insertText(QStringLiteral("\n"));
    }
    cursor.insertText(CiMessages::text(message));
    m_text->setTextCursor(cursor);
}
