#include "ToolJson.h"
#include "AgentOps.h"
#include "JsonText.h"

#include <QTest>

using namespace Dovrin::Agent;
using Dovrin::Bridge::ErrorCode;

class ToolJsonTest final : public QObject {
    Q_OBJECT

private slots:
    void errorObject_hasOnlyTheKeysThatAreSet() {
        AgentError ambiguous{ErrorCode::ambiguous, "\"a\" matches 2 todos. Retry with index."};
        ambiguous.candidates = QList<AgentOps::Todo>{{0, 3, "a/b", false}, {1, 4, "ça", true}};
        const QString expected =
            QString::fromUtf8("{\n"
                              "    \"candidates\": [\n"
                              "        {\n"
                              "            \"checked\": false,\n"
                              "            \"index\": 0,\n"
                              "            \"text\": \"a/b\"\n"
                              "        },\n"
                              "        {\n"
                              "            \"checked\": true,\n"
                              "            \"index\": 1,\n"
                              "            \"text\": \"ça\"\n"
                              "        }\n"
                              "    ],\n"
                              "    \"error\": \"ambiguous\",\n"
                              "    \"message\": \"\\\"a\\\" matches 2 todos. Retry with index.\"\n"
                              "}");
        QCOMPARE(ToolJson::errorText(ambiguous), expected);
        AgentError limited{ErrorCode::rateLimited, "Too many Dovrin calls (60 a minute). Wait, then retry."};
        limited.retryAfterSeconds = 7;
        QCOMPARE(ToolJson::errorObject(limited).keys(),
                 QStringList({"error", "message", "retry_after_seconds"}));
        const QJsonObject conflict = ToolJson::errorObject(AgentOps::conflict(3, "dovrin://note/x › y"));
        QCOMPARE(conflict.keys(), QStringList({"current_markdown", "current_rev", "error", "message"}));
        QVERIFY(Dovrin::Bridge::renderJsonText(conflict).contains(
            QString::fromUtf8("\"current_markdown\": \"dovrin://note/x › y\"")));
    }
};

QTEST_GUILESS_MAIN(ToolJsonTest)
#include "ToolJsonTest.moc"
