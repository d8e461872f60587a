#include "app/stickies/SlashMenuModel.h"

#include <QCoreApplication>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace Dovrin::Stickies {

namespace {

constexpr const char* itemContext = "Dovrin::Stickies::SlashItem";

SlashItem::Glyph symbol(const QString& name) {
    return {SlashItem::Glyph::Kind::symbol, name};
}

SlashItem::Glyph text(const QString& value) {
    return {SlashItem::Glyph::Kind::text, value};
}

QStringList words(const QString& name) {
    return name.toLower().split(u' ', Qt::SkipEmptyParts);
}

} // namespace

QString SlashItem::shownName() const {
    return QCoreApplication::translate(itemContext, name);
}

bool SlashItem::matches(const QString& query) const {
    const QString wanted = query.toLower();
    if (wanted.isEmpty())
        return true;
    const QStringList candidates = words(shownName()) + words(QString::fromUtf8(name)) + aliases;
    return std::any_of(candidates.cbegin(), candidates.cend(),
                       [&](const QString& candidate) { return candidate.startsWith(wanted); });
}

const QList<SlashItem>& slashItems() {
    static const QList<SlashItem> items{
        {u"todo"_s,
         QT_TRANSLATE_NOOP("Dovrin::Stickies::SlashItem", "To-do list"),
         u"[ ]"_s,
         symbol(u"checklist"_s),
         0,
         {u"todo"_s, u"check"_s, u"checkbox"_s, u"task"_s}},
        {u"bullet"_s,
         QT_TRANSLATE_NOOP("Dovrin::Stickies::SlashItem", "Bulleted list"),
         u"-"_s,
         symbol(u"list.bullet"_s),
         0,
         {u"bullet"_s, u"ul"_s}},
        {u"ordered"_s,
         QT_TRANSLATE_NOOP("Dovrin::Stickies::SlashItem", "Numbered list"),
         u"1."_s,
         symbol(u"list.number"_s),
         0,
         {u"ordered"_s, u"ol"_s}},
        {u"h1"_s,
         QT_TRANSLATE_NOOP("Dovrin::Stickies::SlashItem", "Heading 1"),
         u"#"_s,
         text(u"H1"_s),
         1,
         {u"h1"_s, u"title"_s}},
        {u"h2"_s,
         QT_TRANSLATE_NOOP("Dovrin::Stickies::SlashItem", "Heading 2"),
         u"##"_s,
         text(u"H2"_s),
         1,
         {u"h2"_s, u"subtitle"_s}},
        {u"h3"_s,
         QT_TRANSLATE_NOOP("Dovrin::Stickies::SlashItem", "Heading 3"),
         u"###"_s,
         text(u"H3"_s),
         1,
         {u"h3"_s}},
        {u"text"_s,
         QT_TRANSLATE_NOOP("Dovrin::Stickies::SlashItem", "Text"),
         u"—"_s,
         symbol(u"textformat"_s),
         2,
         {u"paragraph"_s, u"plain"_s, u"body"_s}},
        {u"quote"_s,
         QT_TRANSLATE_NOOP("Dovrin::Stickies::SlashItem", "Quote"),
         u">"_s,
         symbol(u"text.quote"_s),
         2,
         {u"blockquote"_s}},
        {u"code"_s,
         QT_TRANSLATE_NOOP("Dovrin::Stickies::SlashItem", "Code"),
         u"```"_s,
         symbol(u"chevron.left.forwardslash.chevron.right"_s),
         2,
         {u"codeblock"_s, u"pre"_s}},
        {u"divider"_s,
         QT_TRANSLATE_NOOP("Dovrin::Stickies::SlashItem", "Divider"),
         u"---"_s,
         symbol(u"minus"_s),
         2,
         {u"hr"_s, u"rule"_s, u"separator"_s, u"line"_s}},
        {u"image"_s,
         QT_TRANSLATE_NOOP("Dovrin::Stickies::SlashItem", "Image…"),
         QString(),
         symbol(u"photo"_s),
         3,
         {u"picture"_s, u"photo"_s, u"img"_s}},
    };
    return items;
}

SlashMenuModel::SlashMenuModel(QObject* parent) : QObject(parent), m_matches(slashItems()) {}

void SlashMenuModel::setQuery(const QString& query) {
    m_query = query;
    m_matches.clear();
    for (const SlashItem& item : slashItems()) {
        if (item.matches(query))
            m_matches.append(item);
    }
    m_selected = 0;
    emit changed();
}

void SlashMenuModel::move(int delta) {
    const auto count = int(m_matches.size());
    if (count == 0)
        return;
    m_selected = (m_selected + delta + count) % count;
    emit changed();
}

void SlashMenuModel::select(int index) {
    if (index < 0 || index >= m_matches.size() || index == m_selected)
        return;
    m_selected = index;
    emit changed();
}

const SlashItem* SlashMenuModel::selectedItem() const {
    return m_matches.isEmpty() ? nullptr : &m_matches.at(m_selected);
}

} // namespace Dovrin::Stickies
