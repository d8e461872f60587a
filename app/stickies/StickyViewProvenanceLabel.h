#pragma once

#include <QWidget>

namespace Dovrin::Stickies {

// The "✦" line: a sparkle and the label's text in the note's tint, one element for screen readers.
class StickyViewProvenanceLabel final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(StickyViewProvenanceLabel)

public:
    explicit StickyViewProvenanceLabel(QWidget* parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString& text);
    void setColor(const QColor& color);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QFont textFont() const;

    QString m_text;
    QColor m_color = Qt::black;
};

} // namespace Dovrin::Stickies
