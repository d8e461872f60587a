#pragma once

#include <QList>
#include <QWidget>

class QVBoxLayout;

namespace Dovrin::Shell {

class DeletedRow;

// The rounded group the rows of Recently Deleted sit in, raised a little from the window, with a hairline
// between rows.
class DeletedList final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(DeletedList)

public:
    explicit DeletedList(QWidget* parent = nullptr);

    // Replaces the rows. The old ones go once control returns to the event loop: one of their buttons may
    // be what asked for the new list.
    void setRows(const QList<DeletedRow*>& rows);
    const QList<DeletedRow*>& rows() const { return m_rows; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QVBoxLayout* m_layout = nullptr;
    QList<DeletedRow*> m_rows;
};

} // namespace Dovrin::Shell
