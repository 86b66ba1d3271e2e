// The editor page shown while a long transmission runs and while the editor
// receives: a progress bar during a transmission, the number of bytes moved,
// an error message after a failure, and one button (Cancel or OK) that ends
// receiving and asks a running transmission to stop. User-interface thread.
#pragma once

#include <QPointer>
#include <QProgressBar>

#include "MidiEditMessagePage.h"
#include "ModelAssistant.h"

class MidiEditView;
class OstrelModel;

class MidiEditProgressView : public MidiEditMessagePage, public ModelAssistant {
    Q_OBJECT

public:
    enum ProgressMode { Transmitting = 0, Idle = 1, Error = 2, Initial = 3 };

    MidiEditProgressView(MidiEditView* owner, OstrelModel* model, QWidget* parent = nullptr);
    ~MidiEditProgressView() override;

    void setProgressBarValue(int value);
    void setTotalCommunicationSize(unsigned int bytes);
    // On: a bar from minimum to maximum (when the range is not empty), mode
    // Transmitting. Off: no bar, mode Idle. Both reset the value and total.
    void setProgressBarEnabled(bool enable, int minimum, int maximum);
    void setErrorMessage(const QString& text);
    void updateMessage(bool repeating, bool parserOn);
    void hideView();
    void updateParameter(unsigned int id) override;

    ProgressMode progressMode() const { return m_progressMode; }
    unsigned int totalCommunicationSize() const { return m_total; }
    int progressValue() const { return m_value; }
    QProgressBar* progressBar() const { return m_progressBar; }

    static QString byteCountText(unsigned int bytes);

public Q_SLOTS:
    void releasedButton() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void updateMessageFromModel();

    MidiEditView* m_owner;
    QPointer<QProgressBar> m_progressBar;
    int m_value = 0;
    unsigned int m_total = 0;
    ProgressMode m_progressMode = Initial;
    OstrelModel* m_model;
};
