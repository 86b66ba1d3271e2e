// What a monitor or system exclusive editor needs from the application that
// holds it: the way out for its messages, a new editor beside it, the list
// of views the monitored traffic is handed to, held notes released before a
// modal dialog, and the application's message box. The application
// implements it and hands it to each editor it creates.
//
// Threads: user-interface thread only (an editor's sending threads use
// sender(), which is safe on any thread).
#pragma once

#include <QSize>
#include <QString>

class MidiEditView;
class MidiSender;

class MidiEditViewHost {
public:
    virtual ~MidiEditViewHost() = default;

    virtual MidiSender* sender() = 0;
    // A new editor (mode: MidiEditView::OpenMode) of size (the default size
    // when not positive in both dimensions) holding text; null when the
    // editor limit is reached (the host says so).
    virtual MidiEditView* openEditView(int mode, const QSize& size, const QString& text) = 0;
    // Every view registers itself while it exists: the Out monitor as an
    // output view, everything else as an input view.
    virtual void addEditView(MidiEditView* view, bool output) = 0;
    virtual void removeEditView(MidiEditView* view) = 0;
    // Releases the notes the computer keyboard holds (before a modal dialog,
    // which would swallow their key releases).
    virtual void releaseHeldNotes() = 0;
    // A critical box titled "Ostrel".
    virtual void showCriticalMessage(const QString& text) = 0;
    // An information box titled "Ostrel" (a report, a result).
    virtual void showInformationMessage(const QString& text) = 0;

protected:
    MidiEditViewHost() = default;
    MidiEditViewHost(const MidiEditViewHost&) = default;
    MidiEditViewHost& operator=(const MidiEditViewHost&) = default;
};
