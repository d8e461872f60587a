#include "app/stickies/StickyPanel.h"
#include "app/agent/LabelText.h"
#include "app/agent/Provenance.h"
#include "app/stickies/StickyPalette.h"
#include "app/stickies/StickyView.h"
#include "app/stickies/StickyViewButton.h"
#include "app/stickies/StickyViewDragStrip.h"
#include "app/stickies/StickyViewIcons.h"
#include "app/stickies/StickyViewProvenanceLabel.h"
#include "app/stickies/StickyViewState.h"
#include "tests/support/PrivateXServer.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

using namespace Dovrin::Stickies;
using Dovrin::Agent::Provenance;
using Dovrin::Store::AgentLabel;
using Dovrin::Store::Note;
using Dovrin::Store::StickyColor;

Q_DECLARE_METATYPE(Dovrin::Stickies::StickyAction)

namespace {

Note sampleNote(const QString& markdown = "# Groceries\n- [ ] milk") {
    Note note;
    note.id = QUuid::createUuid();
    note.markdown = markdown;
    note.color = StickyColor::yellow;
    note.frame = QRectF(100, 100, 280, 240);
    note.updatedAt = QDateTime::currentDateTimeUtc();
    return note;
}

struct Sticky {
    explicit Sticky(const Note& note = sampleNote()) : state(note), panel(&state) {
        panel.setGeometry(200, 150, 280, 240);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
    }

    StickyViewDragStrip* strip() const { return panel.findChild<StickyViewDragStrip*>(); }
    StickyViewButton* button(const QString& name) const { return panel.findChild<StickyViewButton*>(name); }
    void hover(bool inside) {
        if (inside) {
            QEnterEvent enter(QPointF(140, 120), QPointF(140, 120), panel.mapToGlobal(QPointF(140, 120)));
            QApplication::sendEvent(panel.view(), &enter);
        } else {
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(panel.view(), &leave);
        }
    }

    StickyViewState state;
    StickyPanel panel;
};

QColor pixel(const QImage& image, QPoint logical) {
    return image.pixelColor(logical * image.devicePixelRatio());
}

} // namespace

class StickyPanelTest final : public QObject {
    Q_OBJECT

private slots:
    void onX11_windowMadeAgainKeepsTheKeyboard() {
        const Dovrin::Testing::PrivateXServer x;
        QVERIFY2(!x.display().isEmpty(), "Xvfb could not be started; the set-up script installs it");
        QString output;
        QVERIFY2(x.runOnX11(&output), qPrintable(output));
    }

    void hover_showsControlsAndShortensTheLabel() {
        Provenance table;
        Sticky sticky;
        Note labelled = sticky.state.note();
        labelled.agentLabel = AgentLabel{"Claude", AgentLabel::Action::edited};
        table.note(labelled);
        sticky.state.followProvenance(table);
        StickyViewProvenanceLabel* label = sticky.panel.findChild<StickyViewProvenanceLabel*>();

        QVERIFY(label->isVisible());
        QCOMPARE(label->text(), Dovrin::Agent::LabelText::fullForm(*labelled.agentLabel));
        QCOMPARE(label->accessibleName(),
                 Dovrin::Agent::LabelText::spokenForm(*labelled.agentLabel, labelled.updatedAt,
                                                      QDateTime::currentDateTimeUtc()));
        QVERIFY(!sticky.button("close")->isVisible());

        sticky.hover(true);
        QVERIFY(sticky.state.isHovering());
        for (const QString& name : QStringList{"close", "newSticky", "copyLink"})
            QVERIFY(sticky.button(name)->isVisible());
        QCOMPARE(label->text(), Dovrin::Agent::LabelText::shortForm(AgentLabel::Action::edited));
        // The short label stays clear of the controls.
        QVERIFY(label->geometry().right() < sticky.button("copyLink")->x());
        QVERIFY(label->x() > sticky.button("close")->geometry().right());

        sticky.hover(false);
        QVERIFY(!sticky.state.isHovering());
        QVERIFY(!sticky.button("close")->isVisible());
        QCOMPARE(label->text(), Dovrin::Agent::LabelText::fullForm(*labelled.agentLabel));

        QHelpEvent help(QEvent::ToolTip, label->geometry().center(),
                        sticky.strip()->mapToGlobal(label->geometry().center()));
        QApplication::sendEvent(sticky.strip(), &help);
        QCOMPARE(QToolTip::text(), Dovrin::Agent::LabelText::tooltip(*labelled.agentLabel, labelled.updatedAt,
                                                                     QDateTime::currentDateTimeUtc()));

        table.clear(labelled.id);
        QVERIFY(!sticky.state.provenance());
        QVERIFY(!label->isVisible());
    }

    void controls_askForTheirActions() {
        Sticky sticky;
        QSignalSpy actions(&sticky.state, &StickyViewState::actionRequested);
        sticky.hover(true);
        QTest::mouseClick(sticky.button("close"), Qt::LeftButton);
        QTest::mouseClick(sticky.button("newSticky"), Qt::LeftButton);
        QTest::mouseClick(sticky.button("copyLink"), Qt::LeftButton);
        QCOMPARE(actions.size(), 3);
        QCOMPARE(actions.at(0).at(0).value<StickyAction>(), StickyAction::close);
        QCOMPARE(actions.at(1).at(0).value<StickyAction>(), StickyAction::newSticky);
        QCOMPARE(actions.at(2).at(0).value<StickyAction>(), StickyAction::copyLink);

        QCOMPARE(sticky.button("close")->text(), QString("Close"));
        QCOMPARE(sticky.button("close")->toolTip(),
                 QString("Hides this note. Find it again in the Dovrin menu."));
        QCOMPARE(sticky.button("newSticky")->text(), QString("New sticky"));
        QCOMPARE(sticky.button("copyLink")->toolTip(),
                 QString("Copies this note's link. Paste it into your AI."));

        // A window manager's close goes through the owner, which saves before it closes.
        sticky.panel.close();
        QVERIFY(sticky.panel.isVisible());
        QCOMPARE(actions.last().at(0).value<StickyAction>(), StickyAction::close);
    }

    void copyLink_needsTextAndShowsCopiedThenReturns() {
        Sticky sticky(sampleNote(" \n<br />\n  "));
        QSignalSpy actions(&sticky.state, &StickyViewState::actionRequested);
        sticky.hover(true);
        StickyViewButton* copy = sticky.button("copyLink");
        QVERIFY(!copy->isEnabled());
        QCOMPARE(copy->toolTip(), QString("Write something first"));
        QTest::mouseClick(copy, Qt::LeftButton);
        QCOMPARE(actions.size(), 0);

        Note typed = sticky.state.note();
        typed.markdown = "x";
        sticky.state.setNote(typed);
        QVERIFY(copy->isEnabled());
        QCOMPARE(copy->text(), QString("Copy link"));
        const int restingWidth = copy->width();

        sticky.state.showCopied();
        QCOMPARE(copy->text(), QString("Copied"));
        QVERIFY(copy->width() > restingWidth);
        QTRY_COMPARE(copy->text(), QString("Copy link"));
        QCOMPARE(copy->width(), restingWidth);
    }

    void strip_doubleClickCollapsesDragMovesRightClickAsksForMenu() {
        Sticky sticky;
        QSignalSpy actions(&sticky.state, &StickyViewState::actionRequested);
        QSignalSpy menus(&sticky.state, &StickyViewState::menuRequested);
        QSignalSpy frames(&sticky.panel, &StickyPanel::frameChanged);
        const QPoint inStrip(140, 16);

        QTest::mouseDClick(sticky.strip(), Qt::LeftButton, {}, inStrip);
        QCOMPARE(actions.size(), 1);
        QCOMPARE(actions.at(0).at(0).value<StickyAction>(), StickyAction::toggleCollapsed);
        QCOMPARE(sticky.panel.pos(), QPoint(200, 150));

        QTest::mousePress(sticky.strip(), Qt::LeftButton, {}, inStrip);
        QTest::mouseMove(sticky.strip(), inStrip + QPoint(60, 35));
        QTest::mouseRelease(sticky.strip(), Qt::LeftButton, {}, inStrip + QPoint(60, 35));
        QCOMPARE(sticky.panel.pos(), QPoint(260, 185));
        QVERIFY(!frames.isEmpty());
        QCOMPARE(actions.size(), 1);

        QContextMenuEvent menu(QContextMenuEvent::Mouse, inStrip, sticky.strip()->mapToGlobal(inStrip));
        QApplication::sendEvent(sticky.strip(), &menu);
        QCOMPARE(menus.size(), 1);
        QCOMPARE(menus.at(0).at(0).toPoint(), sticky.strip()->mapToGlobal(inStrip));
    }

    void edges_resizeTheWindowWithinItsLimits() {
        Sticky sticky;
        StickyView* view = sticky.panel.view();
        const QPoint corner(277, 237);
        QTest::mousePress(view, Qt::LeftButton, {}, corner);
        QTest::mouseMove(view, corner + QPoint(40, 30));
        QTest::mouseRelease(view, Qt::LeftButton, {}, corner + QPoint(40, 30));
        QCOMPARE(sticky.panel.geometry(), QRect(200, 150, 320, 270));

        const QPoint left(2, 100);
        QTest::mousePress(view, Qt::LeftButton, {}, left);
        QTest::mouseMove(view, left + QPoint(300, 0));
        QTest::mouseRelease(view, Qt::LeftButton, {}, left + QPoint(300, 0));
        QCOMPARE(sticky.panel.geometry(), QRect(320, 150, StickyPanel::minimumWidth, 270));
    }

    void collapsed_showsOnlyTheStripWithTheTitle() {
        Sticky sticky;
        Note collapsed = sticky.state.note();
        collapsed.isCollapsed = true;
        sticky.state.setNote(collapsed);
        sticky.panel.setFrame(QRect(200, 150, 280, 32), false);
        QTRY_COMPARE(sticky.panel.maximumHeight(), 32);
        QCOMPARE(sticky.panel.height(), 32);
        QVERIFY(!sticky.panel.findChild<QWidget*>("editorHost")->isVisible());

        const QImage image = sticky.panel.grab().toImage();
        const QColor text = stickyPalette(StickyColor::yellow, Appearance::light).text;
        bool titleDrawn = false;
        for (int x = 62; x < 280 - 62 && !titleDrawn; ++x) {
            for (int y = 8; y < 24; ++y)
                titleDrawn = titleDrawn || pixel(image, QPoint(x, y)).lightness() < 128;
        }
        QVERIFY2(titleDrawn, "the title is drawn in the strip in the text colour");
        QVERIFY(text.lightness() < 128);

        collapsed.isCollapsed = false;
        sticky.state.setNote(collapsed);
        QSignalSpy finished(&sticky.panel, &StickyPanel::frameAnimationFinished);
        sticky.panel.setFrame(QRect(200, 150, 280, 240), true);
        QVERIFY(sticky.panel.isAnimatingFrame());
        QVERIFY(finished.wait());
        QVERIFY(!sticky.panel.isAnimatingFrame());
        QCOMPARE(sticky.panel.height(), 240);
        QTRY_COMPARE(sticky.panel.minimumHeight(), 160);
        QVERIFY(sticky.panel.findChild<QWidget*>("editorHost")->isVisible());
    }

    void painting_roundsTheCornersAndFillsInThePalette() {
        const QPalette original = QApplication::palette();
        Sticky sticky;
        QImage image = sticky.panel.grab().toImage();
        QCOMPARE(image.deviceIndependentSize(), QSizeF(280, 240));
        QCOMPARE(pixel(image, QPoint(0, 0)).alpha(), 0);
        QCOMPARE(pixel(image, QPoint(279, 239)).alpha(), 0);
        QCOMPARE(pixel(image, QPoint(140, 160)), stickyPalette(StickyColor::yellow, Appearance::light).fill);
        // The hairline sits on the shape's outermost pixels and darkens them.
        const QColor edge = pixel(image, QPoint(140, 239));
        QVERIFY(edge.alpha() > 128);
        QVERIFY(edge.lightness() < stickyPalette(StickyColor::yellow, Appearance::light).fill.lightness());

        const QImage sparkle = tintedGlyph(StickyGlyph::sparkle, QSize(8, 8), Qt::red, 2).toImage();
        QCOMPARE(sparkle.size(), QSize(16, 16));
        QCOMPARE(sparkle.pixelColor(8, 8), QColor(Qt::red));
        QCOMPARE(sparkle.pixelColor(0, 0).alpha(), 0);

        Note blue = sticky.state.note();
        blue.color = StickyColor::blue;
        sticky.state.setNote(blue);
        QPalette dark = original;
        dark.setColor(QPalette::Window, QColor(0x1E, 0x1E, 0x1E));
        QApplication::setPalette(dark);
        image = sticky.panel.grab().toImage();
        QCOMPARE(pixel(image, QPoint(140, 160)), stickyPalette(StickyColor::blue, Appearance::dark).fill);
        QApplication::setPalette(original);
    }

    void webView_isHostedBelowTheStripAndHandedBack() {
        Sticky sticky;
        auto* editor = new QWidget;
        sticky.state.setWebView(editor);
        QCOMPARE(editor->parentWidget()->objectName(), QString("editorHost"));
        QVERIFY(editor->isVisible());
        QTRY_VERIFY(editor->mapTo(&sticky.panel, QPoint(0, 0)).y() >= StickyViewDragStrip::stripHeight);

        sticky.state.setWebView(nullptr);
        QCOMPARE(editor->parentWidget(), nullptr);
        delete editor;
    }

    void window_titleAccessibilityAndFloating() {
        Provenance table;
        Sticky sticky;
        sticky.state.followProvenance(table);
        StickyPanel& panel = sticky.panel;
        QCOMPARE(panel.windowTitle(), QString("Groceries"));
        QVERIFY(panel.windowFlags().testFlag(Qt::Tool));
        QVERIFY(panel.windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(panel.testAttribute(Qt::WA_TranslucentBackground));
        QVERIFY(!panel.windowFlags().testFlag(Qt::WindowStaysOnTopHint));

        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&panel);
        QVERIFY(accessible);
        QCOMPARE(accessible->text(QAccessible::Value), QString("Sticky note, Yellow"));
        QCOMPARE(
            accessible->actionInterface()->actionNames(),
            QStringList({"Copy Link", "Copy as Text", "Next Color", "Float on Top", "Collapse", "Delete"}));

        Note note = sticky.state.note();
        note.markdown = "";
        note.color = StickyColor::green;
        note.isFloating = true;
        note.isCollapsed = true;
        sticky.state.setNote(note);
        QCOMPARE(panel.windowTitle(), QString("Untitled"));
        QVERIFY(panel.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(panel.isVisible());
        QCOMPARE(accessible->text(QAccessible::Value), QString("Sticky note, Green, floating, Collapsed"));
        QCOMPARE(accessible->actionInterface()->actionNames().at(4), QString("Expand"));

        note.isCollapsed = false;
        note.agentLabel = AgentLabel{"Codex", AgentLabel::Action::added};
        sticky.state.setNote(note);
        table.note(note);
        QCOMPARE(accessible->text(QAccessible::Value),
                 QString("Sticky note, Green, floating, Added by Codex"));

        QSignalSpy actions(&sticky.state, &StickyViewState::actionRequested);
        accessible->actionInterface()->doAction("Next Color");
        accessible->actionInterface()->doAction("Delete");
        QCOMPARE(actions.size(), 2);
        QCOMPARE(actions.at(0).at(0).value<StickyAction>(), StickyAction::nextColor);
        QCOMPARE(actions.at(1).at(0).value<StickyAction>(), StickyAction::remove);
    }
};

// Activation needs a real X server: the offscreen platform activates every window it shows.
class StickyPanelOnX11Test final : public QObject {
    Q_OBJECT

private slots:
    void windowMadeAgain_keepsTheKeyboardItHad() {
        Sticky sticky;
        auto* field = new QLineEdit(sticky.panel.view());
        field->show();
        // Shown without activating, as stickies that did not ask for the keyboard are; then the user
        // clicks into it.
        sticky.panel.setAttribute(Qt::WA_ShowWithoutActivating);
        sticky.panel.activateWindow();
        field->setFocus();
        QTRY_VERIFY(sticky.panel.isActiveWindow());
        QTRY_COMPARE(QApplication::focusWidget(), field);

        Note floating = sticky.state.note();
        floating.isFloating = true;
        sticky.state.setNote(floating);
        QVERIFY(sticky.panel.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QTRY_VERIFY(sticky.panel.isActiveWindow());
        QTRY_COMPARE(QApplication::focusWidget(), field);
    }
};

int main(int argc, char** argv) {
    return Dovrin::Testing::runTests<QApplication, StickyPanelTest, StickyPanelOnX11Test>(argc, argv);
}
#include "StickyPanelTest.moc"
