#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

namespace Dovrin::Stickies {

// One block command of the slash menu.
struct SlashItem {
    // A symbol names one of the shipped icons; a text is drawn as it is (the heading levels).
    struct Glyph {
        enum class Kind { symbol, text };
        Kind kind = Kind::symbol;
        QString value;
    };

    // The command id sent to the page.
    QString id;
    // The English name; shownName() is what the menu draws.
    const char* name = "";
    // The Markdown shortcut shown at the right; empty for none.
    QString hint;
    Glyph glyph;
    // Items of different groups are separated by a divider.
    int group = 0;
    QStringList aliases;

    QString shownName() const;
    // Whether any word of the shown or English name, or an alias, starts with the query.
    bool matches(const QString& query) const;
};

// The command table, in menu order, built once.
const QList<SlashItem>& slashItems();

// What the slash menu shows: the items matching the typed query and the one Return would run.
class SlashMenuModel final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(SlashMenuModel)

public:
    explicit SlashMenuModel(QObject* parent = nullptr);

    const QString& query() const { return m_query; }
    const QList<SlashItem>& matches() const { return m_matches; }
    int selected() const { return m_selected; }

    // Filters the table by the query and selects the first match.
    void setQuery(const QString& query);
    // Moves the selection by -1 or +1, wrapping at both ends.
    void move(int delta);
    // The row under the mouse becomes the selected one.
    void select(int index);
    // The selected match, or nullptr when nothing matches.
    const SlashItem* selectedItem() const;

signals:
    void changed();

private:
    QString m_query;
    QList<SlashItem> m_matches;
    int m_selected = 0;
};

} // namespace Dovrin::Stickies
