// Plays notes from the computer keyboard while the PC keyboard is enabled:
// the bottom letter row is the white keys of an octave with the row above
// as its black keys, the top letter row the octave above with the digits as
// black keys. One instance, owned by the main window, following the four PC
// keyboard parameters. Each sounding note remembers the key and channel it
// started with, so its key up releases it wherever the settings have gone
// since. User-interface thread.
#pragma once

#include <QHash>

#include "ModelAssistant.h"

class MidiSender;
class OstrelModel;

class KeyboardNoteEventManager : public ModelAssistant {
public:
    struct NoteRecord {
        unsigned char channel;  // 0-based, as started
        unsigned char note;
        unsigned char key;  // upper case
        bool sounding;
    };

    // sender outlives the manager.
    KeyboardNoteEventManager(OstrelModel* model, MidiSender* sender);
    ~KeyboardNoteEventManager() override;

    // True when the key was taken (the key event then goes no further).
    bool trunsmitNoteOnByKeyDown(unsigned int key);
    bool trunsmitNoteOffByKeyUp(unsigned int key);
    // Releases every sounding note.
    void clearAllNoteEvent();

    // False while a popup is open or the focus is where typing goes.
    bool canTransmitNoteEventByKeyEvent() const;
    bool isKeyDown(unsigned char key) const;
    bool getNoteNumberByKey(unsigned int key, unsigned char& note) const;
    static unsigned char convertCharacterToUpper(unsigned char character);
    void updateParameter(unsigned int id) override;

    const NoteRecord& record(unsigned char note) const { return m_notes[note & 0x7F]; }

private:
    void createNoteInfoHash();
    void sendNote(unsigned char channel, unsigned char note, bool on, unsigned char velocity);
    void release(NoteRecord& record);

    OstrelModel* m_model;
    MidiSender* m_sender;
    QHash<unsigned char, unsigned char> m_keyMap;
    NoteRecord m_notes[128] = {};
    bool m_enabled = false;
    signed char m_octave = 0;
    unsigned char m_channel = 1;
    unsigned char m_velocity = 64;
};
