#pragma once

#include <QList>
#include <QWidget>

class QLabel;
class QVBoxLayout;

namespace Dovrin::Shell {

// A titled group of settings on a rounded card: rows with their title (and a note) on the left and their
// control on the right, thin lines between them, and an optional footer under the card.
class SettingsSection final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(SettingsSection)

public:
    // No title: the card stands without a heading.
    explicit SettingsSection(const QString& title = {}, QWidget* parent = nullptr);

    // The note, when given, sits under the title in the secondary style; returned so it can be shown or
    // hidden.
    QLabel* addRow(const QString& title, QWidget* control, const QString& note = {});
    // Content across the card's width (choices, a list).
    void addWidget(QWidget* widget);
    QLabel* addFooter(const QString& text);

private:
    class Card;
    Card* m_card = nullptr;
    QVBoxLayout* m_layout = nullptr;
};

} // namespace Dovrin::Shell
