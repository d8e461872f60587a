#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

namespace Dovrin::Stickies {

// One button of the format bar.
struct FormatItem {
    enum class Glyph { bold, italic, strike, code, link };

    // The mark's name as the page reports it; the command is "mark:" + id, or "link:edit" for the link.
    QString id;
    // The English title; shownTitle() is what accessibility and the tooltip read.
    const char* title = "";
    Glyph glyph = Glyph::bold;

    QString shownTitle() const;
    // The command the page runs when the button is pressed.
    QString command() const;
};

// The format bar's buttons, in order.
const QList<FormatItem>& formatItems();

// The marks active over the selection the format bar stands over.
class FormatBarModel final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(FormatBarModel)

public:
    explicit FormatBarModel(QObject* parent = nullptr) : QObject(parent) {}

    const QStringList& marks() const { return m_marks; }
    void setMarks(const QStringList& marks);
    bool isActive(const FormatItem& item) const { return m_marks.contains(item.id); }

signals:
    void changed();

private:
    QStringList m_marks;
};

} // namespace Dovrin::Stickies
