// The settings window's three tabs, with two AIs that have connected, and the language step of a first
// launch.

#include "app/agent/AgentActivity.h"
#include "app/agent/Provenance.h"
#include "app/core/AppLanguage.h"
#include "app/shell/HotKeys.h"
#include "app/shell/LanguageStep.h"
#include "app/shell/SettingsWindow.h"
#include "app/stickies/AgentStickies.h"
#include "app/stickies/StickyManager.h"
#include "app/store/NoteStore.h"
#include "shared/bridge/SharedSettings.h"
#include "tools/window_preview/Preview.h"

#include <QApplication>
#include <QTabWidget>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace Dovrin::Preview {

namespace {

bool settings(const QDir& folder) {
    auto store = Store::NoteStore::openInDataDirectory();
    if (!store) {
        QTextStream(stderr) << "cannot open the notes: " << store.error().description << '\n';
        return false;
    }
    Bridge::SharedSettings shared;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    shared.connectedAIs = {{u"Claude"_s, now.addSecs(-20)}, {u"Codex"_s, now.addSecs(-3 * 3600)}};
    if (!shared.write()) {
        QTextStream(stderr) << "cannot write the shared settings\n";
        return false;
    }
    Agent::Provenance provenance;
    Stickies::StickyManager manager(**store, provenance);
    Stickies::AgentStickies stickies(manager, provenance);
    Agent::AgentActivity activity(stickies, **store);
    Shell::HotKeys hotKeys([](Shell::HotKeyAction) {});
    bool ok = true;
    for (const bool dark : {false, true}) {
        if (dark)
            QApplication::setPalette(darkPalette());
        Shell::SettingsWindow window(hotKeys, activity, {[] {}, [] {}, [] {}});
        const QString suffix = dark ? u"-dark.png"_s : u".png"_s;
        const std::pair<Shell::SettingsTab, QString> tabs[] = {{Shell::SettingsTab::general, u"general"_s},
                                                               {Shell::SettingsTab::ai, u"ai"_s},
                                                               {Shell::SettingsTab::about, u"about"_s}};
        for (const auto& [tab, name] : tabs) {
            window.showWindow(tab);
            wait(400);
            ok = capture(window, folder, u"settings-"_s + name + suffix) && ok;
        }
    }
    return ok;
}

bool languageStep(const QDir& folder) {
    Shell::LanguageStep step(Core::AppLanguage::english, [](Core::AppLanguage) {});
    return captureLightAndDark(
        step, [&] { step.showCentred(true); }, folder, u"language-step"_s);
}

const Registration settingsRegistration(u"settings"_s, &settings);
const Registration languageStepRegistration(u"language-step"_s, &languageStep);

} // namespace

} // namespace Dovrin::Preview
