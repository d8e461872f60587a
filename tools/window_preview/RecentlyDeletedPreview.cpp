// Recently Deleted holding notes of several colours and ages, one of them deleted by an AI, in the light and
// the dark appearance.

#include "app/agent/Provenance.h"
#include "app/shell/RecentlyDeleted.h"
#include "app/stickies/StickyManager.h"
#include "app/store/NoteStore.h"
#include "tools/window_preview/Preview.h"

#include <QTextStream>

using namespace Qt::StringLiterals;

namespace Dovrin::Preview {

namespace {

using Store::StickyColor;

struct Sample {
    QString markdown;
    StickyColor color;
    qint64 deletedSecondsAgo;
    std::optional<QString> deletedBy;
};

const QList<Sample> samples = {
    {u"# Weekend trip\n- [x] Book the cabin\n- [ ] Plan the hike to Eagle Lake\n- [ ] Buy trail snacks"_s,
     StickyColor::yellow, 4 * 60, u"Claude"_s},
    {u"# Q3 planning\nRoadmap review on Thursday\n- [ ] Draft goals\n- [ ] Share with the team"_s,
     StickyColor::blue, 3 * 3600, std::nullopt},
    {u"# Call the dentist\nTuesday before noon"_s, StickyColor::pink, 26 * 3600, std::nullopt},
    {u"# Book club\nRead chapters 4–6\nPlan snacks for Sunday"_s, StickyColor::green, 12 * 86'400,
     std::nullopt},
    {u"# Old grocery list\nOat milk · lemons · basil"_s, StickyColor::purple, 29 * 86'400 + 43'200,
     std::nullopt},
};

bool recentlyDeleted(const QDir& folder) {
    auto store = Store::NoteStore::openInDataDirectory();
    if (!store) {
        QTextStream(stderr) << "cannot open the notes: " << store.error().description << '\n';
        return false;
    }
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (const Sample& sample : samples) {
        const QDateTime deletedAt = now.addSecs(-sample.deletedSecondsAgo);
        const auto created =
            (*store)->create({{sample.markdown, sample.color, {}, {}}}, u"user"_s, {}, deletedAt.addDays(-2));
        if (!created || !(*store)->close(created->first().id) ||
            !(*store)->moveToRecentlyDeleted(created->first().id, deletedAt, sample.deletedBy)) {
            QTextStream(stderr) << "cannot store the notes\n";
            return false;
        }
    }

    Agent::Provenance provenance;
    Stickies::StickyManager manager(**store, provenance);
    Shell::RecentlyDeleted window(manager);
    return captureLightAndDark(
        window, [&] { window.showWindow(); }, folder, u"recently-deleted"_s);
}

const Registration registration(u"recently-deleted"_s, recentlyDeleted);

} // namespace

} // namespace Dovrin::Preview
