// The text of the monitors (read-only) and of the system exclusive editors
// (editable, in the message text format). In an editor it shows how many
// bytes the selection or the whole text stands for, turns a row into a
// clickable link while Ctrl is held, offers the editor's commands in its
// context menu and raises the editor's shortcut keys (F5, F6, F7).
// The context menu's editor commands call the slots of the same names on
// the view's parent, the editor's general page. User-interface thread.
#pragma once

#include <QPlainTextEdit>

#include <memory>

#include "ModelAssistant.h"

class OstrelModel;
class QMenu;
class SettledScrollBar;
class QTimer;

class MidiEditTextView : public QPlainTextEdit, public ModelAssistant {
    Q_OBJECT

public:
    static constexpr unsigned int UnknownSize = 0xFFFFFFFFu;
    static constexpr int TooltipDelay = 500;  // ms

    MidiEditTextView(QWidget* parent, OstrelModel* model, bool readOnly);
    ~MidiEditTextView() override;

    // Appends text; a view at (or within 3 steps of) the bottom stays there.
    void insertText(const QString& text);
    // The bytes the selection (or the whole text) stands for; UnknownSize
    // when its digits do not form whole bytes.
    unsigned int getTransmissionMessageSize() const;
    static QString getTooltipString(unsigned int count);
    QString stripSpaceAndTabSpaceFromBackward(const QString& text) const;
    bool findTextBlockWithPosition(const QPoint& point, QTextBlock& block);
    bool constructLink(const QPoint& point, bool ctrlHeld);
    void clearLink();
    bool transmitRowMessage();
    // The context menu: the standard entries, then Clear (monitors) or the
    // editor's commands, then what contextMenuCreated's receivers add.
    std::unique_ptr<QMenu> createContextMenu();

    bool isLinkActive() const { return m_linkActive; }
    QString linkText() const { return m_linkText; }

    void updateParameter(unsigned int id) override;

Q_SIGNALS:
    void transmitShortcutKeyPressed();
    void receiveShorcutKeyPressed();
    void transmitAndReceiveShortcutKeyPressed();
    void transmitRowMessage(const QString& row);
    // The page adds its own entries to a new context menu.
    void contextMenuCreated(QMenu* menu);
    // A monitor: the Pause key, and Clear (Shift+D or the menu).
    void pauseKeyPressed();
    void cleared();

public Q_SLOTS:
    void clearText();
    void editTextChanged();
    void timeoutTooltipTimer();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void updateFontSize();
    QString rowText(const QTextBlock& block) const;
    bool pointInSelection(const QPoint& point) const;

    OstrelModel* m_model;
    SettledScrollBar* m_verticalBar;  // owned by the scroll area
    bool m_linkActive = false;
    QString m_linkText;
    bool m_mousePressed = false;
    QTimer* m_tooltipTimer = nullptr;
};
