// Every kind of window, opened on a fresh start, at the scale the test runs
// with (QT_SCALE_FACTOR 1 and 2): no window smaller than its layout needs,
// no title cut short in its title bar, no label or button whose text is
// wider than the widget, no label's text under a sibling widget, and no
// scroll bar in the settings window.
#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <QStandardPaths>
#include <QStyle>
#include <QTextDocument>
#include <QtTest>

#include <memory>

#include "MainWindow.h"
#include "MidiClient.h"
#include "OstrelModel.h"
#include "SettingsStore.h"
#include "SubWindowArea.h"
#include "WindowKinds.h"
#include "WindowRestorationInfo.h"

namespace {

int widestLine(const QFontMetrics& metrics, const QString& text)
{
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    return widest;
}

QStringList problemsOf(QMdiSubWindow* window)
{
    QStringList problems;
    const QString name = window->windowTitle();
    if (window->width() < window->minimumSizeHint().width() || window->height() < window->minimumSizeHint().height()) {
        problems << name + ": below its minimum size";
    }
    if (SubWindowArea::titleRoom(window, window->width()) < SubWindowArea::titleNeeds(window)) {
        problems << name + ": title cut short";
    }
    // The settings window is sized to its contents: no scroll bar at first.
    if (window->objectName() == QLatin1String("MIDISettingsViewSubWindow")) {
        for (QScrollBar* bar : window->findChildren<QScrollBar*>()) {
            if (bar->isVisible()) {
                problems << name + ": a scroll bar shows";
            }
        }
    }
    // Nothing placed beyond its parent, where it would be cut off (what a
    // scroll area shows is its business).
    for (QWidget* widget : window->widget()->findChildren<QWidget*>()) {
        QWidget* parent = widget->parentWidget();
        if (widget->isVisible() && !widget->isWindow() && !qobject_cast<QAbstractScrollArea*>(parent->parentWidget()) &&
            !parent->rect().contains(widget->geometry())) {
            problems << name + ": cut off by its parent: " + QString::fromLatin1(widget->metaObject()->className());
        }
    }
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (!label->isVisible() || label->text().isEmpty() || label->wordWrap() ||
            Qt::mightBeRichText(label->text())) {
            continue;
        }
        const int needed = widestLine(label->fontMetrics(), label->text());
        if (label->contentsRect().width() < needed) {
            problems << name + ": label too narrow: " + label->text();
        }
        // The text's own rectangle, where the label places it.
        const QRect text = QStyle::alignedRect(label->layoutDirection(), label->alignment(),
                                               QSize(needed, label->fontMetrics().height()), label->contentsRect());
        const QRect onParent = text.translated(label->pos());
        for (QObject* object : label->parentWidget()->children()) {
            auto* sibling = qobject_cast<QWidget*>(object);
            if (sibling && sibling != label && sibling->isVisible() && !sibling->isWindow() &&
                sibling->geometry().intersects(onParent) && !qobject_cast<QLabel*>(sibling)) {
                problems << name + ": label under another widget: " + label->text();
            }
        }
    }
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (!button->isVisible() || button->text().isEmpty()) {
            continue;
        }
        // A push button's text within its frame; a check box's indicator and
        // text within the box.
        const bool push = qobject_cast<QPushButton*>(button) || qobject_cast<QToolButton*>(button);
        const int needed = push ? widestLine(button->fontMetrics(), button->text()) + 4 : button->sizeHint().width();
        if (button->width() < needed) {
            problems << name + ": button too narrow: " + button->text();
        }
    }
    return problems;
}

}  // namespace

class LayoutFitTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void everyWindowKindFits()
    {
        QFile::remove(SettingsStore::iniFilePath());
        OstrelModel model;
        MainWindow window(nullptr, &model, MidiApi::Automatic);
        window.show();
        window.closeAllSubWindows();
        QTRY_COMPARE(window.mdiArea()->subWindowList().size(), 0);
        for (int id = WindowRestorationInfo::FirstSubWindowId; id <= WindowRestorationInfo::LastSubWindowId; id++) {
            const QList<QVariant> data = id == WindowRestorationInfo::ControlChangeId ? QList<QVariant>{7, 0}
                                                                                    : QList<QVariant>{};
            QVERIFY2(window.openWindow(id, data), qPrintable(QString::number(id)));
        }
        QVERIFY(window.openWindow(WindowKinds::PreferencesId));
        QTest::qWait(100);
        QStringList problems;
        for (QMdiSubWindow* sub : window.mdiArea()->subWindowList()) {
            problems += problemsOf(sub);
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
    }
};

QTEST_MAIN(LayoutFitTest)
#include "LayoutFitTest.moc"
