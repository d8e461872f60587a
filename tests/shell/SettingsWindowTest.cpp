#include "app/shell/SettingsWindow.h"
#include "app/agent/AgentActivity.h"
#include "app/agent/Provenance.h"
#include "app/agent/ui/AgentTray.h"
#include "app/core/AppSettings.h"
#include "app/shell/HotKeys.h"
#include "app/shell/LoginItem.h"
#include "app/stickies/AgentStickies.h"
#include "app/stickies/StickyManager.h"
#include "app/store/DefaultColor.h"
#include "app/store/NoteStore.h"
#include "shared/bridge/SharedSettings.h"
#include "tests/support/EditorTestMain.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QRadioButton>
#include <QSettings>
#include <QtTest>

using namespace Dovrin;

namespace {

// The app's parts the settings window works with, over a database in a temporary data folder.
struct App {
    QTemporaryDir data{"/tmp/dv-XXXXXX"};
    bool pointed = (qputenv("DOVRIN_HOME", QFile::encodeName(data.path())), true);
    std::unique_ptr<Store::NoteStore> store = Store::NoteStore::openInDataDirectory().value();
    Agent::Provenance provenance;
    Stickies::StickyManager manager{*store, provenance};
    Stickies::AgentStickies stickies{manager, provenance};
    Agent::AgentActivity activity{stickies, *store};
    Agent::AgentTray tray{activity, nullptr};
    Shell::HotKeys hotKeys{[](Shell::HotKeyAction) {}};
};

QRadioButton* radio(QWidget& window, const QString& label) {
    for (QRadioButton* button : window.findChildren<QRadioButton*>())
        if (button->text() == label)
            return button;
    return nullptr;
}

QAction* trayAccessItem(Agent::AgentTray& tray, const QString& title) {
    for (QAction* item : tray.accessItem()->menu()->actions())
        if (item->text() == title)
            return item;
    return nullptr;
}

} // namespace

class SettingsWindowTest final : public QObject {
    Q_OBJECT

private slots:
    void general_storesEachChoiceAtOnce() {
        App app;
        QSettings& settings = Core::appSettings();
        int relaunches = 0;
        Shell::SettingsWindow window(app.hotKeys, app.activity, {[&] { ++relaunches; }, [] {}, [] {}});
        auto* showInDock = window.findChild<QCheckBox*>("showInDock");
        auto* color = window.findChild<QComboBox*>("defaultColor");
        QVERIFY(!showInDock->isChecked());
        QCOMPARE(color->currentText(), QString("Yellow"));
        QSignalSpy dockChanges(&window, &Shell::SettingsWindow::showInDockChanged);
        showInDock->click();
        color->setCurrentIndex(color->findText("Blue"));
        QCOMPARE(dockChanges.size(), 1);
        QFile file(settings.fileName());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray written = file.readAll();
        QVERIFY2(written.contains("showInDock=true") && written.contains("defaultColor=blue"), written);
        QCOMPARE(Store::defaultStickyColor(), Store::StickyColor::blue);
        Shell::SettingsWindow reopened(app.hotKeys, app.activity, {[] {}, [] {}, [] {}});
        QVERIFY(reopened.findChild<QCheckBox*>("showInDock")->isChecked());
        QCOMPARE(reopened.findChild<QComboBox*>("defaultColor")->currentText(), QString("Blue"));

        // Another language than the running one asks to relaunch and notes it; the running one asks nothing.
        window.showWindow();
        auto* language = window.findChild<QComboBox*>("language");
        auto* note = window.findChild<QLabel*>("languageNote");
        QVERIFY(note->isHidden());
        language->setCurrentIndex(language->findText("简体中文"));
        QCOMPARE(settings.value("language").toString(), QString("zh-Hans"));
        auto* alert = window.findChild<QMessageBox*>();
        QVERIFY(alert && alert->isVisible());
        QCOMPARE(alert->text(), QString("Relaunch Dovrin to switch to 简体中文?"));
        QVERIFY(!note->isHidden());
        for (QAbstractButton* button : alert->buttons())
            if (button->text() == "Relaunch Now")
                button->click();
        QCOMPARE(relaunches, 1);
        language->setCurrentIndex(language->findText("English"));
        QTRY_VERIFY(!window.findChild<QMessageBox*>());
        QVERIFY(note->isHidden());

        // The login toggle writes the autostart entry and removes it again.
        auto* login = window.findChild<QCheckBox*>("openAtLogin");
        QVERIFY(!login->isChecked());
        login->click();
        QFile entry(Shell::LoginItem::entryPath());
        QVERIFY(entry.open(QIODevice::ReadOnly));
        QVERIFY(entry.readAll().contains(" --background\n"));
        login->click();
        QVERIFY(!QFile::exists(Shell::LoginItem::entryPath()));
        QVERIFY(!login->isChecked());
        settings.clear();
    }

    void ai_followsTheTrayAndReachesDovrinMcp() {
        App app;
        Shell::SettingsWindow window(app.hotKeys, app.activity, {[] {}, [] {}, [] {}});
        window.showWindow(Shell::SettingsTab::ai);
        QVERIFY(radio(window, "Read && write")->isChecked());
        radio(window, "Read only")->click();
        app.tray.refreshMenu();
        QVERIFY(trayAccessItem(app.tray, "Read Only")->isChecked());
        trayAccessItem(app.tray, "Off")->trigger();
        QVERIFY(radio(window, "Off")->isChecked());
        QCOMPARE(Bridge::SharedSettings::read().aiAccess, Bridge::AIAccess::off);

        // dovrin-mcp reads "Let AI open Dovrin" off and leaves the app closed.
        auto* letAIOpen = window.findChild<QCheckBox*>("letAIOpenDovrin");
        QVERIFY(letAIOpen->isChecked());
        letAIOpen->click();
        QVERIFY(!Bridge::SharedSettings::read().letAIOpenDovrin);
        const QString launches = app.data.filePath("launches");
        const QString standIn = app.data.filePath("dovrin-stand-in");
        QFile script(standIn);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\necho launched >> \"" + QFile::encodeName(launches) + "\"\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcess mcp;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DOVRIN_APP", standIn);
        mcp.setProcessEnvironment(environment);
        mcp.start(qEnvironmentVariable("DOVRIN_BUILD_DIR") + "/bin/dovrin-mcp");
        mcp.write(
            R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{"protocolVersion":"2025-06-18",)"
            R"("capabilities":{},"clientInfo":{"name":"claude-ai","version":"1"}}})"
            "\n"
            R"({"jsonrpc":"2.0","method":"notifications/initialized"})"
            "\n"
            R"({"jsonrpc":"2.0","id":2,"method":"tools/call","params":{"name":"list_notes","arguments":{}}})"
            "\n");
        QByteArray answers;
        while (answers.count('\n') < 2 && mcp.waitForReadyRead(15000))
            answers += mcp.readAll();
        mcp.closeWriteChannel();
        QVERIFY(mcp.waitForFinished(10000));
        const QJsonObject result =
            QJsonDocument::fromJson(answers.split('\n').at(1)).object()["result"].toObject();
        QVERIFY2(result["isError"].toBool(), answers);
        QVERIFY(!QFile::exists(launches));
    }
};

int main(int argc, char** argv) {
    // The settings file is read once per run; a fresh home keeps earlier runs out.
    Dovrin::Testing::TemporaryHome home;
    return Dovrin::Testing::runTests<QApplication, SettingsWindowTest>(argc, argv,
                                                                       &Stickies::prepareEditorEngine);
}

#include "SettingsWindowTest.moc"
