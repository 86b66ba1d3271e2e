#include "SubWindowArea.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QSizeGrip>
#include <QStyle>
#include <QStyleOptionTitleBar>

#include <algorithm>

#include "Utility.h"

namespace {

// Room kept beside a title so that it never touches the buttons.
constexpr int TitleMargin = 16;

const char* const VariableSizeObjectNames[] = {
    "MidiEditViewSubWindow",     "KeyboardSubWindow",        "ControlChangeViewSubWindow",
    "TimingClockViewSubWindow",  "ActivesenseViewSubWindow", "PitchbendViewSubWindow",
    "MIDISettingsViewSubWindow", "CustomMIDIMessageViewSubWindow"};

constexpr int ScreenOverlapMinimum = 100;
constexpr QPoint OffScreenOffset{50, 50};

}  // namespace

SubWindowArea::SubWindowArea(QMainWindow* owner) : QObject(owner), m_owner(owner), m_area(new QMdiArea(owner))
{
    m_area->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_area->setAcceptDrops(true);
    m_area->viewport()->setAcceptDrops(true);
    owner->setCentralWidget(m_area);
    m_area->installEventFilter(this);  // the area itself never scrolls by wheel
}

QList<QMdiSubWindow*> SubWindowArea::windowsInActivationOrder() const
{
    return m_area->subWindowList(QMdiArea::ActivationHistoryOrder);
}

bool SubWindowArea::isFixedSize(const QObject* object)
{
    if (!object) {
        return false;
    }
    for (const char* name : VariableSizeObjectNames) {
        if (object->objectName() == QLatin1String(name)) {
            return false;
        }
    }
    return true;
}

bool SubWindowArea::activate(QMdiSubWindow* window)
{
    if (!window) {
        return false;
    }
    m_area->setActiveSubWindow(window);
    return true;
}

QMdiSubWindow* SubWindowArea::add(QWidget* view, const QString& menuText,
                                        const char* objectName, bool maximizable)
{
    QMdiSubWindow* window = m_area->addSubWindow(view);
    if (objectName) {
        window->setObjectName(QString::fromLatin1(objectName));
    }
    if (QMenu* menu = window->systemMenu()) {
        for (QAction* action : menu->actions()) {
            const bool stayOnTop = action->text() == QLatin1String("Stay on &Top");
            const bool maximize = action->text() == QLatin1String("Ma&ximize");
            if (stayOnTop || (maximize && !maximizable)) {
                menu->removeAction(action);
            }
        }
    }
    if (!maximizable) {
        window->setWindowFlags((window->windowFlags() & ~Qt::WindowMaximizeButtonHint) |
                               Qt::CustomizeWindowHint);
    }
    window->installEventFilter(this);
    window->setWindowTitle(Utility::removeMenuOfModifierCharacter(menuText));
    return window;
}

void SubWindowArea::show(QMdiSubWindow* window)
{
    if (!m_normalRects.contains(window)) {
        m_normalRects.insert(window, window->geometry());
    }
    window->show();
}

void SubWindowArea::centre(QWidget* window)
{
    window->move(m_owner->width() / 2 - window->width() / 2, m_owner->height() / 2 - window->height() / 2);
}

void SubWindowArea::setGeometry(QWidget* window, const QRect& rect)
{
    if (!window) {
        return;
    }
    const bool resizable = (window->windowFlags() & Qt::WindowMaximizeButtonHint) ||
                           window->size() != window->minimumSize() ||
                           window->size() != window->maximumSize();
    if (resizable) {
        window->setGeometry(rect);
    } else {
        window->move(rect.topLeft());  // a stored size never changes a fixed-size window
    }
}

bool SubWindowArea::isNormalState(QWidget* window) const
{
    if (!window ||
        (window->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))) {
        return false;
    }
    if (auto* subWindow = qobject_cast<QMdiSubWindow*>(window)) {
        // A shaded sub-window offers "Restore" in its system menu.
        if (QMenu* menu = subWindow->systemMenu()) {
            for (QAction* action : menu->actions()) {
                if (action->text() == QLatin1String("&Restore") && action->isEnabled()) {
                    return false;
                }
            }
        }
    }
    return true;
}

QRect SubWindowArea::normalRect(QWidget* window) const
{
    if (window == m_owner) {
        return m_owner->normalGeometry();
    }
    return m_normalRects.value(window, window ? window->geometry() : QRect());
}

QRect SubWindowArea::boundedToScreens(const QRect& rect)
{
    const QScreen* primary = QGuiApplication::primaryScreen();
    const QRect area = primary ? primary->availableVirtualGeometry() : QRect(0, 0, 1920, 1080);
    const QSize size = rect.size().expandedTo(QSize(0, 0)).boundedTo(area.size());
    const int x = std::clamp(rect.x(), area.left() - area.width(), area.right());
    const int y = std::clamp(rect.y(), area.top() - area.height(), area.bottom());
    return QRect(QPoint(x, y), size);
}

QRect SubWindowArea::mainWindowRestorationRect(const QRect& stored)
{
    const QRect rect = boundedToScreens(stored);
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect overlap = screen->availableGeometry().intersected(rect);
        if (overlap.width() >= ScreenOverlapMinimum && overlap.height() >= ScreenOverlapMinimum) {
            return rect;
        }
    }
    QRect moved = rect;
    const QScreen* primary = QGuiApplication::primaryScreen();
    moved.moveTopLeft((primary ? primary->availableGeometry().topLeft() : QPoint()) +
                      OffScreenOffset);
    return moved;
}

bool SubWindowArea::eventFilter(QObject* watched, QEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    switch (event->type()) {
    case QEvent::WindowStateChange:
        for (QMdiSubWindow* window : m_area->subWindowList()) {
            if ((isFixedSize(window) || window->objectName() == QLatin1String("KeyboardSubWindow")) &&
                window->isMaximized()) {
                window->setWindowState(window->windowState() & ~Qt::WindowMaximized);
            }
        }
        return false;
    case QEvent::Move:
    case QEvent::Resize:
        if (widget && m_normalRects.contains(widget) && isNormalState(widget)) {
            m_normalRects[widget] = widget->geometry();
        }
        return false;
    case QEvent::Close:
        if (widget && widget != m_owner) {
            m_normalRects.remove(widget);
        }
        return false;
    case QEvent::Wheel:
        return qobject_cast<QMdiSubWindow*>(watched) || watched == m_area;
    case QEvent::ChildPolished: {
        auto* grip = qobject_cast<QSizeGrip*>(static_cast<QChildEvent*>(event)->child());
        if (grip && isFixedSize(watched)) {
            grip->setFixedSize(0, 0);
        }
        return false;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
        auto* window = qobject_cast<QMdiSubWindow*>(watched);
        if (!window ||
            !(isFixedSize(window) || window->objectName() == QLatin1String("KeyboardSubWindow"))) {
            return false;
        }
        const QPoint global = static_cast<QMouseEvent*>(event)->globalPos();
        return MaximizeButtonArea.contains(window->mapFromGlobal(global));
    }
    default:
        return false;
    }
}

int SubWindowArea::titleRoom(QMdiSubWindow* window, int width)
{
    QStyleOptionTitleBar option;
    option.initFrom(window);
    option.text = window->windowTitle();
    option.icon = window->windowIcon();
    option.titleBarFlags = window->windowFlags();
    option.titleBarState = window->windowState();
    option.subControls = QStyle::SC_All;
    option.fontMetrics = QFontMetrics(QApplication::font("QMdiSubWindowTitleBar"));
    const QStyle* style = window->style();
    const int height = style->pixelMetric(QStyle::PM_TitleBarHeight, &option, window);
    // The frame around the title bar, as the sub-window draws it.
    const int border = style->styleHint(QStyle::SH_TitleBar_NoBorder, &option, window) ? 0 : 4;
    option.rect = QRect(border, border, width - 2 * border, height - border);
    return style->subControlRect(QStyle::CC_TitleBar, &option, QStyle::SC_TitleBarLabel, window).width();
}

int SubWindowArea::titleNeeds(QMdiSubWindow* window)
{
    // Styles may paint the title bold and keep a margin inside the label
    // (the default style does both, 14 pixels): the wider of the plain and
    // the bold title, with that margin.
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    const int plain = QFontMetrics(font).horizontalAdvance(window->windowTitle());
    font.setBold(true);
    const int bold = QFontMetrics(font).horizontalAdvance(window->windowTitle());
    return std::max(plain, bold) + TitleMargin;
}

void SubWindowArea::fixSize(QMdiSubWindow* window)
{
    QSize size = window->minimumSizeHint();
    const int shortfall = titleNeeds(window) - titleRoom(window, size.width());
    if (shortfall > 0) {
        size.rwidth() += shortfall;
    }
    window->setFixedSize(size);
}
