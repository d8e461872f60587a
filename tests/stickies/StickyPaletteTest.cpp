#include "app/stickies/StickyPalette.h"
#include "app/stickies/EditorScripts.h"
#include "tests/stickies/EditorTestSupport.h"

#include <QApplication>
#include <QPalette>
#include <QTest>

using namespace Dovrin::Stickies;
using namespace Dovrin::Testing;
using Dovrin::Store::StickyColor;

class StickyPaletteTest final : public QObject {
    Q_OBJECT

private slots:
    // The sticky paints from this palette and the editor page from its stylesheet: they must agree.
    void palette_matchesTheEditorPageLightAndDark() {
        EditorPage page;
        MessageLog log(page);
        page.load();
        QTRY_COMPARE_WITH_TIMEOUT(log.count("ready"), 1, 15000);
        const QString readVariables = "const style = getComputedStyle(document.documentElement);\n"
                                      "return ['fill', 'text', 'tint'].flatMap((key) => ['light', 'dark']"
                                      ".map((look) => style.getPropertyValue(`--${key}-${look}`).trim()));";
        // The page holds each colour as "r g b" channels.
        const auto channels = [](const QColor& c) {
            return QString("%1 %2 %3").arg(c.red()).arg(c.green()).arg(c.blue());
        };
        for (const StickyColor color : Dovrin::Store::allStickyColors()) {
            QVERIFY(callAndWait(page, EditorScripts::setColor, {{"color", rawValue(color)}}));
            const auto answer = callAndWait(page, readVariables);
            QVERIFY(answer && answer->ok());
            const StickyColors light = stickyPalette(color, Appearance::light);
            const StickyColors dark = stickyPalette(color, Appearance::dark);
            const QStringList expected{channels(light.fill), channels(dark.fill),  channels(light.text),
                                       channels(dark.text),  channels(light.tint), channels(dark.tint)};
            QCOMPARE(answer->value().toVariant().toStringList(), expected);
        }
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

DOVRIN_EDITOR_TEST_MAIN(StickyPaletteTest)
#include "StickyPaletteTest.moc"
