#include "app/stickies/StickyPalette.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QStyleHints>

namespace Dovrin::Stickies {

namespace {

QColor rgb(QRgb value) {
    return QColor::fromRgb(value);
}

QColor white(qreal level, qreal alpha) {
    return QColor::fromRgbF(float(level), float(level), float(level), float(alpha));
}

struct Pair {
    QRgb light;
    QRgb dark;

    QColor pick(Appearance appearance) const { return rgb(appearance == Appearance::dark ? dark : light); }
};

struct Entry {
    Pair fill;
    Pair text;
    Pair tint;
};

Entry entry(Store::StickyColor color) {
    switch (color) {
    case Store::StickyColor::yellow:
        return {{0xFFF2B0, 0x2D2A1D}, {0x262210, 0xEDEBE2}, {0x915B00, 0xEDC56E}};
    case Store::StickyColor::blue:
        return {{0xD8F1FF, 0x192A33}, {0x192329, 0xE2EDF3}, {0x1B66AF, 0x7FBFEF}};
    case Store::StickyColor::green:
        return {{0xDBF8DA, 0x202B20}, {0x1A251A, 0xE6EEE6}, {0x20753C, 0x8ED09C}};
    case Store::StickyColor::pink:
        return {{0xFFE3E7, 0x332225}, {0x2A1E20, 0xF4E8E9}, {0xAB3A58, 0xEEA7B3}};
    case Store::StickyColor::purple:
        return {{0xEBE5FF, 0x292535}, {0x22202B, 0xECE9F4}, {0x6E4FB2, 0xBEAFEF}};
    case Store::StickyColor::gray:
        return {{0xECEDEF, 0x26282A}, {0x202224, 0xEAEBEC}, {0x505357, 0xC2C4C8}};
    }
    return entry(Store::StickyColor::yellow);
}

} // namespace

Appearance currentAppearance() {
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    switch (QGuiApplication::styleHints()->colorScheme()) {
    case Qt::ColorScheme::Dark:
        return Appearance::dark;
    case Qt::ColorScheme::Light:
        return Appearance::light;
    default:
        break;
    }
#endif
    // Without a reported colour scheme the desktop's palette tells: a dark window background means a
    // dark theme.
    return QGuiApplication::palette().color(QPalette::Window).lightnessF() < 0.5 ? Appearance::dark
                                                                                 : Appearance::light;
}

StickyColors stickyPalette(Store::StickyColor color, Appearance appearance) {
    const Entry values = entry(color);
    return {values.fill.pick(appearance), values.text.pick(appearance), values.tint.pick(appearance)};
}

NeutralColors neutralColors(Appearance appearance) {
    if (appearance == Appearance::dark)
        return {white(1, 0.11), white(1, 0.12), white(1, 0.72), white(1, 0.10)};
    return {white(1, 0.62), white(0, 0.07), white(0, 0.62), white(0, 0.08)};
}

QImage swatchImage(Store::StickyColor color, QSize size, qreal devicePixelRatio, Appearance appearance) {
    QImage image(size * devicePixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor edge = appearance == Appearance::dark ? white(1, 0.55) : white(0, 0.5);
    painter.setPen(QPen(edge, 0.5));
    painter.setBrush(stickyPalette(color, appearance).fill);
    painter.drawEllipse(QRectF(QPointF(0, 0), QSizeF(size)).adjusted(0.5, 0.5, -0.5, -0.5));
    return image;
}

QIcon swatchIcon(Store::StickyColor color) {
    return QIcon(
        QPixmap::fromImage(swatchImage(color, QSize(12, 12), qApp->devicePixelRatio(), currentAppearance())));
}

} // namespace Dovrin::Stickies
