#include "MidiEditView.h"

#include <QCloseEvent>
#include <QStackedLayout>
#include <QTimer>

#include "MidiEditGeneralView.h"
#include "MidiEditProgressView.h"
#include "MidiEditRepeatMessageView.h"
#include "MidiEditRepeatTransmittionThread.h"
#include "MidiEditTransmittionThread.h"
#include "MidiEditViewHost.h"
#include "MonitorCommands.h"
#include "OstrelModel.h"

namespace {

const char* const FailedMessage = "Failed to transmit message.";
const char* const NoReplyMessage = "No reply received.";
constexpr unsigned int EnabledProgressBarBytes = 256;
constexpr int TextFieldId = 0;

WindowRestorationInfo::WindowId windowIdOf(MidiEditView::OpenMode mode)
{
    switch (mode) {
    case MidiEditView::MidiInMonitor:
        return WindowRestorationInfo::MidiInMonitorId;
    case MidiEditView::MidiOutMonitor:
        return WindowRestorationInfo::MidiOutMonitorId;
    default:
        return WindowRestorationInfo::SystemExclusiveId;
    }
}

}  // namespace

MidiEditView::MidiEditView(QWidget* parent, OstrelModel* model, MidiEditViewHost* host, OpenMode mode,
                           const QString& text)
    : QFrame(parent),
      WindowRestorationInfo(windowIdOf(mode)),
      m_openMode(mode),
      m_isMonitor(mode == MidiInMonitor || mode == MidiOutMonitor),
      m_receiveEnabled(mode == MidiInMonitor || mode == SystemExclusiveReceiving),
      m_model(model),
      m_host(host),
      m_pages(new QStackedLayout(this)),
      m_replyTimer(new QTimer(this))
{
    m_replyTimer->setSingleShot(true);
    connect(m_replyTimer, &QTimer::timeout, this, &MidiEditView::replyTimedOut);
    if (!m_isMonitor) {
        m_model->setParameterEditFlag(ParameterEditFlagEdited);
    }
    m_generalView = new MidiEditGeneralView(this, model, mode, this);
    m_progressView = new MidiEditProgressView(this, model, this);
    m_repeatMessageView = new MidiEditRepeatMessageView(this, this);
    m_pages->addWidget(m_generalView);
    m_pages->addWidget(m_progressView);
    m_pages->addWidget(m_repeatMessageView);
    changeView(mode == SystemExclusiveReceiving ? ProgressPage : GeneralPage);
    m_generalView->setText(text);

    m_thread = new MidiEditTransmittionThread(model, m_host->sender(), this);
    connect(m_thread, &MidiEditTransmittionThread::startTransmittion, this, &MidiEditView::startTransmittion,
            Qt::QueuedConnection);
    connect(m_thread, &MidiEditTransmittionThread::transmittionProgress, this,
            &MidiEditView::transmittionProgress, Qt::QueuedConnection);
    connect(m_thread, &MidiEditTransmittionThread::finishTransmittion, this,
            &MidiEditView::finishTransmittion, Qt::QueuedConnection);
    connect(m_thread, &MidiEditTransmittionThread::transmittionError, this,
            [this](const QString& error) { m_transmissionError = error; }, Qt::QueuedConnection);
    m_thread->start();
    m_thread->setPriority(QThread::NormalPriority);
    m_host->addEditView(this, mode == MidiOutMonitor);  // whole, pages and all
}

MidiEditView::~MidiEditView()
{
    m_host->removeEditView(this);
    // The threads end before the pages they report to go.
    deleteRepeatThread();
    delete m_thread;
    m_thread = nullptr;
}

MidiEditView::View MidiEditView::currentView() const
{
    return static_cast<View>(m_pages->currentIndex());
}

void MidiEditView::changeView(View view)
{
    m_pages->setCurrentIndex(view);
}

void MidiEditView::receivedMessage(const QString& text, unsigned int byteCount)
{
    if (byteCount == 0 || !m_receiveEnabled) {
        return;
    }
    if (!m_isMonitor && m_model->getModelIntValue(ParamSysExRepeat, nullptr) != 0) {
        return;
    }
    if (m_replyTimer->isActive()) {
        m_replyTimer->start();  // the time counts from the last reply
    }
    m_progressView->setTotalCommunicationSize(m_progressView->totalCommunicationSize() + byteCount);
    m_model->lockParameterEditFlag();
    m_generalView->insertText(text);
    m_model->unlockParameterEditFlag();
}

void MidiEditView::logTraffic(const QByteArray& text)
{
    if (MonitorCommands* monitor = m_generalView->monitorCommands()) {
        monitor->log(text);
    }
}

void MidiEditView::insertText(const QString& text)
{
    m_generalView->insertText(text);
}

void MidiEditView::clearText()
{
    m_generalView->setText(QString());
}

void MidiEditView::setReceivedMessageEnabled(bool enabled)
{
    if (enabled != m_receiveEnabled) {
        QString text;
        if (!enabled && m_generalView->getText(text)) {
            m_model->setParameterEditFlag(ParameterEditFlagEdited);
        }
        if (enabled) {
            m_generalView->minimalizeScrollAreaForMac();
        }
    }
    m_receiveEnabled = enabled;
    if (!enabled) {
        m_replyTimer->stop();
    }
    changeView(enabled ? ProgressPage : GeneralPage);
}

void MidiEditView::listenForReply(int seconds)
{
    if (seconds > 0 && m_receiveEnabled) {
        m_replyTimer->start(seconds * 1000);
    }
}

bool MidiEditView::isWaitingForReply() const
{
    return m_replyTimer->isActive();
}

void MidiEditView::replyTimedOut()
{
    if (!m_receiveEnabled) {
        return;
    }
    if (m_model->getModelIntValue(ParamSysExTransmitState, nullptr) != 0) {
        m_replyTimer->start();  // the request is still going out
        return;
    }
    if (m_progressView->totalCommunicationSize() > 0) {
        setReceivedMessageEnabled(false);  // as OK does: the replies are the text
        return;
    }
    m_receiveEnabled = false;
    m_progressView->setErrorMessage(tr(NoReplyMessage));
}

void MidiEditView::transmitMessage(const QString& text)
{
    if (text.isEmpty() || m_model->getModelIntValue(ParamSysExTransmitState, nullptr) != 0) {
        return;
    }
    m_model->setModelIntValue(ParamSysExTransmitState, 1);
    m_transmitting = true;
    if (m_model->getModelIntValue(ParamSysExRepeat, nullptr) == 0) {
        m_thread->setTransmittionMessage(text);
    } else {
        startRepeatTransmittion(text);
    }
}

void MidiEditView::startRepeatTransmittion(const QString& text)
{
    deleteRepeatThread();
    changeView(RepeatMessagePage);
    m_repeatThread = new MidiEditRepeatTransmittionThread(m_model, m_host->sender(), this);
    connect(m_repeatThread, &MidiEditTransmittionThread::finishTransmittion, this,
            &MidiEditView::finishTransmittion, Qt::QueuedConnection);
    connect(m_repeatThread, &MidiEditTransmittionThread::transmittionError, this,
            [this](const QString& error) { m_transmissionError = error; }, Qt::QueuedConnection);
    m_repeatThread->setRepeatInterval(m_generalView->repeatInterval());
    m_repeatThread->start();
    m_repeatThread->setTransmittionMessage(text);
}

void MidiEditView::stopRepeatTransmittion()
{
    if (m_repeatThread) {
        m_repeatThread->stopTransmittion();
    }
}

void MidiEditView::cancelTransmittion()
{
    if (m_transmitting) {
        m_thread->stopTransmittion();
    }
}

void MidiEditView::deleteRepeatThread()
{
    if (!m_repeatThread) {
        return;
    }
    disconnect(m_repeatThread, nullptr, this, nullptr);
    delete m_repeatThread;
    m_repeatThread = nullptr;
}

void MidiEditView::startTransmittion(quint32 totalBytes)
{
    if (totalBytes == 0) {
        return;
    }
    m_progressView->setProgressBarValue(0);
    if (totalBytes > EnabledProgressBarBytes) {
        changeView(ProgressPage);
    }
    m_progressView->setProgressBarEnabled(true, 0, static_cast<int>(totalBytes));
}

void MidiEditView::transmittionProgress(quint32 bytesSent)
{
    if (m_progressView->progressMode() == MidiEditProgressView::Idle) {
        m_thread->stopTransmittion();
        return;
    }
    m_progressView->setProgressBarValue(static_cast<int>(bytesSent));
    m_progressView->setTotalCommunicationSize(bytesSent);
}

void MidiEditView::finishTransmittion(qint32 result)
{
    m_transmitting = false;
    m_model->setModelIntValue(ParamSysExTransmitState, 0);
    m_model->setModelIntValue(ParamSysExRepeat, 0);
    if (m_progressView->progressMode() != MidiEditProgressView::Error) {
        m_progressView->setProgressBarEnabled(false, 0, 0);
        changeView(result == MidiEditTransmittionThread::Failed ? ProgressPage : GeneralPage);
        if (result == MidiEditTransmittionThread::Failed) {
            m_progressView->setErrorMessage(m_transmissionError.isEmpty() ? tr(FailedMessage)
                                                                          : m_transmissionError);
        }
    }
    m_transmissionError.clear();
    deleteRepeatThread();
}

bool MidiEditView::getDataStream(QDataStream& stream)
{
    QString text;
    if (!m_isMonitor && !m_receiveEnabled) {
        m_generalView->getText(text);
        setStringParameterToStream(stream, TextFieldId, text);
    }
    return true;
}

bool MidiEditView::setDataStream(QDataStream& stream)
{
    QString text;
    if (!m_isMonitor && getStringParameterFromStream(stream, TextFieldId, text)) {
        m_generalView->setText(text);
    }
    return true;
}

void MidiEditView::closeEvent(QCloseEvent* event)
{
    m_progressView->setProgressBarEnabled(false, 0, 0);
    stopRepeatTransmittion();
    m_thread->stopTransmittion();
    if (m_transmitting) {
        m_transmitting = false;
        m_model->setModelIntValue(ParamSysExTransmitState, 0);
        // The repeat this window ran is over: other editors may receive again.
        m_model->setModelIntValue(ParamSysExRepeat, 0);
    }
    if (!m_isMonitor) {
        m_model->setParameterEditFlag(ParameterEditFlagEdited);
    }
    QFrame::closeEvent(event);
}
