// Saves a picture of a whole X display, for the end-to-end tests: the
// running program is looked at from outside, as a user sees it.
//   ostrel_screenshot OUTPUT.png      (DISPLAY selects the display)
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: ostrel_screenshot OUTPUT.png\n");
        return 2;
    }
    QGuiApplication application(argc, argv);
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen || !screen->grabWindow(0).save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "ostrel_screenshot: cannot save %s\n", argv[1]);
        return 1;
    }
    return 0;
}
