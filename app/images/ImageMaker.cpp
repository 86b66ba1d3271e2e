// Draws the program's pictures (":/images/...") at device pixel ratio 2 and
// writes them as PNG files into the folder given: every picture is made
// here from drawing code, at build time.
//
//   ostrel_image_maker OUTPUT-FOLDER
#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>

namespace {

constexpr int Ratio = 2;  // every picture is drawn at twice its logical size

using Draw = std::function<void(QPainter&, const QRectF& frame, bool alternate)>;

using DrawFrame = std::function<void(QPainter&, const QRectF& frame, int index)>;

// A strip of frames side by side, each drawn by its index.
QImage frameStrip(int count, int logicalWidth, int logicalHeight, const DrawFrame& draw)
{
    QImage image(count * logicalWidth * Ratio, logicalHeight * Ratio, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(Ratio, Ratio);
    for (int frame = 0; frame < count; frame++) {
        painter.save();
        draw(painter, QRectF(frame * logicalWidth, 0, logicalWidth, logicalHeight), frame);
        painter.restore();
    }
    return image;
}

// A strip of two frames side by side: the normal one, then the pressed,
// checked or disabled one.
QImage twoFrameStrip(int logicalWidth, int logicalHeight, const Draw& draw)
{
    return frameStrip(2, logicalWidth, logicalHeight,
                      [&draw](QPainter& p, const QRectF& r, int index) { draw(p, r, index == 1); });
}

QColor ink(bool disabled)
{
    return disabled ? QColor(170, 170, 170) : QColor(40, 44, 60);
}

void roundButton(QPainter& p, const QRectF& r, bool pressed)
{
    QLinearGradient face(r.topLeft(), r.bottomLeft());
    face.setColorAt(0, pressed ? QColor(190, 190, 200) : QColor(250, 250, 252));
    face.setColorAt(1, pressed ? QColor(160, 160, 172) : QColor(215, 215, 222));
    p.setPen(QPen(QColor(120, 120, 135), 1));
    p.setBrush(face);
    p.drawRoundedRect(r.adjusted(2, 2, -2, -2), 6, 6);
}

void sheet(QPainter& p, const QRectF& r, bool disabled)
{
    const QRectF page = r.adjusted(8, 5, -8, -5);
    QPainterPath path;
    path.moveTo(page.topLeft());
    path.lineTo(page.right() - 6, page.top());
    path.lineTo(page.right(), page.top() + 6);
    path.lineTo(page.bottomRight());
    path.lineTo(page.bottomLeft());
    path.closeSubpath();
    p.setPen(QPen(ink(disabled), 1.4));
    p.setBrush(Qt::white);
    p.drawPath(path);
}

void folder(QPainter& p, const QRectF& r, bool disabled)
{
    const QRectF body = r.adjusted(5, 10, -5, -7);
    p.setPen(QPen(ink(disabled), 1.4));
    p.setBrush(disabled ? QColor(230, 230, 230) : QColor(242, 196, 92));
    p.drawRect(QRectF(body.left(), body.top() - 3, body.width() * 0.4, 4));
    p.drawRect(body);
}

void disk(QPainter& p, const QRectF& r, bool disabled)
{
    const QRectF body = r.adjusted(6, 6, -6, -6);
    p.setPen(QPen(ink(disabled), 1.4));
    p.setBrush(disabled ? QColor(220, 220, 220) : QColor(70, 110, 190));
    p.drawRoundedRect(body, 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(body.left() + 4, body.top(), body.width() - 8, body.height() * 0.4));
    p.drawRect(QRectF(body.left() + 5, body.bottom() - body.height() * 0.35, body.width() - 10,
                      body.height() * 0.35));
}

void arrow(QPainter& p, const QPointF& from, const QPointF& to, const QColor& color)
{
    p.setPen(QPen(color, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(from, to);
    const QPointF direction = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
    const QPointF normal(-direction.y(), direction.x());
    p.drawLine(to, to - direction * 5 + normal * 4);
    p.drawLine(to, to - direction * 5 - normal * 4);
}

void transmit(QPainter& p, const QRectF& r, bool disabled, bool send, bool receive)
{
    const QColor out = disabled ? ink(true) : QColor(200, 60, 50);
    const QColor in = disabled ? ink(true) : QColor(40, 140, 70);
    const double y1 = r.center().y() - (send && receive ? 5 : 0);
    const double y2 = r.center().y() + (send && receive ? 5 : 0);
    if (send) {
        arrow(p, QPointF(r.left() + 6, y1), QPointF(r.right() - 6, y1), out);
    }
    if (receive) {
        arrow(p, QPointF(r.right() - 6, y2), QPointF(r.left() + 6, y2), in);
    }
}

void magnifier(QPainter& p, const QRectF& r, bool disabled)
{
    p.setPen(QPen(ink(disabled), 2.4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    const QPointF centre(r.left() + 13, r.top() + 13);
    p.drawEllipse(centre, 7, 7);
    p.drawLine(centre + QPointF(5, 5), QPointF(r.right() - 6, r.bottom() - 6));
}

void cross(QPainter& p, const QRectF& r, bool pressed)
{
    roundButton(p, r, pressed);
    p.setPen(QPen(QColor(60, 60, 70), 2.2, Qt::SolidLine, Qt::RoundCap));
    const QRectF c = r.adjusted(11, 11, -11, -11);
    p.drawLine(c.topLeft(), c.bottomRight());
    p.drawLine(c.topRight(), c.bottomLeft());
}

void chevron(QPainter& p, const QRectF& r, bool pressed, bool left)
{
    roundButton(p, r, pressed);
    p.setPen(QPen(QColor(60, 60, 70), 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const double x = r.center().x();
    const double y = r.center().y();
    const double d = left ? 4 : -4;
    p.drawLine(QPointF(x + d, y - 7), QPointF(x - d, y));
    p.drawLine(QPointF(x - d, y), QPointF(x + d, y + 7));
}

void triangleButton(QPainter& p, const QRectF& r, bool pressed, bool up)
{
    roundButton(p, r, pressed);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 60, 70));
    const QPointF c = r.center();
    const double h = up ? -3 : 3;
    p.drawPolygon(QPolygonF({QPointF(c.x() - 4, c.y() - h), QPointF(c.x() + 4, c.y() - h),
                             QPointF(c.x(), c.y() + h)}));
}

// Seven segments a-g of one digit in a cell, lit where the digit needs them.
QImage sevenSegmentDigits()
{
    const int cellWidth = 38;
    const int height = 48;
    static const char* lit[10] = {"abcdef", "bc", "abdeg", "abcdg", "bcfg",
                                  "acdfg",  "acdefg", "abc", "abcdefg", "abcdfg"};
    QImage image(10 * cellWidth * Ratio, height * Ratio, QImage::Format_ARGB32);
    image.fill(QColor(20, 8, 8));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(Ratio, Ratio);
    for (int digit = 0; digit < 10; digit++) {
        const double x = digit * cellWidth + 8;
        const double w = cellWidth - 16;
        const double top = 6;
        const double middle = height / 2.0;
        const double bottom = height - 6;
        const struct {
            char name;
            QLineF line;
        } segments[] = {{'a', QLineF(x, top, x + w, top)},
                        {'b', QLineF(x + w, top, x + w, middle)},
                        {'c', QLineF(x + w, middle, x + w, bottom)},
                        {'d', QLineF(x, bottom, x + w, bottom)},
                        {'e', QLineF(x, middle, x, bottom)},
                        {'f', QLineF(x, top, x, middle)},
                        {'g', QLineF(x, middle, x + w, middle)}};
        for (const auto& segment : segments) {
            const bool on = std::strchr(lit[digit], segment.name) != nullptr;
            p.setPen(QPen(on ? QColor(255, 60, 40) : QColor(60, 18, 14), 4, Qt::SolidLine,
                          Qt::RoundCap));
            // Shortened so that neighbouring segments do not touch.
            const QPointF shift = (segment.line.p2() - segment.line.p1()) * 0.12;
            p.drawLine(segment.line.p1() + shift, segment.line.p2() - shift);
        }
    }
    return image;
}

QImage aboutPicture()
{
    const QSize logical(501, 170);
    QImage image(logical * Ratio, QImage::Format_ARGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(Ratio, Ratio);
    QLinearGradient sky(0, 0, 0, logical.height());
    sky.setColorAt(0, QColor(236, 240, 250));
    sky.setColorAt(1, QColor(196, 206, 232));
    p.fillRect(QRect(QPoint(), logical), sky);
    // A keyboard along the top, a waveform under it: the bench's two ends.
    // The lower part stays plain for the window's three lines of text.
    const int keyWidth = 14;
    for (int x = 0, key = 0; x < logical.width(); x += keyWidth, key++) {
        p.setPen(QColor(120, 124, 150));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(x, 0, keyWidth, 34));
    }
    static const bool black[7] = {true, true, false, true, true, true, false};
    for (int x = 0, key = 0; x < logical.width(); x += keyWidth, key++) {
        if (black[key % 7]) {
            p.setBrush(QColor(30, 30, 50));
            p.drawRect(QRectF(x + keyWidth * 0.65, 0, keyWidth * 0.7, 21));
        }
    }
    QPainterPath wave;
    for (int x = 0; x <= logical.width(); x++) {
        const double y = 52 + 12 * std::sin(x / 18.0) * std::exp(-x / 420.0);
        x == 0 ? wave.moveTo(x, y) : wave.lineTo(x, y);
    }
    p.setPen(QPen(QColor(0, 0, 74), 2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(wave);
    return image;
}

// The application icon at size x size pixels: the shapes of ostrel.svg
// (a 64-unit canvas), drawn again here for the PNG sizes.
QImage applicationIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    const QColor violet(0x28, 0x1b, 0x43);
    p.setPen(Qt::NoPen);
    p.setBrush(violet);
    p.drawRoundedRect(QRectF(4, 4, 56, 56), 12, 12);
    p.setPen(QPen(Qt::white, 3));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(32, 29), 17, 17);
    p.setPen(Qt::NoPen);
    p.setBrush(violet);
    p.drawRect(QRectF(29, 10.5, 6, 5));  // the socket's key
    p.setBrush(Qt::white);
    for (const QPointF& pin : {QPointF(22, 29), QPointF(24.93, 36.07), QPointF(32, 39), QPointF(39.07, 36.07),
                               QPointF(42, 29)}) {
        p.drawEllipse(pin, 2.5, 2.5);
    }
    p.setBrush(QColor(0x3c, 0xc8, 0x64));
    p.drawRect(QRectF(17, 50, 8, 4));
    p.drawRect(QRectF(28, 50, 8, 4));
    p.setBrush(QColor(0xe8, 0xc8, 0x40));
    p.drawRect(QRectF(39, 50, 8, 4));
    return image;
}

struct Picture {
    const char* name;
    std::function<QImage()> make;
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: ostrel_image_maker OUTPUT-FOLDER\n");
        return 2;
    }
    const QDir outputFolder(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(outputFolder.path());
    auto tool = [](std::function<void(QPainter&, const QRectF&, bool)> draw) {
        return [draw] { return twoFrameStrip(32, 32, draw); };
    };
    const Picture pictures[] = {
        {"file.png", tool(sheet)},
        {"open.png", tool(folder)},
        {"disk.png", tool(disk)},
        {"tx.png", tool([](QPainter& p, const QRectF& r, bool d) { transmit(p, r, d, true, false); })},
        {"rx.png", tool([](QPainter& p, const QRectF& r, bool d) { transmit(p, r, d, false, true); })},
        {"txrx.png", tool([](QPainter& p, const QRectF& r, bool d) { transmit(p, r, d, true, true); })},
        {"find.png", tool(magnifier)},
        {"close.png", tool(cross)},
        {"prev.png", tool([](QPainter& p, const QRectF& r, bool d) { chevron(p, r, d, true); })},
        {"next.png", tool([](QPainter& p, const QRectF& r, bool d) { chevron(p, r, d, false); })},
        {"up_arrow_button.png",
         [] { return twoFrameStrip(14, 24, [](QPainter& p, const QRectF& r, bool d) { triangleButton(p, r, d, true); }); }},
        {"down_arrow_button.png",
         [] { return twoFrameStrip(14, 24, [](QPainter& p, const QRectF& r, bool d) { triangleButton(p, r, d, false); }); }},
        // Stopped, stopped and pressed, playing, playing and pressed.
        {"playstop.png",
         [] {
             return frameStrip(4, 15, 15, [](QPainter& p, const QRectF& r, int index) {
                 const bool playing = index >= 2;
                 const bool pressed = index % 2 == 1;
                 QColor colour = playing ? QColor(200, 40, 30) : QColor(30, 140, 60);
                 p.setPen(Qt::NoPen);
                 p.setBrush(pressed ? colour.darker(140) : colour);
                 const QRectF c = r.adjusted(3, 3, -3, -3);
                 if (playing) {
                     p.drawRect(c);
                 } else {
                     p.drawPolygon(QPolygonF({c.topLeft(), c.bottomLeft(),
                                              QPointF(c.right(), c.center().y())}));
                 }
             });
         }},
        {"fa_play.png", tool([](QPainter& p, const QRectF& r, bool d) {
             roundButton(p, r, d);
             p.setPen(Qt::NoPen);
             p.setBrush(QColor(30, 140, 60));
             const QRectF c = r.adjusted(11, 9, -9, -9);
             p.drawPolygon(QPolygonF({c.topLeft(), c.bottomLeft(), QPointF(c.right(), c.center().y())}));
         })},
        {"fb_continue.png", tool([](QPainter& p, const QRectF& r, bool d) {
             roundButton(p, r, d);
             p.setPen(Qt::NoPen);
             p.setBrush(QColor(30, 110, 170));
             const QRectF c = r.adjusted(9, 9, -9, -9);
             p.drawRect(QRectF(c.left(), c.top(), 3, c.height()));
             p.drawPolygon(QPolygonF({QPointF(c.left() + 5, c.top()), QPointF(c.left() + 5, c.bottom()),
                                      QPointF(c.right(), c.center().y())}));
         })},
        {"fc_stop.png", tool([](QPainter& p, const QRectF& r, bool d) {
             roundButton(p, r, d);
             p.setPen(Qt::NoPen);
             p.setBrush(QColor(200, 40, 30));
             p.drawRect(r.adjusted(10, 10, -10, -10));
         })},
        {"7seg.png", sevenSegmentDigits},
        {"about.png", aboutPicture},
        {"ostrel-16.png", [] { return applicationIcon(16); }},
        {"ostrel-22.png", [] { return applicationIcon(22); }},
        {"ostrel-24.png", [] { return applicationIcon(24); }},
        {"ostrel-32.png", [] { return applicationIcon(32); }},
        {"ostrel-48.png", [] { return applicationIcon(48); }},
        {"ostrel-64.png", [] { return applicationIcon(64); }},
        {"ostrel-128.png", [] { return applicationIcon(128); }},
        {"ostrel-256.png", [] { return applicationIcon(256); }},
        {"ostrel-512.png", [] { return applicationIcon(512); }},
    };
    for (const Picture& picture : pictures) {
        const QString path = outputFolder.filePath(QString::fromLatin1(picture.name));
        if (!picture.make().save(path, "PNG")) {
            std::fprintf(stderr, "ostrel_image_maker: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
