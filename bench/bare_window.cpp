// The reference for start-up: a bare Qt main window with an MDI area and a
// menu bar, shown, nothing else. Quits on SIGTERM (the default action).
#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenuBar>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare"));
    window.setCentralWidget(new QMdiArea(&window));
    window.menuBar()->addMenu(QStringLiteral("&File"));
    window.resize(680, 590);
    window.show();
    return application.exec();
}
