#include "MidiEditProgressView.h"

#include <QProgressBar>
#include <QVBoxLayout>

#include "DisabledVeil.h"
#include "MidiEditView.h"
#include "OstrelModel.h"

namespace {

const char* const RepeatingMessage =
    "Unable to receive messages when repeating\nmessage transmission is in-process.";
const char* const ReceiveFunctionName = "Message receive";

}  // namespace

MidiEditProgressView::MidiEditProgressView(MidiEditView* owner, OstrelModel* model, QWidget* parent)
    : MidiEditMessagePage(QString(), tr("OK"), parent), m_owner(owner), m_model(model)
{
    m_model->registerModelAssistant(this);
}

MidiEditProgressView::~MidiEditProgressView()
{
    m_model->unregisterModelAssistant(this);
}

QString MidiEditProgressView::byteCountText(unsigned int bytes)
{
    return QString::number(bytes) + (bytes == 1 ? QStringLiteral("Byte") : QStringLiteral("Bytes"));
}

void MidiEditProgressView::setProgressBarValue(int value)
{
    m_value = value;
    if (m_progressBar) {
        m_progressBar->setValue(value);
    }
}

void MidiEditProgressView::setTotalCommunicationSize(unsigned int bytes)
{
    m_total = bytes;
    setMessage(byteCountText(bytes));
}

void MidiEditProgressView::setProgressBarEnabled(bool enable, int minimum, int maximum)
{
    if (enable) {
        if (minimum < maximum && !m_progressBar) {
            m_progressBar = new QProgressBar(this);
            m_progressBar->setTextVisible(false);
            m_progressBar->setRange(minimum, maximum);
            m_progressBar->setValue(minimum);
            pageLayout()->insertWidget(0, m_progressBar);
            m_progressBar->show();
        }
        m_progressMode = Transmitting;
        setButtonText(tr("Cancel"));
    } else {
        delete m_progressBar;
        m_progressMode = Idle;
        setButtonText(tr("OK"));
    }
    setProgressBarValue(0);
    setTotalCommunicationSize(0);
}

void MidiEditProgressView::setErrorMessage(const QString& text)
{
    m_progressMode = Error;
    setMessage(text);
    setButtonText(tr("OK"));
}

void MidiEditProgressView::updateMessage(bool repeating, bool parserOn)
{
    if (repeating) {
        setMessage(tr(RepeatingMessage));
    } else if (parserOn) {
        setMessage(byteCountText(m_total));
    } else {
        setMessage(DisabledVeil::message(tr(ReceiveFunctionName)));
    }
}

void MidiEditProgressView::updateMessageFromModel()
{
    updateMessage(m_model->getModelIntValue(ParamSysExRepeat, nullptr) > 0,
                  m_model->getModelIntValue(ParamMessageParsed, nullptr) >= 1);
}

void MidiEditProgressView::hideView()
{
    releasedButton();
}

void MidiEditProgressView::releasedButton()
{
    // Also before the start was reported: the page may still be idle.
    m_owner->cancelTransmittion();
    setProgressBarEnabled(false, 0, 0);
    m_owner->setReceivedMessageEnabled(false);
}

void MidiEditProgressView::updateParameter(unsigned int id)
{
    if (id == ParamSysExRepeat || id == ParamMessageParsed) {
        // An error stays readable until the user dismisses it.
        if (m_progressMode != Error) {
            updateMessageFromModel();
        }
    }
}

void MidiEditProgressView::showEvent(QShowEvent* event)
{
    MidiEditMessagePage::showEvent(event);
    if (m_progressMode != Error) {
        updateMessageFromModel();
    }
}
