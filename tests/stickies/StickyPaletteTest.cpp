#include "StickyPalette.h"

#include <QApplication>
#include <QPalette>
#include <QTest>

using namespace Dovrin::Stickies;
using Dovrin::Store::StickyColor;

class StickyPaletteTest final : public QObject {
    Q_OBJECT

private slots:
    void palette_matchesTheColorTableLightAndDark() {
        struct Row {
            StickyColor color;
            QRgb fillLight, fillDark, textLight, textDark, tintLight, tintDark;
        };
        const Row rows[] = {
            {StickyColor::yellow, 0xFFF2B0, 0x2D2A1D, 0x262210, 0xEDEBE2, 0x915B00, 0xEDC56E},
            {StickyColor::blue, 0xD8F1FF, 0x192A33, 0x192329, 0xE2EDF3, 0x1B66AF, 0x7FBFEF},
            {StickyColor::green, 0xDBF8DA, 0x202B20, 0x1A251A, 0xE6EEE6, 0x20753C, 0x8ED09C},
            {StickyColor::pink, 0xFFE3E7, 0x332225, 0x2A1E20, 0xF4E8E9, 0xAB3A58, 0xEEA7B3},
            {StickyColor::purple, 0xEBE5FF, 0x292535, 0x22202B, 0xECE9F4, 0x6E4FB2, 0xBEAFEF},
            {StickyColor::gray, 0xECEDEF, 0x26282A, 0x202224, 0xEAEBEC, 0x505357, 0xC2C4C8},
        };
        for (const Row& row : rows) {
            const StickyColors light = stickyPalette(row.color, Appearance::light);
            const StickyColors dark = stickyPalette(row.color, Appearance::dark);
            QCOMPARE(light.fill, QColor::fromRgb(row.fillLight));
            QCOMPARE(light.text, QColor::fromRgb(row.textLight));
            QCOMPARE(light.tint, QColor::fromRgb(row.tintLight));
            QCOMPARE(dark.fill, QColor::fromRgb(row.fillDark));
            QCOMPARE(dark.text, QColor::fromRgb(row.textDark));
            QCOMPARE(dark.tint, QColor::fromRgb(row.tintDark));
            QCOMPARE(light.fill.alpha(), 255);
        }

        const NeutralColors lightNeutral = neutralColors(Appearance::light);
        QCOMPARE(lightNeutral.border, QColor::fromRgbF(0, 0, 0, 0.08f));
        QCOMPARE(neutralColors(Appearance::dark).controlBackground, QColor::fromRgbF(1, 1, 1, 0.11f));
    }

    void appearance_followsTheApplicationPalette() {
        const QPalette original = QApplication::palette();
        QPalette dark = original;
        dark.setColor(QPalette::Window, QColor(0x20, 0x20, 0x22));
        dark.setColor(QPalette::WindowText, Qt::white);
        QApplication::setPalette(dark);
        QCOMPARE(currentAppearance(), Appearance::dark);
        QCOMPARE(stickyPalette(StickyColor::blue).fill, QColor::fromRgb(0x192A33));

        QPalette light = original;
        light.setColor(QPalette::Window, QColor(0xEF, 0xEF, 0xEF));
        QApplication::setPalette(light);
        QCOMPARE(currentAppearance(), Appearance::light);
        QCOMPARE(stickyPalette(StickyColor::blue).fill, QColor::fromRgb(0xD8F1FF));
        QApplication::setPalette(original);
    }

    void swatch_isAFilledOvalOnATransparentSquare() {
        const QImage swatch = swatchImage(StickyColor::pink, QSize(12, 12), 2, Appearance::light);
        QCOMPARE(swatch.size(), QSize(24, 24));
        QCOMPARE(swatch.deviceIndependentSize(), QSizeF(12, 12));
        QCOMPARE(qAlpha(swatch.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(swatch.pixel(23, 23)), 0);
        QCOMPARE(swatch.pixelColor(12, 12), QColor::fromRgb(0xFFE3E7));
        // The edge is stroked darker than the fill.
        QVERIFY(swatch.pixelColor(12, 1).lightness() < QColor::fromRgb(0xFFE3E7).lightness());
    }
};

QTEST_MAIN(StickyPaletteTest)
#include "StickyPaletteTest.moc"
