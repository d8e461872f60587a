#include "app/stickies/FormatBarModel.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace Dovrin::Stickies {

QString FormatItem::shownTitle() const {
    return QCoreApplication::translate("Dovrin::Stickies::FormatItem", title);
}

QString FormatItem::command() const {
    return glyph == Glyph::link ? u"link:edit"_s : u"mark:"_s + id;
}

const QList<FormatItem>& formatItems() {
    static const QList<FormatItem> items{
        {u"bold"_s, QT_TRANSLATE_NOOP("Dovrin::Stickies::FormatItem", "Bold"), FormatItem::Glyph::bold},
        {u"italic"_s, QT_TRANSLATE_NOOP("Dovrin::Stickies::FormatItem", "Italic"), FormatItem::Glyph::italic},
        {u"strike"_s, QT_TRANSLATE_NOOP("Dovrin::Stickies::FormatItem", "Strikethrough"),
         FormatItem::Glyph::strike},
        {u"code"_s, QT_TRANSLATE_NOOP("Dovrin::Stickies::FormatItem", "Code"), FormatItem::Glyph::code},
        {u"link"_s, QT_TRANSLATE_NOOP("Dovrin::Stickies::FormatItem", "Link"), FormatItem::Glyph::link},
    };
    return items;
}

void FormatBarModel::setMarks(const QStringList& marks) {
    if (marks == m_marks)
        return;
    m_marks = marks;
    emit changed();
}

} // namespace Dovrin::Stickies
