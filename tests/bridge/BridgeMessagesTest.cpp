#include "shared/bridge/AIAccess.h"
#include "shared/bridge/BridgeRequest.h"
#include "shared/bridge/BridgeResponse.h"
#include "shared/bridge/JsonText.h"
#include "tests/support/TestMain.h"

#include <QJsonObject>
#include <QTest>

using namespace Dovrin::Bridge;

class BridgeMessagesTest final : public QObject {
    Q_OBJECT

private slots:
    void requests_roundTripAndFindArgumentsUnderEitherCase() {
        for (const BridgeRequest& request :
             {BridgeRequest{"read_note", ClientInfo{"claude-ai", std::nullopt, std::nullopt},
                            QJsonObject{{"note", "dovrin://note/abc"}, {"max_chars", 2000}}},
              BridgeRequest{"list_notes", ClientInfo{"n", "Claude", "1.2"}, {}},
              BridgeRequest{"list_notes", std::nullopt, {}}}) {
            const auto decoded = BridgeRequest::decode(request.encode());
            QVERIFY(decoded);
            QCOMPARE(*decoded, request);
        }
        const auto nullClient = BridgeRequest::decode(R"({"tool":"x","arguments":{},"client":null})");
        QVERIFY(nullClient && !nullClient->client);

        // Arguments are found under snake- or camel-case keys.
        const auto request = BridgeRequest::decode(
            R"({"tool":"update_note","arguments":{"expected_rev":3,"maxChars":2000,"include_closed_notes":false}})");
        QVERIFY(request);
        QCOMPARE(request->argument(u"expected_rev"), QJsonValue(3));
        QCOMPARE(request->argument(u"max_chars"), QJsonValue(2000));
        QCOMPARE(request->argument(u"include_closed_notes"), QJsonValue(false));
        QVERIFY(request->argument(u"note").isUndefined());
        QVERIFY(request->argument(u"expected").isUndefined());
    }

    void malformedRequestsAndIncompleteResponses_areRefused() {
        const QList<QByteArray> bad{
            "",
            "not json",
            "[]",
            R"({"arguments":{}})",
            R"({"tool":"list_notes"})",
            R"({"tool":7,"arguments":{}})",
            R"({"tool":"list_notes","arguments":[]})",
            R"({"tool":"list_notes","arguments":{},"client":{"title":"no name"}})",
            R"({"tool":"list_notes","arguments":{},"client":"claude"})",
        };
        for (const QByteArray& bytes : bad) {
            const auto decoded = BridgeRequest::decode(bytes);
            QVERIFY2(!decoded, bytes.constData());
            QVERIFY(!decoded.error().isEmpty());
        }
        const QList<QByteArray> incomplete{
            R"({"text":"hi","isError":false})",
            R"({"images":[],"isError":false})",
            R"({"text":"hi","images":[]})",
            R"({"text":"hi","images":[],"isError":"false"})",
            R"({"text":1,"images":[],"isError":false})",
            R"({"text":"hi","images":{},"isError":false})",
            R"({"text":"hi","images":[{"data":"AA=="}],"isError":false})",
            R"({"text":"hi","images":[{"mimeType":"image/png"}],"isError":false})",
            R"({"text":"hi","images":["AA=="],"isError":false})",
            R"({"text":"hi","images":[],"isError":false)",
            "",
        };
        for (const QByteArray& bytes : incomplete)
            QVERIFY2(!BridgeResponse::decode(bytes), bytes.constData());
    }

    void accessLevels_useTheirRawValues() {
        QCOMPARE(rawValue(AIAccess::off), "off");
        QCOMPARE(rawValue(AIAccess::readOnly), "read_only");
        QCOMPARE(rawValue(AIAccess::readWrite), "read_write");
        for (const AIAccess access : allAIAccessLevels)
            QCOMPARE(aiAccessFromRawValue(rawValue(access)), access);
        QVERIFY(!aiAccessFromRawValue("readWrite"));
        QVERIFY(!aiAccessFromRawValue(""));
    }

    void jsonText_isIndentedSortedWithPlainSlashes() {
        const QString text = renderJsonText(QJsonObject{{"message", "a/b — c"}, {"error", "unavailable"}});
        QCOMPARE(text, "{\n    \"error\": \"unavailable\",\n    \"message\": \"a/b — c\"\n}");
    }
};

DOVRIN_TEST_MAIN(QCoreApplication, BridgeMessagesTest)
#include "BridgeMessagesTest.moc"
