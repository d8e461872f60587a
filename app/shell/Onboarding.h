#pragma once

class QSettings;

namespace Dovrin::Shell {

// How far a new user is through the first launch, kept under "onboarding" in the app settings so that a
// launch interrupted before the language is chosen asks again.
class Onboarding final {
public:
    enum class Stage { chooseLanguage, welcome, over };

    explicit Onboarding(QSettings& settings);

    // Absent or unknown values mean onboarding is over.
    Stage stage() const;
    void setStage(Stage stage);
    // True once, when the welcome note is due; onboarding is then over.
    bool takeWelcome();

private:
    QSettings& m_settings;
};

} // namespace Dovrin::Shell
