#pragma once

#include <QAbstractButton>

namespace Dovrin::Shell {

// A row of the language step: the language's name, a check mark when chosen, a soft highlight under the
// chosen row and the pointer.
class LanguageRow final : public QAbstractButton {
    Q_OBJECT
    Q_DISABLE_COPY(LanguageRow)

public:
    explicit LanguageRow(const QString& label, QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    bool m_hovered = false;
};

} // namespace Dovrin::Shell
