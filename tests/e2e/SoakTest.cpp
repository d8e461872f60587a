#include "app/stickies/StickyController.h"
#include "tests/e2e/InProcessApp.h"
#include "tests/stickies/EditorTestSupport.h"

#include <QFile>
#include <QJsonArray>
#include <QtTest>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

using namespace Dovrin;
using namespace Dovrin::E2e;

namespace {

constexpr int aiClients = 50;
constexpr int typedStickies = 5;
// One call every 1.05 s, every third a write: just under 60 calls and 20 writes a minute, the limits.
constexpr auto callInterval = std::chrono::milliseconds(1050);

// How long to run: DOVRIN_SOAK_SECONDS (tools/soak.sh sets ten minutes), else one minute.
int soakSeconds() {
    const int seconds = qEnvironmentVariableIntValue("DOVRIN_SOAK_SECONDS");
    return seconds > 0 ? seconds : 60;
}

struct ClientRun {
    QString noteID;
    int calls = 0;
    int writes = 0;
    std::vector<double> latenciesMs;
    QString failure;
};

// One AI client near its limits: reads of its own note, and appends that name the revision they expect.
// Nobody else writes that note, so every write must be accepted and raise the revision by exactly one.
void callUntil(const Home& home, int index, ClientRun& run, std::chrono::steady_clock::time_point end) {
    Mcp mcp(home, u"soak"_s, u"Soak %1"_s.arg(index));
    qint64 rev = 1;
    for (int tick = 0; std::chrono::steady_clock::now() < end && run.failure.isEmpty(); ++tick) {
        const auto started = std::chrono::steady_clock::now();
        const bool write = tick % 3 == 2;
        const Mcp::Result result =
            write ? mcp.call(u"update_note"_s, {{"note", run.noteID},
                                                {"op", "append"},
                                                {"markdown", u"- [ ] item %1"_s.arg(tick)},
                                                {"expected_rev", rev}})
                  : mcp.call(u"read_note"_s, {{"note", run.noteID}});
        run.latenciesMs.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count());
        ++run.calls;
        if (result.isError)
            run.failure = u"call %1: %2"_s.arg(tick).arg(result.text);
        else if (write && parsed(result.text)["rev"].toInteger() != rev + 1)
            run.failure = u"write %1 after rev %2 answered %3"_s.arg(tick).arg(rev).arg(result.text);
        else if (!write && !result.text.contains(u"\nrev: %1\n"_s.arg(rev)))
            run.failure = u"read %1 expected rev %2: %3"_s.arg(tick).arg(rev).arg(result.text.left(200));
        if (write) {
            ++run.writes;
            ++rev;
        }
        std::this_thread::sleep_until(started + callInterval);
    }
}

qint64 residentKB() {
    QFile statm(u"/proc/self/statm"_s);
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    return statm.readAll().split(' ').value(1).toLongLong() * 4;
}

qsizetype threadCount() {
    return QDir(u"/proc/self/task"_s).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size();
}

double percentile(std::vector<double> values, double fraction) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(double(values.size()) * fraction))];
}

} // namespace

class SoakTest final : public QObject {
    Q_OBJECT

private slots:
    void aiClientsAndTyping_loseNothingAndDoNotGrow() {
        InProcessApp app;
        std::vector<ClientRun> runs(aiClients);
        QList<QUuid> typed;
        {
            QList<Store::NoteStore::NewNote> notes;
            for (int i = 0; i < aiClients + typedStickies; ++i)
                notes.append({u"# Note %1\n"_s.arg(i), Store::StickyColor::yellow,
                              QRectF(40 * i, 40, 260, 260), std::nullopt});
            const auto created =
                app.store->create(notes, u"user"_s, std::nullopt, QDateTime::currentDateTimeUtc());
            QVERIFY(created);
            for (int i = 0; i < created->size(); ++i) {
                if (i < aiClients) {
                    runs[size_t(i)].noteID = created->at(i).idText();
                    // The AIs' notes stay closed: fifty editor pages would measure the machine, not the app.
                    QVERIFY(app.store->close(created->at(i).id));
                } else {
                    typed.append(created->at(i).id);
                }
            }
        }
        app.manager.restoreOpenStickies();
        for (const QUuid& id : typed)
            QTRY_VERIFY_WITH_TIMEOUT(app.manager.sticky(id) && app.manager.sticky(id)->isEditorReady(),
                                     30000);

        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(soakSeconds());
        std::vector<std::thread> clients;
        for (int i = 0; i < aiClients; ++i)
            clients.emplace_back([&, i] { callUntil(app.home, i, runs[size_t(i)], end); });

        // The user types into the open stickies meanwhile; every word must reach the database.
        QList<QString> typedText(typedStickies);
        QList<std::pair<int, qint64>> resident;
        QList<std::pair<int, qsizetype>> threads;
        QElapsedTimer elapsed;
        elapsed.start();
        qint64 nextSampleMs = 0;
        for (int word = 0; std::chrono::steady_clock::now() < end; ++word) {
            const int index = word % typedStickies;
            Stickies::StickyController* sticky = app.manager.sticky(typed.at(index));
            QVERIFY(sticky);
            QVERIFY(Testing::callAndWait(*sticky->page(), u"return dovrin.focus()"_s));
            const QString text = u"w%1 "_s.arg(word);
            QTest::keyClicks(sticky->webView()->focusProxy(), text);
            typedText[index] += text;
            QTest::qWait(250);
            if (elapsed.elapsed() >= nextSampleMs) {
                resident.append({int(elapsed.elapsed() / 1000), residentKB()});
                threads.append({int(elapsed.elapsed() / 1000), threadCount()});
                nextSampleMs += 10000;
            }
        }
        for (std::thread& client : clients)
            client.join();
        bool flushed = false;
        app.manager.flushAll([&](int) { flushed = true; });
        QTRY_VERIFY_WITH_TIMEOUT(flushed, 20000);

        int calls = 0;
        int writes = 0;
        std::vector<double> latencies;
        for (const ClientRun& run : runs) {
            QVERIFY2(run.failure.isEmpty(), qPrintable(run.failure));
            calls += run.calls;
            writes += run.writes;
            latencies.insert(latencies.end(), run.latenciesMs.begin(), run.latenciesMs.end());
            QCOMPARE(app.note(QUuid::fromString(run.noteID)).rev, 1 + run.writes);
        }
        for (int i = 0; i < typedStickies; ++i)
            QVERIFY2(app.note(typed.at(i)).markdown.contains(typedText.at(i).trimmed()),
                     qPrintable(app.note(typed.at(i)).markdown));

        QStringList residentLine, threadLine;
        for (const auto& [second, kb] : resident)
            residentLine.append(u"%1 s: %2 MB"_s.arg(second).arg(kb / 1024));
        for (const auto& [second, count] : threads)
            threadLine.append(u"%1 s: %2"_s.arg(second).arg(count));
        qInfo("%d s, %d AI clients: %d calls (%d writes), latency p50 %.1f ms, p99 %.1f ms", soakSeconds(),
              aiClients, calls, writes, percentile(latencies, 0.5), percentile(latencies, 0.99));
        qInfo("resident: %s", qPrintable(residentLine.join(u", "_s)));
        qInfo("threads: %s", qPrintable(threadLine.join(u", "_s)));
        // Growth is judged only on long runs: the first minute fills caches and pools.
        if (soakSeconds() >= 300) {
            const auto afterAMinute = std::find_if(resident.begin(), resident.end(),
                                                   [](const auto& sample) { return sample.first >= 60; });
            QVERIFY(afterAMinute != resident.end());
            QVERIFY2(resident.last().second <= afterAMinute->second * 5 / 4,
                     qPrintable(residentLine.join(u", "_s)));
            QVERIFY2(threads.last().second <= threads.at(afterAMinute - resident.begin()).second + 2,
                     qPrintable(threadLine.join(u", "_s)));
        }
    }
};

DOVRIN_EDITOR_TEST_MAIN(SoakTest)
#include "SoakTest.moc"
