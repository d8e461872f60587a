#include "app/shell/Onboarding.h"

#include "app/core/AppSettings.h"

#include <QSettings>

using namespace Qt::StringLiterals;

namespace Dovrin::Shell {

namespace {

const QString stageKey = u"onboarding"_s;
const QString chooseLanguageValue = u"chooseLanguage"_s;
const QString welcomeValue = u"welcome"_s;

} // namespace

Onboarding::Onboarding(QSettings& settings) : m_settings(settings) {}

Onboarding::Stage Onboarding::stage() const {
    const QString stored = m_settings.value(stageKey).toString();
    if (stored == chooseLanguageValue)
        return Stage::chooseLanguage;
    if (stored == welcomeValue)
        return Stage::welcome;
    return Stage::over;
}

void Onboarding::setStage(Stage stage) {
    Core::storeSetting(m_settings, stageKey,
                       stage == Stage::over             ? QVariant()
                       : stage == Stage::chooseLanguage ? chooseLanguageValue
                                                        : welcomeValue);
}

bool Onboarding::takeWelcome() {
    if (stage() != Stage::welcome)
        return false;
    setStage(Stage::over);
    return true;
}

} // namespace Dovrin::Shell
