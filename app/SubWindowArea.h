// The main window's MDI area and what every sub-window shares there: how a
// view goes in (object name, title from its menu text, no stay-on-top entry,
// maximizing only where allowed), its normal rectangle (kept while it is
// minimized, maximized or shaded, for layouts and projects), stored
// rectangles made safe to use, and the rules that keep fixed-size windows
// fixed (no maximizing, no size grip) and the area still under the wheel.
// User-interface thread.
#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QRect>

class QMainWindow;
class QMdiArea;
class QMdiSubWindow;
class QWidget;

class SubWindowArea : public QObject {
    Q_OBJECT

public:
    // The title bar's maximize button of a sub-window.
    static constexpr QRect MaximizeButtonArea{QPoint(45, 0), QPoint(66, 19)};

    // Creates the area as the owner's central widget.
    explicit SubWindowArea(QMainWindow* owner);

    QMdiArea* mdiArea() const { return m_area; }
    QList<QMdiSubWindow*> windowsInActivationOrder() const;
    // The view goes in; the caller applies its size rule, then show().
    QMdiSubWindow* add(QWidget* view, const QString& menuText, const char* objectName, bool maximizable);
    // Remembers the normal rectangle and shows the window.
    void show(QMdiSubWindow* window);
    void centre(QWidget* window);
    // Brings a window forward; false for none.
    bool activate(QMdiSubWindow* window);

    // Fixes a window's size at its layout's minimum, widened where the title
    // bar would cut its title short.
    static void fixSize(QMdiSubWindow* window);
    // The width of the title bar's label at a window width, and the width the
    // title needs there, as the sub-window lays its title bar out (frame,
    // icon, buttons, the title bar's own font).
    static int titleRoom(QMdiSubWindow* window, int width);
    static int titleNeeds(QMdiSubWindow* window);
    // A stored rectangle applied: a fixed-size window only moves.
    static void setGeometry(QWidget* window, const QRect& rect);
    static bool isFixedSize(const QObject* object);
    // Neither minimized, maximized, full screen nor shaded.
    bool isNormalState(QWidget* window) const;
    // The rectangle a window has when normal (the owner's normal geometry for the owner).
    QRect normalRect(QWidget* window) const;
    // A stored rectangle no larger than the screens' available area and no
    // further off it than that area's size.
    static QRect boundedToScreens(const QRect& rect);
    // The main window's stored rectangle, bounded, and moved back onto the
    // primary screen when too little of it would show.
    static QRect mainWindowRestorationRect(const QRect& stored);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QMainWindow* m_owner;
    QMdiArea* m_area;
    QHash<QWidget*, QRect> m_normalRects;
};
