#pragma once

#include <QWidget>

#include <functional>

namespace Dovrin::Shell {

// The About tab: the version and build, the welcome note again, where the notes live, the copyright line
// and the acknowledgements of the libraries Dovrin ships with.
class AboutSettings final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(AboutSettings)

public:
    // `showWelcomeNote` makes a new welcome note each time.
    explicit AboutSettings(std::function<void()> showWelcomeNote, QWidget* parent = nullptr);

    // "0.1.0 (1)": the version, then the build number.
    static QString versionText();
};

} // namespace Dovrin::Shell
