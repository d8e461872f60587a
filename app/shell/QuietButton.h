#pragma once

#include <QPushButton>

namespace Dovrin::Shell {

// A push button drawn as a soft rounded fill of the text colour, as the buttons inside a settings list are,
// so that a list of rows with two buttons each stays calm. It keeps QPushButton's keys and accessibility.
class QuietButton final : public QPushButton {
    Q_OBJECT
    Q_DISABLE_COPY(QuietButton)

public:
    explicit QuietButton(const QString& text, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
};

} // namespace Dovrin::Shell
