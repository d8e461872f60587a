#pragma once

#include <QFrame>

class QTextEdit;

namespace Dovrin::Shell {

class QuietButton;

// A block of monospace text (a path, a command, a file's content) that can be selected, with a Copy button
// that puts all of it on the clipboard. Lines longer than the block wrap wherever they must: paths have no
// spaces to wrap at, and a line cut off could not be read.
class SnippetBlock final : public QFrame {
    Q_OBJECT
    Q_DISABLE_COPY(SnippetBlock)

public:
    explicit SnippetBlock(QWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void copy();

    QTextEdit* m_text = nullptr;
    QuietButton* m_copy = nullptr;
};

} // namespace Dovrin::Shell
