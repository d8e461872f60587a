#include "app/agent/Provenance.h"
#include "app/core/AppSettings.h"
#include "app/shell/RecentlyDeleted.h"
#include "app/shell/SettingsWindow.h"
#include "app/stickies/EditorProfile.h"
#include "app/stickies/StickyManager.h"
#include "app/store/DefaultColor.h"
#include "app/store/NoteStore.h"
#include "tests/support/TestMain.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using namespace Dovrin;

namespace {

QUuid createNote(Store::NoteStore& store, const QString& markdown) {
    return store
        .create({{markdown, Store::StickyColor::yellow, {}, {}}}, "user", std::nullopt,
                QDateTime::currentDateTimeUtc())
        ->first()
        .id;
}

QStringList rowTexts(const QListWidget& list) {
    QStringList texts;
    for (int i = 0; i < list.count(); ++i)
        texts.append(list.item(i)->text());
    return texts;
}

} // namespace

class ShellWindowsTest final : public QObject {
    Q_OBJECT

private slots:
    void recentlyDeleted_namesTheAI_andRestoreReopens() {
        QTemporaryDir folder;
        auto store = Store::NoteStore::open(folder.filePath("Dovrin.sqlite")).value();
        Agent::Provenance provenance;
        Stickies::StickyManager manager(*store, provenance);
        const QUuid byUser = createNote(*store, "\n\n");
        const QUuid byClaude = createNote(*store, "# Plans\nweekend");
        const QDateTime now = QDateTime::currentDateTimeUtc();
        QVERIFY(store->close(byClaude).ok());
        QVERIFY(store->moveToRecentlyDeleted(byUser, now.addSecs(-60), std::nullopt).ok());
        QVERIFY(store->moveToRecentlyDeleted(byClaude, now, QString("Claude")).ok());

        Shell::RecentlyDeleted window(manager);
        window.showWindow();
        auto* list = window.findChild<QListWidget*>();
        const QStringList rows = rowTexts(*list);
        QCOMPARE(rows.size(), 2);
        QVERIFY2(rows.at(0).startsWith("Plans\nweekend\nDeleted by Claude\n"), qPrintable(rows.at(0)));
        QCOMPARE(rows.at(1), QString("Untitled\nDeleted 1 min. ago · 30 days left"));

        list->setCurrentRow(0);
        window.findChild<QPushButton*>()->click();
        QCOMPARE(list->count(), 1);
        const Store::Note restored = *store->note(byClaude).value();
        QVERIFY(!restored.deletedAt && restored.isOpen);
        QTRY_VERIFY(manager.sticky(byClaude) != nullptr);
    }

    void settings_areWrittenToTheSettingsFileAtOnce() {
        QTemporaryDir folder;
        auto store = Store::NoteStore::open(folder.filePath("Dovrin.sqlite")).value();
        Agent::Provenance provenance;
        Stickies::StickyManager manager(*store, provenance);
        QSettings& settings = Core::appSettings();

        int relaunches = 0;
        Shell::SettingsWindow window(manager, [&] { ++relaunches; });
        auto* showInDock = window.findChild<QCheckBox*>();
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
        // New stickies, the user's and an AI's, take the colour.
        QCOMPARE(Store::defaultStickyColor(), Store::StickyColor::blue);

        Shell::SettingsWindow reopened(manager, [] {});
        QVERIFY(reopened.findChild<QCheckBox*>()->isChecked());
        QCOMPARE(reopened.findChild<QComboBox*>("defaultColor")->currentText(), QString("Blue"));

        // Another language than the running one asks to relaunch; the running one asks nothing.
        window.show();
        auto* language = window.findChild<QComboBox*>("language");
        auto* note = window.findChild<QLabel*>("languageNote");
        QVERIFY(note->isHidden());
        QCOMPARE(language->currentText(), QString("English"));
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
        settings.remove("language");
    }
};

int main(int argc, char** argv) {
    // The settings file is read once per run; a fresh home keeps earlier runs out.
    Dovrin::Testing::TemporaryHome home;
    return Dovrin::Testing::runTests<QApplication, ShellWindowsTest>(argc, argv,
                                                                     &Stickies::prepareEditorEngine);
}

#include "ShellWindowsTest.moc"
