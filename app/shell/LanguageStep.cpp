#include "app/shell/LanguageStep.h"

#include "app/shell/LanguageRow.h"
#include "app/shell/WindowStyle.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace Dovrin::Shell {

namespace {

constexpr Core::AppLanguage languages[] = {Core::AppLanguage::english, Core::AppLanguage::simplifiedChinese};

} // namespace

LanguageStep::LanguageStep(Core::AppLanguage preselected, std::function<void(Core::AppLanguage)> done,
                           QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_rows(new QButtonGroup(this)), m_done(std::move(done)) {
    setWindowTitle(u"Dovrin"_s);

    auto* heading = new QLabel(tr("Choose your language"), this);
    QFont headingFont = heading->font();
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.5);
    headingFont.setWeight(QFont::DemiBold);
    heading->setFont(headingFont);
    heading->setAlignment(Qt::AlignCenter);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 28, 32, 24);
    layout->setSpacing(4);
    layout->addWidget(heading);
    layout->addSpacing(18);
    for (const Core::AppLanguage language : languages) {
        auto* row = new LanguageRow(Core::languageLabel(language), this);
        row->setChecked(language == preselected);
        m_rows->addButton(row, int(language));
        layout->addWidget(row);
    }

    QLabel* note = secondaryLabel(tr("You can change this later in Dovrin Settings."), this);
    note->setAlignment(Qt::AlignCenter);
    layout->addSpacing(14);
    layout->addWidget(note);
    layout->addSpacing(18);

    auto* continueButton = new QPushButton(tr("Continue"), this);
    continueButton->setDefault(true);
    continueButton->setAutoDefault(true);
    continueButton->setMinimumHeight(34);
    layout->addWidget(continueButton);
    connect(continueButton, &QPushButton::clicked, this, [this] {
        m_chosen = true;
        close();
        m_done(selection());
    });
    // Up and Down move the check between the rows, as in a list, wherever the focus is in the window.
    for (const auto& [key, step] : {std::pair(Qt::Key_Up, -1), std::pair(Qt::Key_Down, 1)}) {
        connect(new QShortcut(QKeySequence(key), this), &QShortcut::activated, this, [this, step] {
            const int next = std::clamp(m_rows->checkedId() + step, 0, int(std::size(languages)) - 1);
            m_rows->button(next)->setChecked(true);
        });
    }
    setFixedSize(sizeHint().expandedTo({340, 0}));
}

Core::AppLanguage LanguageStep::selection() const {
    return Core::AppLanguage(m_rows->checkedId());
}

void LanguageStep::showCentred(bool activate) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    setAttribute(Qt::WA_ShowWithoutActivating, !activate);
    show();
    raise();
    if (activate)
        activateWindow();
}

void LanguageStep::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (!m_chosen)
        emit dismissed();
}

} // namespace Dovrin::Shell
