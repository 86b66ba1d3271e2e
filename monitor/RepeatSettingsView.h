// The bar above an editor's text in which the user switches repeated
// transmission on and sets the pause between sendings. Ctrl+R in the text
// shows it; closing it gives the text the focus again. The editor reads it
// each time it transmits. User-interface thread.
#pragma once

#include <QPointer>
#include <QWidget>

class CheckBox;
class SpinBox;

class RepeatSettingsView : public QWidget {
    Q_OBJECT

public:
    struct SettingRecord {
        int minimum;
        int maximum;
        int defaultValue;
        const char* label;
    };
    static const SettingRecord SysExSettingsRepeatValue;
    static const SettingRecord SysExSettingsIntervalValue;
    static constexpr int FixedHeight = 40;

    explicit RepeatSettingsView(QWidget* parent = nullptr);

    bool isRepeat() const;
    int getInterval() const;
    // The widget that gets the focus when the bar closes.
    void setFocusTarget(QWidget* widget) { m_focusTarget = widget; }

    CheckBox* repeatBox() const { return m_repeat; }
    SpinBox* intervalBox() const { return m_interval; }

public Q_SLOTS:
    void closeButtonPressed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    CheckBox* m_repeat;
    SpinBox* m_interval;
    QPointer<QWidget> m_focusTarget;
};
