#pragma once

#include "app/core/AppLanguage.h"

#include <QWidget>

#include <functional>

class QButtonGroup;

namespace Dovrin::Shell {

// The first launch's question: which language Dovrin speaks. One row per language, the chosen one checked,
// and "Continue". Closing the window instead ends the launch (it asks again next time).
class LanguageStep final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(LanguageStep)

public:
    // `done` gets the language chosen with "Continue".
    LanguageStep(Core::AppLanguage preselected, std::function<void(Core::AppLanguage)> done,
                 QWidget* parent = nullptr);

    Core::AppLanguage selection() const;
    // Centred on the main screen; `activate` false leaves the focus with the user's current window (a start
    // in the background).
    void showCentred(bool activate);

signals:
    // The window was closed without a choice.
    void dismissed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QButtonGroup* m_rows = nullptr;
    std::function<void(Core::AppLanguage)> m_done;
    bool m_chosen = false;
};

} // namespace Dovrin::Shell
