// The custom message window: a freely typed MIDI message with a name, and a
// knob that writes its value into chosen bytes of the message and sends it
// each time it moves. The byte count says how the value is spread: one byte,
// two 7-bit bytes (MSB first), two nibbles or four nibbles. Transmit sends
// the message on demand. Sending goes through a transmission thread of the
// window's own, without the bulk interval. User-interface thread.
#pragma once

#include <QFrame>
#include <QList>

#include "FileStream.h"
#include "GeneratorControls.h"
#include "ModelAssistant.h"
#include "WindowRestorationInfo.h"

class ComboBox;
class Dial;
class LineEdit;
class MidiEditTransmittionThread;
class MidiSender;
class OstrelModel;
class PushButton;
class SpinBox;

class MidiCustomMidiMessageView : public QFrame,
                                  public WindowRestorationInfo,
                                  public FileStream,
                                  public ModelAssistant {
    Q_OBJECT

public:
    using ValueRecord = GeneratorControls::ValueRecord;
    static const ValueRecord CustomMIDIMessageKnobTargetByte;
    static const ValueRecord CustomMIDIMessageByteCountValue;
    static const ValueRecord CustomMIDIMessageValueFor1Byte;
    static const char* const CustomMIDIMessageByteCountList[];
    static const int CustomMIDIMessageByteCountListCount;
    static const QColor StartGradientColorOfKnobMeter;
    static const QColor EndGradientColorOfKnobMeter;
    static constexpr int NameLengthLimit = 32;
    static constexpr int MessageLengthLimit = 383;

    enum ByteCountMode { OneByte = 0, TwoBytes = 1, TwoNibbles = 2, FourNibbles = 3 };

    MidiCustomMidiMessageView(QWidget* parent, OstrelModel* model, MidiSender* sender);
    ~MidiCustomMidiMessageView() override;

    // The message without blanks and commas, with value written into the
    // bytes from targetByte (1-based) on as the mode says; unchanged when
    // the message is too short for that or targetByte is 0.
    static QString applyKnobValue(const QString& digits, int targetByte, int mode, int value);
    // Bytes the mode writes after the target byte.
    static int extraBytes(int mode);
    static QString removeSeparators(const QString& text);

    void updateParameterRangeByByteCount(unsigned int mode);
    void updateKnobColor();
    bool isTransmittableByKnob() const;
    bool shouldChangeByteString(const QString& digits) const;
    void attachColorString(const QString& text);
    bool getColoringIndexList(const QString& text, QList<unsigned int>& list) const;
    bool isHexString(const char& character) const;
    unsigned int getRequiredColoringSize(unsigned char mode) const;
    // The 1-based byte under the message field's cursor (0 at the start).
    int byteUnderCursor() const;

    bool setDataStream(QDataStream& stream) override;
    bool getDataStream(QDataStream& stream) override;
    void updateParameter(unsigned int id) override;

    LineEdit* nameEdit() const { return m_name; }
    Dial* knob() const { return m_knob; }
    LineEdit* messageEdit() const { return m_message; }
    SpinBox* targetByteBox() const { return m_targetByte; }
    SpinBox* minimumBox() const { return m_minimum; }
    SpinBox* maximumBox() const { return m_maximum; }
    ComboBox* byteCountBox() const { return m_byteCount; }
    PushButton* transmitButton() const { return m_transmit; }
    MidiEditTransmittionThread* transmissionThread() const { return m_thread; }
    bool knobTransmits() const { return m_knobTransmits; }
    // The text the last send handed over (empty before the first).
    QString lastTransmittedText() const { return m_lastTransmitted; }

public Q_SLOTS:
    void transmitButtonPressed();
    void transmitMessage();
    void nameChanged();
    void valueChanged();
    void messageChanged();
    void knobTargetByteChanged();
    void knobTargetByteMenuSelected();
    void byteCountChanged(int mode);
    void minimumValueChanged(int value);
    void maximumValueChanged(int value);
    void messageTextChanged(const QString& text);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* labelled(const QString& label, QWidget* field);
    void markModified();
    void showMessageMenu(const QPoint& globalPosition);

    OstrelModel* m_model;
    MidiSender* m_sender;  // the application's; outlives this window
    LineEdit* m_name;
    Dial* m_knob;
    LineEdit* m_message;
    SpinBox* m_targetByte;
    SpinBox* m_minimum;
    SpinBox* m_maximum;
    ComboBox* m_byteCount;
    PushButton* m_transmit;
    MidiEditTransmittionThread* m_thread;
    bool m_knobTransmits = false;
    int m_guard = 0;
    bool m_colorOn = true;
    QString m_lastTransmitted;
};
