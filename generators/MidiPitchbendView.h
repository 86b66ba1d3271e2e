// The pitch bend window: a slider of 128 positions or a box with the signed
// 14-bit bend value. In wheel mode the slider springs back to the centre and
// the box is off; without it the slider stays and the box sets exact
// values. Each change sends at once; Transmit sends the box's value again.
// User-interface thread.
#pragma once

#include <QFrame>

#include "FileStream.h"
#include "WindowRestorationInfo.h"

class MidiPitchbendSlider;
class MidiSender;
class OstrelModel;
class PushButton;
class QCheckBox;
class SpinBox;

class MidiPitchbendView : public QFrame, public WindowRestorationInfo, public FileStream {
    Q_OBJECT

public:
    static constexpr QSize SliderSize{43, 161};
    static constexpr int CentreValue = 8192;  // the 14-bit value of no bend

    MidiPitchbendView(QWidget* parent, OstrelModel* model, MidiSender* sender);

    // The slider position of a 14-bit value, and the low byte a position adds.
    static int convertPitchBendValueToSliderValue(int value);
    static int calculateLsbFromSliderValue(int position);
    static int sliderValueToPitchBendValue(int position);
    void transmitPitchbendMessage(unsigned char channel, int value);

    bool getDataStream(QDataStream& stream) override;
    bool setDataStream(QDataStream& stream) override;

    QCheckBox* wheelModeSwitch() const { return m_wheelMode; }
    SpinBox* channelBox() const { return m_channel; }
    MidiPitchbendSlider* slider() const { return m_slider; }
    SpinBox* valueBox() const { return m_value; }
    PushButton* transmitButton() const { return m_transmit; }

public Q_SLOTS:
    void sliderValueChanged(qint32 position);
    void updateChannel(qint32 value);
    void updateWheelMode(bool checked);
    void updatePitchbendValue(qint32 value);
    void transmitButtonPressed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    unsigned char channel() const;
    void showValueOnSlider(int value);

    OstrelModel* m_model;
    MidiSender* m_sender;  // the application's; outlives this window
    QCheckBox* m_wheelMode;
    SpinBox* m_channel;
    MidiPitchbendSlider* m_slider;
    SpinBox* m_value;
    PushButton* m_transmit;
    bool m_updating = false;
};
