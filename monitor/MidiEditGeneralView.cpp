#include "MidiEditGeneralView.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QHBoxLayout>
#include <QMenu>
#include <QVBoxLayout>

#include "ChecksumCommands.h"
#include "CiCommands.h"
#include "DumpFile.h"
#include "MidiEditTextView.h"
#include "MidiEditView.h"
#include "MidiEditViewHost.h"
#include "MonitorCommands.h"
#include "OstrelModel.h"
#include "ReferenceWidget.h"
#include "RepeatSettingsView.h"
#include "TextHighlighter.h"
#include "ToolButton.h"
#include "Utility.h"

namespace {

constexpr qreal DevicePixelRatio = 2.0;
const char* const UriListFormat = "text/uri-list";

struct ToolbarEntry {
    const char* image;  // null: a separator
    const char* text;
    const char* slot;
};

const ToolbarEntry ToolbarEntries[] = {
    {":/images/file.png", "&New", SLOT(newMenuSelected())},
    {":/images/open.png", "&Open...", SLOT(openMenuSelected())},
    {":/images/disk.png", "&Save...", SLOT(saveMenuSelected())},
    {nullptr, nullptr, nullptr},
    {":/images/tx.png", "&Transmit", SLOT(transmitMenuSelected())},
    {":/images/rx.png", "&Receive", SLOT(receiveMenuSelected())},
    {":/images/txrx.png", "&Transmit and Receive", SLOT(transmitAndReceiveMenuSelected())},
    {nullptr, nullptr, nullptr},
    {":/images/find.png", "&Find...", SLOT(searchMenuSelected())},
};

// The first file a drop names.
QString firstDroppedFile(const QMimeData* mime)
{
    const QStringList paths = Utility::droppedFilePaths(mime);
    return paths.isEmpty() ? QString() : paths.first();
}

}  // namespace

const QColor MidiEditGeneralView::MonitorBackgroundColor(40, 27, 67);
const QColor MidiEditGeneralView::MonitorTextColor(Qt::white);

MidiEditGeneralView::MidiEditGeneralView(MidiEditView* owner, OstrelModel* model, int openMode,
                                         QWidget* parent)
    : QWidget(parent),
      m_owner(owner),
      m_textView(nullptr),
      m_model(model),
      m_repeatInterval(RepeatSettingsView::SysExSettingsIntervalValue.defaultValue),
      m_openMode(openMode),
      m_backlog(isMonitor() ? MonitorViewLineLimit : 0),
      m_insertTimer(new QTimer(this))
{
    m_insertTimer->setInterval(0);
    connect(m_insertTimer, &QTimer::timeout, this, &MidiEditGeneralView::insertNextPiece);
    m_textView = new MidiEditTextView(this, model, isMonitor());
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    if (!isMonitor()) {
        m_toolbar = createToolbar();
        layout->addWidget(m_toolbar);
        m_repeatSettings = new RepeatSettingsView(this);
        m_repeatSettings->setFocusTarget(m_textView);
        m_repeatSettings->hide();
        layout->addWidget(m_repeatSettings);
        m_textView->setWordWrapMode(QTextOption::WrapAnywhere);
        m_textView->setMouseTracking(true);
    }
    layout->addWidget(m_textView);
    m_findBar = new ReferenceWidget(this);
    m_findBar->setFixedHeight(40);
    m_findBar->hide();
    m_findBar->setTextEditWidget(m_textView);
    layout->addWidget(m_findBar);
    if (isMonitor()) {
        setUpMonitor();
    } else {
        setUpEditor();
    }
    connect(m_textView, &MidiEditTextView::transmitShortcutKeyPressed, this,
            &MidiEditGeneralView::transmitMenuSelected);
    connect(m_textView, &MidiEditTextView::receiveShorcutKeyPressed, this,
            &MidiEditGeneralView::receiveMenuSelected);
    connect(m_textView, &MidiEditTextView::transmitAndReceiveShortcutKeyPressed, this,
            &MidiEditGeneralView::transmitAndReceiveMenuSelected);
    connect(m_textView, QOverload<const QString&>::of(&MidiEditTextView::transmitRowMessage), this,
            &MidiEditGeneralView::transmitMidi);
    updateParameter(ParamSysExTransmitState);
    changeHighLighter();
    m_model->registerModelAssistant(this);
}

MidiEditGeneralView::~MidiEditGeneralView()
{
    m_model->unregisterModelAssistant(this);
    // Taking the highlighter off the document re-lays the text out: not an edit.
    m_model->lockParameterEditFlag();
    delete m_highlighter;
    m_highlighter = nullptr;
    m_model->unlockParameterEditFlag();
}

bool MidiEditGeneralView::isMonitor() const
{
    return m_openMode == MidiEditView::MidiInMonitor || m_openMode == MidiEditView::MidiOutMonitor;
}

bool MidiEditGeneralView::isTransmitting() const
{
    return m_model->getModelIntValue(ParamSysExTransmitState, nullptr) == 1;
}

QWidget* MidiEditGeneralView::createToolbar()
{
    auto* toolbar = new QWidget(this);
    toolbar->setFixedHeight(ToolbarHeight);
    toolbar->setAutoFillBackground(true);
    auto* layout = new QHBoxLayout(toolbar);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(0);
    for (const ToolbarEntry& entry : ToolbarEntries) {
        if (!entry.image) {
            layout->addSpacing(8);
            continue;
        }
        auto* button = new ToolButton(toolbar);
        QPixmap strip(QString::fromLatin1(entry.image));
        strip.setDevicePixelRatio(DevicePixelRatio);
        button->setImage(strip);
        button->setFixedSize(32, 32);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setToolTip(Utility::removeMenuOfModifierCharacter(tr(entry.text)));
        connect(button, SIGNAL(released()), this, entry.slot);
        layout->addWidget(button);
        if (entry.slot == ToolbarEntries[4].slot) {
            m_transmitButton = button;
        } else if (entry.slot == ToolbarEntries[6].slot) {
            m_transmitAndReceiveButton = button;
        }
    }
    layout->addStretch();
    m_transmitButton->installEventFilter(this);
    m_transmitAndReceiveButton->installEventFilter(this);
    return toolbar;
}

void MidiEditGeneralView::setUpMonitor()
{
    m_lineLimit = MonitorViewLineLimit;
    m_highlighter = new TextHighlighter(m_textView->document(), m_model,
                                        TextHighlighter::MonitorFullMessageRules,
                                        TextHighlighter::MonitorFullMessageRuleCount);
    m_textView->setLineWrapMode(QPlainTextEdit::NoWrap);
    QPalette palette = m_textView->palette();
    for (QPalette::ColorRole role : {QPalette::Base, QPalette::Window}) {
        palette.setColor(role, MonitorBackgroundColor);
    }
    palette.setColor(QPalette::Text, MonitorTextColor);
    m_textView->setPalette(palette);
    m_textView->setAcceptDrops(false);
    m_textView->document()->setMaximumBlockCount(m_lineLimit);
    m_monitorCommands =
        new MonitorCommands(this, m_model, m_owner->host(), m_openMode == MidiEditView::MidiInMonitor);
    connect(m_textView, &MidiEditTextView::contextMenuCreated, m_monitorCommands, &MonitorCommands::addTo);
    connect(m_textView, &MidiEditTextView::pauseKeyPressed, m_monitorCommands,
            [this] { m_monitorCommands->setPaused(!m_monitorCommands->isPaused()); });
    connect(m_textView, &MidiEditTextView::cleared, this, [this] { m_backlog.clear(); });
}

void MidiEditGeneralView::setUpEditor()
{
    m_highlighter = new TextHighlighter(m_textView->document(), m_model, TextHighlighter::EditorRules,
                                        TextHighlighter::EditorRuleCount);
    // Drops stop at the viewport (and its filter) instead of passing on to
    // the main window, which would open another editor.
    m_textView->viewport()->setAcceptDrops(true);
    m_textView->viewport()->installEventFilter(this);
    m_textView->installEventFilter(m_repeatSettings);
    // In the context menu in this order: MIDI-CI, then the checksums.
    auto* ci = new CiCommands(m_textView);
    connect(m_textView, &MidiEditTextView::contextMenuCreated, ci, &CiCommands::addTo);
    m_checksums = new ChecksumCommands(m_textView, m_model, m_owner->host());
    connect(m_textView, &MidiEditTextView::contextMenuCreated, m_checksums, &ChecksumCommands::addTo);
}

void MidiEditGeneralView::setText(const QString& text)
{
    m_backlog.clear();
    m_insertTimer->stop();
    m_textView->setPlainText(text);
}

void MidiEditGeneralView::insertText(const QString& text)
{
    if (text.isEmpty()) {
        return;
    }
    m_backlog.append(text);
    if (!m_held && !m_insertTimer->isActive()) {
        insertNextPiece();
    }
}

void MidiEditGeneralView::setInsertionHeld(bool held)
{
    m_held = held;
    if (!held) {
        flushInsertedText();
    }
}

void MidiEditGeneralView::insertNextPiece()
{
    const QString piece = m_backlog.take(InsertSliceSize);
    if (!piece.isEmpty()) {
        m_model->lockParameterEditFlag();
        m_textView->insertText(piece);
        m_model->unlockParameterEditFlag();
    }
    if (m_backlog.isEmpty()) {
        m_insertTimer->stop();
    } else {
        m_insertTimer->start();
    }
}

void MidiEditGeneralView::flushInsertedText()
{
    while (!m_backlog.isEmpty()) {
        insertNextPiece();
    }
}

QString MidiEditGeneralView::textWithPending() const
{
    QString shown = m_textView->toPlainText();
    QString pending = m_backlog.pending();
    if (shown.isEmpty()) {
        // As the view takes its first line: no break before it.
        int start = 0;
        while (start < pending.size() &&
               (pending.at(start) == QLatin1Char('\n') || pending.at(start) == QLatin1Char('\r'))) {
            start++;
        }
        pending.remove(0, start);
    }
    return shown + pending;
}

bool MidiEditGeneralView::hasText() const
{
    return !m_backlog.isEmpty() || !m_textView->toPlainText().isEmpty();
}

bool MidiEditGeneralView::getText(QString& text)
{
    flushInsertedText();
    text = m_textView->toPlainText();
    return !text.isEmpty();
}

void MidiEditGeneralView::changeHighLighter()
{
    if (!isMonitor() || !m_highlighter) {
        return;
    }
    if (m_model->getModelIntValue(ParamMessageParsed, nullptr) >= 1) {
        m_highlighter->setHighlightInfo(TextHighlighter::MonitorFullMessageRules,
                                        TextHighlighter::MonitorFullMessageRuleCount);
    } else {
        m_highlighter->setHighlightInfo(TextHighlighter::MonitorStatusRules,
                                        TextHighlighter::MonitorStatusRuleCount);
    }
    if (!hasText()) {
        m_highlighter->updateHilightInfo();
    }
}

void MidiEditGeneralView::minimalizeScrollAreaForMac()
{
#ifdef Q_OS_MACOS
    if (!hasText()) {
        setGeometry(0, 0, 100, 30);
    }
#endif
}

QString MidiEditGeneralView::createTooltipTransmissionByteString(const QString& label) const
{
    const unsigned int count = m_textView->getTransmissionMessageSize();
    if (count == MidiEditTextView::UnknownSize) {
        return label;
    }
    const QString counted = QStringLiteral("Transmit (%1 %2)")
                                .arg(count)
                                .arg(count == 1 ? QStringLiteral("Byte") : QStringLiteral("Bytes"));
    QString text = label;
    return text.replace(QStringLiteral("Transmit"), counted, Qt::CaseSensitive);
}

void MidiEditGeneralView::updateParameter(unsigned int id)
{
    if (id == ParamSysExTransmitState) {
        if (m_toolbar) {
            m_toolbar->setEnabled(!isTransmitting());
        }
    } else if (id == ParamMessageParsed) {
        changeHighLighter();
    }
}

void MidiEditGeneralView::transmitMidi(const QString& message)
{
    m_owner->transmitMessage(message);
}

void MidiEditGeneralView::transmitFromSettings()
{
    m_model->setModelIntValue(ParamSysExRepeat, m_repeatSettings->isRepeat() ? 1 : 0);
    m_repeatInterval = m_repeatSettings->getInterval();
    const QTextCursor cursor = m_textView->textCursor();
    QString text;
    if (cursor.hasSelection()) {
        text = cursor.selectedText();
    } else {
        getText(text);
    }
    m_owner->transmitMessage(text);
}

void MidiEditGeneralView::transmitMenuSelected()
{
    if (isMonitor() || isTransmitting()) {
        return;
    }
    transmitFromSettings();
}

MidiEditView* MidiEditGeneralView::openReceivingEditor()
{
    return m_owner->host()->openEditView(MidiEditView::SystemExclusiveReceiving, QSize(), QString());
}

void MidiEditGeneralView::receiveMenuSelected()
{
    if (isMonitor() || isTransmitting()) {
        return;
    }
    if (hasText()) {
        openReceivingEditor();
    } else {
        m_owner->setReceivedMessageEnabled(true);
    }
}

void MidiEditGeneralView::transmitAndReceiveMenuSelected()
{
    if (isMonitor() || isTransmitting()) {
        return;
    }
    if (MidiEditView* reply = openReceivingEditor()) {
        reply->listenForReply(m_model->getModelIntValue(ParamReplyTimeout, nullptr));
    }
    transmitFromSettings();
}

void MidiEditGeneralView::newMenuSelected()
{
    m_owner->host()->openEditView(MidiEditView::SystemExclusive, size(), QString());
}

QString MidiEditGeneralView::dumpFileDirectory() const
{
    return m_model->getModelStringValue(ParamDumpFileWorkingDirectory, nullptr);
}

void MidiEditGeneralView::setDumpFileDirectory(const QString& path)
{
    m_model->setModelStringValue(ParamDumpFileWorkingDirectory, QFileInfo(path).absolutePath());
}

QString MidiEditGeneralView::askForDumpFile(bool save)
{
    m_owner->host()->releaseHeldNotes();
    QString filter = m_model->getModelStringValue(ParamDumpFileFilter, nullptr);
    const QString start = dumpFileDirectory() + QLatin1Char('/');
    const QString fallback = m_model->getModelDefaultStringValue(ParamDumpFileWorkingDirectory, nullptr);
    const QString path =
        save ? Utility::showFileSaveDialog(m_owner, tr("Save"), start, DumpFile::filters(), fallback, &filter)
             : Utility::showFileOpenDialog(m_owner, tr("Open"), start, DumpFile::filters(), fallback, &filter);
    if (!path.isEmpty()) {
        m_model->setModelStringValue(ParamDumpFileFilter, filter);
    }
    return path;
}

void MidiEditGeneralView::openMenuSelected()
{
    const QString path = askForDumpFile(false);
    if (!path.isEmpty()) {
        openDumpFile(path, size());
    }
}

bool MidiEditGeneralView::openDumpFile(const QString& path, const QSize& newEditorSize)
{
    setDumpFileDirectory(path);
    QString text;
    if (!DumpFile::load(path, text)) {
        m_owner->host()->showCriticalMessage(tr("File open failed."));
        return false;
    }
    if (!hasText()) {
        setText(text);
    } else {
        m_owner->host()->openEditView(MidiEditView::SystemExclusive, newEditorSize, text);
    }
    return true;
}

void MidiEditGeneralView::saveMenuSelected()
{
    const QString path = askForDumpFile(true);
    if (!path.isEmpty()) {
        saveDumpFile(path);
    }
}

bool MidiEditGeneralView::saveDumpFile(const QString& path)
{
    setDumpFileDirectory(path);
    QString text;
    getText(text);
    QString error;
    if (!DumpFile::save(path, text, error)) {
        m_owner->host()->showCriticalMessage(error);
        return false;
    }
    return true;
}

void MidiEditGeneralView::searchMenuSelected()
{
    if (m_findBar) {
        m_findBar->show();
    }
}

void MidiEditGeneralView::settingsMenuSelected()
{
    if (m_repeatSettings) {
        m_repeatSettings->show();
    }
}

bool MidiEditGeneralView::handleDragEnter(QDragEnterEvent* event)
{
    const QMimeData* mime = event->mimeData();
    const bool refused =
        QApplication::activeModalWidget() || isTransmitting() ||
        !mime->hasFormat(QLatin1String(UriListFormat)) ||
        !DumpFile::isDropName(firstDroppedFile(mime));
    if (refused) {
        event->setDropAction(Qt::IgnoreAction);
        event->ignore();
    } else {
        event->acceptProposedAction();
    }
    return true;
}

bool MidiEditGeneralView::handleDrop(QDropEvent* event)
{
    if (event->mimeData()->hasFormat(QLatin1String(UriListFormat))) {
        openDumpFile(firstDroppedFile(event->mimeData()), QSize());
    }
    event->acceptProposedAction();
    return true;
}

bool MidiEditGeneralView::eventFilter(QObject* watched, QEvent* event)
{
    if (m_textView && watched == m_textView->viewport()) {
        switch (event->type()) {
        case QEvent::DragEnter:
            return handleDragEnter(static_cast<QDragEnterEvent*>(event));
        case QEvent::DragMove:
            static_cast<QDragMoveEvent*>(event)->acceptProposedAction();
            return true;
        case QEvent::Drop:
            return handleDrop(static_cast<QDropEvent*>(event));
        default:
            break;
        }
    }
    if (event->type() == QEvent::ToolTip) {
        if (watched == m_transmitButton) {
            m_transmitButton->setToolTip(createTooltipTransmissionByteString(tr("Transmit")));
        } else if (watched == m_transmitAndReceiveButton) {
            m_transmitAndReceiveButton->setToolTip(
                createTooltipTransmissionByteString(tr("Transmit and Receive")));
        }
    }
    return QWidget::eventFilter(watched, event);
}
