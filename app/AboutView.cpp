#include "AboutView.h"

#include <QFontInfo>
#include <QPainter>

namespace {
const char* const AboutInfo = "MIDI tool for instrument developers.";
const char* const Version = "Ver.";
const char* const DisplayedVersion = OSTREL_VERSION;
const char* const Copyright = "Copyright (c) 2026 The Ostrel developers. MIT licence.";
const QColor AboutTextColor(0, 0, 74);
constexpr qreal DevicePixelRatio = 2.0;
constexpr int AboutFallbackPixelSize = 10;
// Asked for first; where it is missing the default sans face stands in.
const char* const AboutViewFont = "ヒラギノ角ゴ Pro W3";
}

AboutView::AboutView(QWidget* parent) : QDialog(parent), m_picture(QStringLiteral(":/images/about.png"))
{
    m_picture.setDevicePixelRatio(DevicePixelRatio);
    QFont aboutFont(QString::fromUtf8(AboutViewFont));
    aboutFont.setStyleHint(QFont::SansSerif);
    // The lines sit 10 pixels apart: a face that stands in must fit that.
    if (!QFontInfo(aboutFont).exactMatch()) {
        aboutFont.setPixelSize(AboutFallbackPixelSize);
    }
    setFont(aboutFont);
    setFixedSize(FixedSize);
    setAttribute(Qt::WA_DeleteOnClose);
}

QStringList AboutView::lines() const
{
    return {tr(AboutInfo),
            QStringLiteral("Ostrel ") + QString::fromLatin1(Version) + QString::fromLatin1(DisplayedVersion),
            tr(Copyright)};
}

void AboutView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHints(painter.renderHints());
    painter.drawPixmap(0, 0, m_picture);
    painter.setPen(AboutTextColor);
    const QStringList texts = lines();
    const int bottoms[3] = {100, 80, 60};
    for (int i = 0; i < 3; i++) {
        const QRect area(5, height() - bottoms[i], width() - 5, bottoms[i]);
        painter.drawText(area, Qt::AlignCenter, texts.at(i));
    }
}
