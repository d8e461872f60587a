#pragma once

#include "app/store/Note.h"

#include <QDateTime>
#include <QWidget>

class QSpacerItem;

namespace Dovrin::Shell {

class QuietButton;

// One note of Recently Deleted: its colour, title, preview, the AI that deleted it, when it was deleted and
// how long it stays, then its Restore and Delete Immediately… buttons. The texts are drawn rather than held
// by labels, so that assistive technology meets the row as one element named by all of them.
class DeletedRow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(DeletedRow)

public:
    DeletedRow(const Store::Note& note, const QDateTime& now, QWidget* parent = nullptr);

    // How far from the row's left edge its texts begin, past the colour dot.
    static constexpr int textIndent = 38;

    QUuid noteID() const { return m_id; }

signals:
    void restoreClicked();
    void deleteClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct Fonts {
        QFont title;
        QFont body;
        QFont detail;
    };

    Fonts fonts() const;
    // The height of the texts, which the layout keeps free beside the buttons.
    int textHeight() const;

    QUuid m_id;
    Store::StickyColor m_color;
    QString m_title;
    QString m_preview;
    QString m_deletedBy;
    QString m_when;
    QSpacerItem* m_textArea = nullptr;
    QuietButton* m_restore = nullptr;
    QuietButton* m_delete = nullptr;
};

} // namespace Dovrin::Shell
