#include "KeyboardNoteEventManager.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

#include "MidiSender.h"
#include "OstrelModel.h"
#include "midilib_event.h"

namespace {

constexpr int MiddleC = 60;

}  // namespace

KeyboardNoteEventManager::KeyboardNoteEventManager(OstrelModel* model, MidiSender* sender)
    : m_model(model), m_sender(sender)
{
    for (unsigned int id : {ParamPCKeyboardEnable, ParamPCKeyboardOctave, ParamPCKeyboardChannel,
                            ParamPCKeyboardVelocity}) {
        updateParameter(id);
    }
    createNoteInfoHash();
    m_model->registerModelAssistant(this);
}

KeyboardNoteEventManager::~KeyboardNoteEventManager()
{
    m_model->unregisterModelAssistant(this);
    clearAllNoteEvent();
}

void KeyboardNoteEventManager::createNoteInfoHash()
{
    const char* const keys = "ZSXDCVGBHNJM,Q2W3ER5T6Y7UI";
    const unsigned char offsets[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12,
                                     12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24};
    for (int i = 0; keys[i]; i++) {
        m_keyMap.insert(static_cast<unsigned char>(keys[i]), offsets[i]);
    }
}

unsigned char KeyboardNoteEventManager::convertCharacterToUpper(unsigned char character)
{
    return character >= 'a' && character <= 'z' ? static_cast<unsigned char>(character - 'a' + 'A') : character;
}

void KeyboardNoteEventManager::updateParameter(unsigned int id)
{
    const int value = m_model->getModelIntValue(id, nullptr);
    switch (id) {
    case ParamPCKeyboardEnable:
        m_enabled = value != 0;
        break;
    case ParamPCKeyboardOctave:
        m_octave = static_cast<signed char>(value);
        break;
    case ParamPCKeyboardChannel:
        m_channel = static_cast<unsigned char>(value);
        break;
    case ParamPCKeyboardVelocity:
        m_velocity = static_cast<unsigned char>(value);
        break;
    default:
        break;
    }
}

bool KeyboardNoteEventManager::canTransmitNoteEventByKeyEvent() const
{
    if (QApplication::activePopupWidget()) {
        return false;
    }
    const QWidget* focus = QApplication::focusWidget();
    if (!focus) {
        return true;
    }
    if (qobject_cast<const QLineEdit*>(focus) || qobject_cast<const QAbstractSpinBox*>(focus)) {
        return false;
    }
    if (const auto* text = qobject_cast<const QPlainTextEdit*>(focus)) {
        return text->isReadOnly();
    }
    if (const auto* text = qobject_cast<const QTextEdit*>(focus)) {
        return text->isReadOnly();
    }
    return true;
}

bool KeyboardNoteEventManager::isKeyDown(unsigned char key) const
{
    for (const NoteRecord& record : m_notes) {
        if (record.sounding && record.key == key) {
            return true;
        }
    }
    return false;
}

bool KeyboardNoteEventManager::getNoteNumberByKey(unsigned int key, unsigned char& note) const
{
    const auto entry = m_keyMap.constFind(convertCharacterToUpper(static_cast<unsigned char>(key & 0xFF)));
    if (key > 0xFF || entry == m_keyMap.constEnd()) {
        return false;
    }
    const auto number = static_cast<unsigned char>((m_octave * 12 + MiddleC + entry.value()) & 0xFF);
    if (number >= 128) {
        return false;
    }
    note = number;
    return true;
}

void KeyboardNoteEventManager::sendNote(unsigned char channel, unsigned char note, bool on, unsigned char velocity)
{
    const unsigned char bytes[3] = {static_cast<unsigned char>((on ? 0x90 : 0x80) + (channel & 0x0F)), note,
                                    velocity};
    m_sender->send(bytes, 3, on ? MIDILIB_Event_Type_NoteOn : MIDILIB_Event_Type_NoteOff, OutputPortGroup_Both,
                   false);
}

bool KeyboardNoteEventManager::trunsmitNoteOnByKeyDown(unsigned int key)
{
    if (!m_enabled || !canTransmitNoteEventByKeyEvent()) {
        return false;
    }
    const unsigned char upper = convertCharacterToUpper(static_cast<unsigned char>(key & 0xFF));
    if (key > 0xFF || isKeyDown(upper)) {
        return false;  // auto-repeat and double key-downs
    }
    unsigned char note = 0;
    if (!getNoteNumberByKey(key, note)) {
        return false;
    }
    NoteRecord& record = m_notes[note];
    if (record.sounding) {
        return true;  // held through another key
    }
    record = {static_cast<unsigned char>(m_channel - 1), note, upper, true};
    sendNote(record.channel, note, true, m_velocity);
    return true;
}

void KeyboardNoteEventManager::release(NoteRecord& record)
{
    record.key = 0;
    record.sounding = false;
    sendNote(record.channel, record.note, false, 0);
}

bool KeyboardNoteEventManager::trunsmitNoteOffByKeyUp(unsigned int key)
{
    if (key > 0xFF) {
        return false;
    }
    const unsigned char upper = convertCharacterToUpper(static_cast<unsigned char>(key));
    for (NoteRecord& record : m_notes) {
        if (record.sounding && record.key == upper) {
            release(record);
            return true;
        }
    }
    return false;
}

void KeyboardNoteEventManager::clearAllNoteEvent()
{
    for (NoteRecord& record : m_notes) {
        if (record.sounding) {
            release(record);
        }
    }
}
