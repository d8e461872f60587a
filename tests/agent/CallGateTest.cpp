#include "app/agent/CallGate.h"
#include "app/agent/AgentName.h"
#include "tests/support/TestMain.h"

#include <QTest>

using namespace Dovrin::Agent;
using Dovrin::Bridge::AIAccess;
using Dovrin::Bridge::ClientInfo;
using Dovrin::Bridge::ErrorCode;

class CallGateTest final : public QObject {
    Q_OBJECT

private slots:
    void access_offRefusesEveryCallWithoutCost_andReadOnlyRefusesWrites() {
        CallGate gate;
        for (int i = 0; i < 100; ++i) {
            const auto refusal = gate.admit("Claude", false, AIAccess::off, 1000);
            QVERIFY(refusal && refusal->denied && !refusal->deniedWrite);
            QCOMPARE(refusal->error.code, ErrorCode::forbidden);
            QCOMPARE(refusal->error.message,
                     QString("Dovrin AI access is off. Ask the user to turn it on in Dovrin Settings › AI."));
        }
        for (int i = 0; i < CallGate::callLimit; ++i)
            QVERIFY(!gate.admit("Claude", false, AIAccess::readWrite, 1000));

        // Read only refuses writes alone.
        QVERIFY(!gate.admit("Codex", false, AIAccess::readOnly, 0));
        const auto refusal = gate.admit("Codex", true, AIAccess::readOnly, 0);
        QVERIFY(refusal && refusal->deniedWrite);
        QCOMPARE(refusal->error.message,
                 QString("Dovrin is set to Read only. Ask the user to allow Read & write "
                         "in Dovrin Settings › AI."));
    }

    void callLimit_retryAfterCountsFromTheOldestCall() {
        CallGate gate;
        QVERIFY(!gate.admit("Claude", false, AIAccess::readWrite, 0));
        for (int i = 1; i < CallGate::callLimit; ++i)
            QVERIFY(!gate.admit("Claude", false, AIAccess::readWrite, 59000));
        auto refusal = gate.admit("Claude", false, AIAccess::readWrite, 59500);
        QVERIFY(refusal && !refusal->denied);
        QCOMPARE(refusal->error.code, ErrorCode::rateLimited);
        QCOMPARE(refusal->error.message, QString("Too many Dovrin calls (60 a minute). Wait, then retry."));
        QCOMPARE(*refusal->error.retryAfterSeconds, 1);
        // Another agent has its own bucket.
        QVERIFY(!gate.admit("Cursor", false, AIAccess::readWrite, 59500));
        // The oldest call left the window; the refused one cost nothing.
        QVERIFY(!gate.admit("Claude", false, AIAccess::readWrite, 60000));
        refusal = gate.admit("Claude", false, AIAccess::readWrite, 60000);
        QCOMPARE(*refusal->error.retryAfterSeconds, 59);

        CallGate fresh;
        for (int i = 0; i < CallGate::callLimit; ++i)
            QVERIFY(!fresh.admit("AI", false, AIAccess::readWrite, 0));
        QCOMPARE(*fresh.admit("AI", false, AIAccess::readWrite, 200)->error.retryAfterSeconds, 60);
    }

    void writeLimit_leavesReadsUntilTheCallLimit() {
        CallGate gate;
        for (int i = 0; i < CallGate::writeLimit; ++i)
            QVERIFY(!gate.admit("Claude", true, AIAccess::readWrite, 1000));
        const auto refusal = gate.admit("Claude", true, AIAccess::readWrite, 1500);
        QCOMPARE(refusal->error.message, QString("Too many Dovrin changes (20 a minute). Wait, then retry."));
        QCOMPARE(*refusal->error.retryAfterSeconds, 60);
        // The refused write still used one call: 21 so far, so 39 reads remain.
        for (int i = 0; i < CallGate::callLimit - CallGate::writeLimit - 1; ++i)
            QVERIFY(!gate.admit("Claude", false, AIAccess::readWrite, 2000));
        const auto last = gate.admit("Claude", false, AIAccess::readWrite, 2000);
        QVERIFY(last);
        QCOMPARE(last->error.code, ErrorCode::rateLimited);
    }

    void agentName_fromTitleAndName() {
        QCOMPARE(agentName(ClientInfo{"claude-ai", std::nullopt, std::nullopt}), QString("Claude"));
        QCOMPARE(agentName(ClientInfo{"x", QString("My Claude Desktop"), std::nullopt}), QString("Claude"));
        QCOMPARE(agentName(ClientInfo{"mcp-client", QString("Cursor"), std::nullopt}), QString("Cursor"));
        QCOMPARE(agentName(ClientInfo{"codex-mcp-client", QString("Cursor"), std::nullopt}),
                 QString("Codex"));
        QCOMPARE(agentName(ClientInfo{"openai-mcp", QString("ChatGPT Codex"), std::nullopt}),
                 QString("Codex"));
        QCOMPARE(agentName(ClientInfo{"zed", QString("Zed"), std::nullopt}), QString("Zed"));
        QCOMPARE(agentName(ClientInfo{"zed", std::nullopt, std::nullopt}), QString("AI"));
        QCOMPARE(agentName(std::nullopt), QString("AI"));
    }
};

DOVRIN_TEST_MAIN(QCoreApplication, CallGateTest)
#include "CallGateTest.moc"
