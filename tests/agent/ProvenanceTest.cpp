#include "app/agent/Provenance.h"
#include "app/agent/LabelText.h"
#include "app/core/RelativeTime.h"
#include "tests/support/TestMain.h"

#include <QSignalSpy>
#include <QtTest>

using namespace Qt::StringLiterals;

using namespace Dovrin;
using namespace Dovrin::Agent;
using Action = Store::AgentLabel::Action;

namespace {

Store::Note labelled(const QUuid& id, std::optional<Store::AgentLabel> label, const QDateTime& at) {
    Store::Note note;
    note.id = id;
    note.updatedAt = at;
    note.agentLabel = std::move(label);
    return note;
}

} // namespace

class ProvenanceTest : public QObject {
    Q_OBJECT

private slots:
    void note_entersChangesAndRemovesLabels_publishingOnlyRealChanges() {
        Provenance provenance;
        QSignalSpy changed(&provenance, &Provenance::labelsChanged);
        const QUuid id = QUuid::createUuid();
        const QDateTime at = QDateTime::currentDateTimeUtc();

        provenance.note(labelled(id, Store::AgentLabel{"Claude", Action::added}, at));
        provenance.note(labelled(id, Store::AgentLabel{"Claude", Action::added}, at));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(provenance.label(id)->at, at);

        provenance.note(labelled(id, Store::AgentLabel{"Claude", Action::checkedOff}, at));
        QCOMPARE(changed.count(), 2);
        provenance.note(labelled(id, std::nullopt, at));
        QVERIFY(provenance.labels().isEmpty());
        provenance.clear(id);
        QCOMPARE(changed.count(), 3);
    }

    void labelTexts_nameTheAgentAndWhenInShortPhrases() {
        const QDateTime now(QDate(2026, 3, 10), QTime(15, 0), Qt::UTC);
        const Store::AgentLabel done{"Codex", Action::checkedOff};
        QCOMPARE(LabelText::fullForm(done), u"Done by Codex"_s);
        QCOMPARE(LabelText::shortForm(Action::added), u"Added"_s);
        QCOMPARE(LabelText::tooltip(done, now.addSecs(-30), now), u"Checked off by Codex · just now"_s);
        QCOMPARE(
            LabelText::spokenForm(Store::AgentLabel{"Claude", Action::edited}, now.addSecs(-2 * 3600), now),
            u"Edited by Claude, 2 hr. ago"_s);
        // Under a minute is "just now", then short phrases.
        QCOMPARE(Core::relativeTime(now.addSecs(-59), now), u"just now"_s);
        QCOMPARE(Core::relativeTime(now.addSecs(-60), now), u"1 min. ago"_s);
        QCOMPARE(Core::relativeTime(now.addSecs(-2 * 3600 - 50), now), u"2 hr. ago"_s);
        QCOMPARE(Core::relativeTime(now.addDays(-1), now), u"yesterday"_s);
        QCOMPARE(Core::relativeTime(now.addDays(-7), now), u"last wk."_s);
    }
};

DOVRIN_TEST_MAIN(QCoreApplication, ProvenanceTest)
#include "ProvenanceTest.moc"
