#include "app/core/AppLanguage.h"

#include "app/core/AppSettings.h"

#include <QLocale>
#include <QSettings>

#include <optional>

using namespace Qt::StringLiterals;

namespace Dovrin::Core {

namespace {

std::optional<AppLanguage> spokenLanguage(const QString& tag) {
    const QLocale locale(tag);
    if (locale.language() == QLocale::English)
        return AppLanguage::english;
    // "zh" alone and "zh-CN" mean Simplified Chinese; "zh-TW" and "zh-Hant" do not.
    if (locale.language() == QLocale::Chinese && locale.script() != QLocale::TraditionalChineseScript)
        return AppLanguage::simplifiedChinese;
    return std::nullopt;
}

} // namespace

QString languageCode(AppLanguage language) {
    return language == AppLanguage::simplifiedChinese ? u"zh-Hans"_s : u"en"_s;
}

QString languageLabel(AppLanguage language) {
    return language == AppLanguage::simplifiedChinese ? u"简体中文"_s : u"English"_s;
}

AppLanguage bestLanguageMatch(const QStringList& preferred) {
    for (const QString& tag : preferred) {
        if (const auto language = spokenLanguage(tag))
            return *language;
    }
    return AppLanguage::english;
}

AppLanguage appLanguage() {
    // A chosen language stands in for the whole preference list, so a value Dovrin doesn't speak means
    // English rather than the system's languages.
    const QStringList chosen = Core::appSettings().value(u"language"_s).toStringList();
    if (!chosen.isEmpty())
        return bestLanguageMatch(chosen);
    return bestLanguageMatch(QLocale::system().uiLanguages());
}

AppLanguage launchedLanguage() {
    static const AppLanguage launched = appLanguage();
    return launched;
}

} // namespace Dovrin::Core
