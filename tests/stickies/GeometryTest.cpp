#include "app/stickies/Geometry.h"
#include "app/core/ScreenSpace.h"
#include "tests/support/TestMain.h"

#include <QTest>

using namespace Dovrin::Stickies;
using namespace Dovrin;

class GeometryTest final : public QObject {
    Q_OBJECT

private slots:
    void batchLayout_columnsFollowTheScreenWidth() {
        const QRectF screen(0, 0, 1440, 4000);
        const auto twelve = Geometry::batchLayout(QList<double>(12, 120), screen, {});
        QCOMPARE(twelve.size(), 12);
        // floor(1456 / 276) = 5 columns, the grid centred: 5 * 260 + 4 * 16 = 1364 wide.
        QCOMPARE(twelve.at(0), QRectF(38, 2000 + (3 * 120 + 2 * 16) / 2.0 - 120, 260, 120));
        QCOMPARE(twelve.at(4).x(), 38 + 4 * 276.0);
        QCOMPARE(twelve.at(5).x(), 38.0);
        QCOMPARE(twelve.at(5).y(), twelve.at(0).y() - 136);

        const auto three = Geometry::batchLayout({120, 200, 150}, screen, {});
        QCOMPARE(three.at(0).x(), 720 - (3 * 260 + 2 * 16) / 2.0);
        // Each note hangs from the row's top edge.
        QCOMPARE(Geometry::maxY(three.at(0)), Geometry::maxY(three.at(1)));
        QCOMPARE(three.at(1).height(), 200.0);
    }

    void batchLayout_skipsCoveredSlotsAndCascadesTheRest() {
        const QRectF screen(0, 0, 600, 400);
        // Two columns from x 32; a sticky covers the first slot of the only row that fits.
        const QRectF sticky(30, 100, 260, 300);
        const auto frames = Geometry::batchLayout({300, 300, 300}, screen, {sticky});
        QCOMPARE(frames.size(), 3);
        QCOMPARE(frames.at(0).x(), 32 + 276.0);
        // No second row fits: the rest cascade down and right from the last placed frame, inside the screen.
        QCOMPARE(frames.at(1), QRectF(330, 78, 260, 300));
        QVERIFY(screen.contains(frames.at(2)));
    }

    void estimatedHeight_countsHeadingsAndWrappedLines() {
        QCOMPARE(Geometry::estimatedHeight("\n  \n"), 44.0);
        QCOMPARE(Geometry::estimatedHeight("  # A  "), 120.0);
        QCOMPARE(Geometry::estimatedHeight("# A\n## B\n### C\n" + QString(35, 'x')), 172.0);
        QCOMPARE(Geometry::estimatedHeight("# A\n## B\n### C\n####### D\n" + QString(69, 'x')),
                 44 + 32 + 28 + 24 + 22 + 66.0);
        QCOMPARE(Geometry::estimatedHeight(QString(2000, 'x')), 360.0);
    }

    void corrected_keepsAVisibleTitleStripAndMovesLostFrames_inFlippedSpace() {
        const QList<QRectF> screens{QRectF(0, 0, 1000, 800), QRectF(1000, 0, 800, 600)};
        const QRectF mostlyOff(-200, 500, 250, 300);
        QCOMPARE(Geometry::corrected(mostlyOff, screens), mostlyOff);
        const QRectF lost(2500, 300, 260, 200);
        QCOMPARE(Geometry::corrected(lost, screens), QRectF(1540, 300, 260, 200));
        QCOMPARE(Geometry::corrected(lost, {}), lost);

        // Frames are kept with the origin at the primary screen's bottom, as Qt's flipped.
        const QRectF qt(100, 50, 260, 200);
        QCOMPARE(Core::ScreenSpace::fromQt(qt, screens.first()), QRectF(100, 550, 260, 200));
        QCOMPARE(Core::ScreenSpace::toQt(Core::ScreenSpace::fromQt(qt, screens.first()), screens.first()),
                 qt);
    }

    void newStickies_goNextToTheMouseTheTrayOrTheirSource() {
        const QRectF visible(0, 0, 1440, 875);
        QCOMPARE(Geometry::atMouse({500, 800}, visible), QRectF(512, 528, 260, 260));
        QCOMPARE(Geometry::atMouse({1400, 100}, visible), QRectF(1180, 0, 260, 260));
        QCOMPARE(Geometry::belowAnchor({1300, 875, 24, 25}, visible), QRectF(1064, 607, 260, 260));
        // Cascaded down and right; back at the top-left when that would leave the screen.
        QCOMPARE(Geometry::after({100, 300, 260, 260}, {260, 300}, visible), QRectF(124, 236, 260, 300));
        QCOMPARE(Geometry::after({1200, 300, 260, 260}, {260, 300}, visible), QRectF(24, 551, 260, 300));
        QCOMPARE(Geometry::after({100, 10, 260, 260}, {260, 300}, visible), QRectF(24, 551, 260, 300));
    }
};

DOVRIN_TEST_MAIN(QCoreApplication, GeometryTest)
#include "GeometryTest.moc"
