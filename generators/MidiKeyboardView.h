// The keyboard window: a strip with channel, velocity and pressure mode
// above a sideways-scrolling 128-note pressure keyboard, which sends note
// on, note off, key pressure and channel pressure to both outputs. Changing
// the channel or closing the window first releases every sounding note.
// User-interface thread.
#pragma once

#include <QFrame>

#include "FileStream.h"
#include "ModelAssistant.h"
#include "WindowRestorationInfo.h"

class MidiKeyboardUpperView;
class MidiKeyboardViewScrollArea;
class MidiSender;
class OstrelModel;
class PressureKeyboard;

class MidiKeyboardView : public QFrame, public WindowRestorationInfo, public FileStream, public ModelAssistant {
    Q_OBJECT

public:
    static constexpr QSizeF WhiteKeySize{25, 100};
    static constexpr QSize KeyboardViewSize{1875, 101};
    static const QColor KeyboardOnColor;

    MidiKeyboardView(QWidget* parent, OstrelModel* model, MidiSender* sender);
    ~MidiKeyboardView() override;

    void updateParameter(unsigned int id) override;
    bool getDataStream(QDataStream& stream) override;
    bool setDataStream(QDataStream& stream) override;

    // The keyboard's callbacks (context: the window).
    static void transmitNoteMessage(void* context, unsigned char note, bool on);
    static void transmitKeyPressureMessage(void* context, unsigned char note, unsigned char value);
    static void transmitChannelPressureMessage(void* context, unsigned char value);

    MidiKeyboardUpperView* upperView() const { return m_upperView; }
    MidiKeyboardViewScrollArea* scrollArea() const { return m_scrollArea; }
    PressureKeyboard* keyboard() const { return m_keyboard; }
    unsigned char channel() const { return m_channel; }

public Q_SLOTS:
    void noteChannelChanged(qint32 value);
    void velocityChanged(qint32 value);
    void pressureChanged(qint32 index);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void transmit(const unsigned char* bytes, uint32_t length, unsigned char eventType);

    MidiKeyboardUpperView* m_upperView;
    MidiKeyboardViewScrollArea* m_scrollArea;
    PressureKeyboard* m_keyboard;
    unsigned char m_channel = 0;
    OstrelModel* m_model;
    MidiSender* m_sender;  // the application's; outlives this window
};
