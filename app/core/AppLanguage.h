#pragma once

#include <QString>
#include <QStringList>

namespace Dovrin::Core {

// The interface languages, in the order a language picker lists them.
enum class AppLanguage { english, simplifiedChinese };

// The language code stored under "language" in the app settings: "en" or "zh-Hans".
QString languageCode(AppLanguage language);

// The language's name in itself ("English", "简体中文"), so that it can be found whatever the interface
// shows.
QString languageLabel(AppLanguage language);

// The first of `preferred` (language tags, most wanted first) that Dovrin speaks; English when none is.
AppLanguage bestLanguageMatch(const QStringList& preferred);

// The language chosen in the app settings ("language"), else the best match for the system's preferred
// languages. Read afresh on every call.
AppLanguage appLanguage();

// appLanguage() as it was when first asked in this process: a new choice takes effect with a relaunch, so
// every text of one run stays in one language.
AppLanguage launchedLanguage();

} // namespace Dovrin::Core
