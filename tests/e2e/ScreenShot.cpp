// Saves a picture of a whole X display, or of one window on it, for the
// end-to-end tests and the README's pictures: the running program is looked
// at from outside, as a user sees it.
//   ostrel_screenshot OUTPUT.png [WINDOW-ID]     (DISPLAY selects the display)
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: ostrel_screenshot OUTPUT.png [WINDOW-ID]\n");
        return 2;
    }
    QGuiApplication application(argc, argv);
    QScreen* screen = QGuiApplication::primaryScreen();
    const WId window = argc == 3 ? static_cast<WId>(std::strtoull(argv[2], nullptr, 0)) : 0;
    if (!screen || !screen->grabWindow(window).save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "ostrel_screenshot: cannot save %s\n", argv[1]);
        return 1;
    }
    return 0;
}
