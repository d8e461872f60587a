#include "app/core/AppSettings.h"
#include "app/shell/AppDelegate.h"
#include "app/shell/LanguageStep.h"
#include "app/stickies/StickyPanel.h"
#include "app/store/NoteStore.h"
#include "tests/support/EditorTestMain.h"

#include <QAbstractButton>
#include <QApplication>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QtTest>

using namespace Dovrin;

namespace {

const QString english =
    "# Welcome to Dovrin\nWrite it down. Your AI gets it done.\n\n**Try it:**\n1. [Connect your AI]"
    "(dovrin://connect). It takes about a minute.\n2. Hover over this note and click the link button at the "
    "top "
    "to copy its link.\n3. Paste the link into your AI and say: \"Check these off.\"\n\n- [ ] Read this "
    "note\n"
    "- [ ] Check off each item on this list\n- [ ] Add a one-line tip about sticky notes at the end of this "
    "note\n- [ ] Make me a new sticky that says \"Hello from your AI\"\n\n## Good to know\n- Type / for "
    "headings, to-dos and more.\n- Right-click for colors, Float on Top and Copy as Text.\n- × hides a note. "
    "Find it again in the Dovrin menu.\n- [Open Dovrin when I log in](dovrin://settings/login)\n";

const QString chinese = QString::fromUtf8(
    "# 欢迎使用 Dovrin\n写下来，剩下的交给 AI。\n\n**试一试：**\n1. [连接你的 "
    "AI](dovrin://connect)，大约需要一分钟。\n"
    "2. 将指针移到这张便笺上，点按顶部的链接按钮，拷贝它的链接。\n3. 把链接粘贴给你的 "
    "AI，然后说：“把这些勾掉。”\n\n"
    "- [ ] 读一读这张便笺\n- [ ] 勾掉这个列表中的每一项\n- [ ] "
    "在这张便笺末尾加一条关于便笺的小技巧，一句话就好\n"
    "- [ ] 帮我新建一张便笺，写上“你的 AI 向你问好”\n\n## 小贴士\n- 在任何地方按下 Meta+Ctrl+Alt+N "
    "即可新建便笺。\n"
    "- 输入 / 可添加标题、待办事项等。\n- 右键点按可使用颜色、“浮动在最前面”和“拷贝为文本”。\n"
    "- 点按 × 会隐藏便笺，可在 Dovrin 菜单中再次找到它。\n- [登录时打开 Dovrin](dovrin://settings/login)\n");

Shell::LanguageStep* languageStep() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* step = qobject_cast<Shell::LanguageStep*>(window); step && step->isVisible())
            return step;
    return nullptr;
}

QList<Store::Note> notesIn(const QString& folder) {
    return Store::NoteStore::open(folder + "/Dovrin.sqlite")
        .value()
        ->list(Store::NoteStore::Scope::active)
        .value();
}

int openStickies() {
    int open = 0;
    for (QWidget* window : QApplication::topLevelWidgets())
        open += qobject_cast<Stickies::StickyPanel*>(window) && window->isVisible();
    return open;
}

void clickContinue(Shell::LanguageStep& step) {
    for (QPushButton* button : step.findChildren<QPushButton*>())
        if (button->text() == "Continue")
            button->click();
}

} // namespace

class OnboardingTest final : public QObject {
    Q_OBJECT

private slots:
    void init() { Core::appSettings().clear(); }

    void firstLaunch_asksTheLanguageOnceThenWelcomes() {
        QTemporaryDir data("/tmp/dv-XXXXXX");
        qputenv("DOVRIN_HOME", QFile::encodeName(data.path()));
        // Without the new-sticky shortcut the welcome note leaves its tip out.
        Core::storeSetting(Core::appSettings(), "shortcut.newSticky", QByteArray());
        {
            Shell::AppDelegate app;
            QVERIFY(app.launch());
            Shell::LanguageStep* step = languageStep();
            QVERIFY(step);
            QCOMPARE(step->selection(), Core::AppLanguage::english);
            // Nothing else runs before the choice.
            QVERIFY(!QFile::exists(data.filePath("dv.sock")));
            QCOMPARE(Core::appSettings().value("onboarding").toString(), QString("chooseLanguage"));
            // Closing the step instead of choosing: the next launch asks again.
            step->close();
        }
        {
            Shell::AppDelegate app;
            QVERIFY(app.launch());
            Shell::LanguageStep* step = languageStep();
            QVERIFY(step);
            clickContinue(*step);
            QTRY_VERIFY(QFile::exists(data.filePath("dv.sock")));
            const QList<Store::Note> notes = notesIn(data.path());
            QCOMPARE(notes.size(), 1);
            QCOMPARE(notes.first().markdown, english);
            QCOMPARE(notes.first().color, Store::StickyColor::yellow);
            QCOMPARE(notes.first().frame.size(), QSizeF(300, 400));
            QCOMPARE(Core::appSettings().value("language").toString(), QString("en"));
            QVERIFY(!Core::appSettings().contains("onboarding"));
        }
        {
            // A database that exists skips onboarding: the welcome note is reopened, not made again.
            Shell::AppDelegate app;
            QVERIFY(app.launch());
            QVERIFY(!languageStep());
            QTRY_VERIFY(QFile::exists(data.filePath("dv.sock")));
            QCOMPARE(notesIn(data.path()).size(), 1);
        }
        // With no sticky open and no tray to reach Dovrin by, a start by the user opens a new sticky.
        QVERIFY(Store::NoteStore::open(data.filePath("Dovrin.sqlite"))
                    .value()
                    ->close(notesIn(data.path()).first().id));
        Shell::AppDelegate app;
        QVERIFY(app.launch());
        QTRY_COMPARE(openStickies(), 1);
    }

    void otherLanguage_relaunchesIntoIt() {
        QTemporaryDir data("/tmp/dv-XXXXXX");
        qputenv("DOVRIN_HOME", QFile::encodeName(data.path()));
        int relaunches = 0;
        {
            Shell::AppDelegate app(nullptr, [&] {
                ++relaunches;
                return true;
            });
            QVERIFY(app.launch());
            Shell::LanguageStep* step = languageStep();
            QVERIFY(step);
            step->findChildren<QAbstractButton*>().at(1)->click();
            QCOMPARE(step->selection(), Core::AppLanguage::simplifiedChinese);
            clickContinue(*step);
            QTRY_COMPARE(relaunches, 1);
            QVERIFY(notesIn(data.path()).isEmpty());
            QCOMPARE(Core::appSettings().value("language").toString(), QString("zh-Hans"));
            QCOMPARE(Core::appSettings().value("onboarding").toString(), QString("welcome"));
        }
        // The new instance, as the relaunch starts it, reads what the choice stored.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", QFileInfo(Core::appSettings().fileName()).dir().path() + "/..");
        QProcess relaunched;
        relaunched.setProcessEnvironment(environment);
        relaunched.start(qEnvironmentVariable("DOVRIN_BUILD_DIR") + "/bin/dovrin", {"--background"});
        QVERIFY(relaunched.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(data.filePath("dv.sock")), 20000);
        QTRY_COMPARE_WITH_TIMEOUT(notesIn(data.path()).size(), 1, 10000);
        QCOMPARE(notesIn(data.path()).first().markdown, chinese);
        relaunched.terminate();
        QVERIFY(relaunched.waitForFinished(10000));
        Core::appSettings().sync();
        QVERIFY(!Core::appSettings().contains("onboarding"));
    }
};

DOVRIN_EDITOR_TEST_MAIN(OnboardingTest)
#include "OnboardingTest.moc"
