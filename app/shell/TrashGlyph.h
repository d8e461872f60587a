#pragma once

#include <QWidget>

namespace Dovrin::Shell {

// The trash symbol of an empty Recently Deleted, in the palette's placeholder colour; decoration only.
class TrashGlyph final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(TrashGlyph)

public:
    explicit TrashGlyph(int size, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace Dovrin::Shell
