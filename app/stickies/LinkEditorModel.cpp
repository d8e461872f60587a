#include "app/stickies/LinkEditorModel.h"

using namespace Qt::StringLiterals;

namespace Dovrin::Stickies {

void LinkEditorModel::start(const QString& url, bool existing) {
    m_url = url;
    m_isExisting = existing;
    emit changed();
}

PageCommand LinkEditorModel::saveCommand() const {
    QString text = m_url.trimmed();
    if (text.isEmpty())
        return {m_isExisting ? u"link:remove"_s : u"link:cancel"_s, {}};
    if (!text.contains(u':'))
        text.prepend("https://"_L1);
    return {u"link:set"_s, {{"href"_L1, text}}};
}

} // namespace Dovrin::Stickies
