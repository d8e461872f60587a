#include "shared/bridge/BridgeResponse.h"
#include "tests/mcp/BridgeTestServer.h"
#include "tests/mcp/McpProcess.h"
#include "tests/support/TestMain.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <thread>

namespace {

QByteArray answer(const QString& text) {
    return Dovrin::Bridge::BridgeResponse{text, {}, false}.encode();
}

QJsonObject error(const QJsonObject& response) {
    return response.value("error").toObject();
}

QJsonObject parseError() {
    return QJsonObject{{"code", -32700}, {"message", "Parse error"}};
}

} // namespace

class ProtocolTest final : public QObject {
    Q_OBJECT

private slots:
    void ping_answersEmptyObject_andNotificationsStaySilent() {
        QTemporaryDir home("/tmp/dv-XXXXXX");
        McpProcess mcp(home.path());
        mcp.send(R"({"jsonrpc":"2.0","method":"notifications/initialized"})");
        mcp.send(R"({"jsonrpc":"2.0","method":"no/such/method"})");
        mcp.send(R"({"jsonrpc":"2.0","id":8,"params":{}})");
        mcp.send(R"({"jsonrpc":"2.0","id":7,"method":"ping"})");
        QCOMPARE(mcp.nextResponse(), (QJsonObject{{"jsonrpc", "2.0"}, {"id", 7}, {"result", QJsonObject()}}));
        mcp.send(R"({"jsonrpc":"2.0","id":"a/b","method":"tools/unknown"})");
        QCOMPARE(mcp.nextResponse(),
                 (QJsonObject{{"jsonrpc", "2.0"},
                              {"id", "a/b"},
                              {"error", QJsonObject{{"code", -32601},
                                                    {"message", "Method not found: tools/unknown"}}}}));
        QCOMPARE(mcp.closeAndWait(), 0);
        QVERIFY(mcp.process().readAllStandardOutput().isEmpty());
        QVERIFY(mcp.process().readAllStandardError().isEmpty());
    }

    void initializeAndToolsCall_keepTheIdentityAndForwardUnchanged() {
        QTemporaryDir home("/tmp/dv-XXXXXX");
        const Dovrin::Bridge::BridgeResponse pictures{
            "# Groceries", {{"iVBORw0KGgo=", "image/png"}, {"/9j/4AAQ", "image/jpeg"}}, false};
        const Dovrin::Bridge::BridgeResponse appError{
            R"({"error":"not_found","message":"No note"})", {}, true};
        BridgeTestServer server(home.path() + "/dv.sock", [&](const QByteArray& request) {
            const QJsonValue tool = QJsonDocument::fromJson(request).object().value("tool");
            return tool == QJsonValue("read_note")     ? pictures.encode()
                   : tool == QJsonValue("delete_note") ? appError.encode()
                                                       : answer("ok");
        });
        McpProcess mcp(home.path());
        mcp.request(1, "tools/call", {{"name", "list_notes"}});
        QCOMPARE(resultText(mcp.response(1)), "ok");

        mcp.request(2, "initialize",
                    {{"protocolVersion", "2025-06-18"},
                     {"clientInfo", QJsonObject{{"name", "claude-ai"}, {"version", "0.1"}}}});
        const QJsonObject result = mcp.response(2).value("result").toObject();
        QCOMPARE(result.keys(),
                 (QStringList{"capabilities", "instructions", "protocolVersion", "serverInfo"}));
        QCOMPARE(result.value("protocolVersion").toString(), "2025-06-18");
        QVERIFY(result.value("serverInfo").toObject().value("version").isString());

        // Versions it doesn't speak get its own; an identity without a name leaves the earlier one.
        for (const QJsonValue& version : {QJsonValue("1999-01-01"), QJsonValue(20250618), QJsonValue()}) {
            QJsonObject params{{"clientInfo", QJsonObject{{"title", "no name"}}}};
            if (!version.isUndefined())
                params.insert("protocolVersion", version);
            mcp.request(3, "initialize", params);
            QCOMPARE(mcp.response(3).value("result").toObject().value("protocolVersion").toString(),
                     "2025-11-25");
        }
        mcp.send(R"({"jsonrpc":"2.0","id":4,"method":"initialize"})");
        QCOMPARE(mcp.response(4).value("result").toObject().value("protocolVersion").toString(),
                 "2025-11-25");

        // The app's errors stay results.
        mcp.request(5, "tools/call", {{"name", "delete_note"}, {"arguments", QJsonObject{{"note", "x"}}}});
        const QJsonObject refused = mcp.response(5);
        QCOMPARE(refused.value("result").toObject().value("isError"), QJsonValue(true));
        QCOMPARE(resultTextAsJson(refused).value("error").toString(), "not_found");

        const QJsonObject arguments{{"note", "dovrin://note/ABC"},
                                    {"max_chars", qint64(123456789012)},
                                    {"nested", QJsonArray{1.5, "ü/ß", QJsonObject{{"k", QJsonValue::Null}}}}};
        mcp.request(6, "tools/call", {{"name", "read_note"}, {"arguments", arguments}});
        QCOMPARE(
            mcp.response(6).value("result").toObject(),
            (QJsonObject{
                {"isError", false},
                {"content",
                 QJsonArray{
                     QJsonObject{{"type", "text"}, {"text", "# Groceries"}},
                     QJsonObject{{"type", "image"}, {"data", "iVBORw0KGgo="}, {"mimeType", "image/png"}},
                     QJsonObject{{"type", "image"}, {"data", "/9j/4AAQ"}, {"mimeType", "image/jpeg"}}}}}));
        mcp.request(7, "tools/call", {{"name", "list_notes"}, {"arguments", QJsonArray{1}}});
        QCOMPARE(resultText(mcp.response(7)), "ok");

        const QList<QByteArray> requests = server.requests();
        QCOMPARE(requests.size(), 4);
        QVERIFY(!QJsonDocument::fromJson(requests[0]).object().contains("client"));
        QCOMPARE(QJsonDocument::fromJson(requests[1]).object().value("client").toObject(),
                 (QJsonObject{{"name", "claude-ai"}, {"title", QJsonValue::Null}, {"version", "0.1"}}));
        const QJsonObject sent = QJsonDocument::fromJson(requests[2]).object();
        QCOMPARE(sent.keys(), (QStringList{"arguments", "client", "tool"}));
        QCOMPARE(sent.value("tool").toString(), "read_note");
        QCOMPARE(sent.value("arguments").toObject(), arguments);
        QVERIFY(requests[2].contains("123456789012"));
        QCOMPARE(QJsonDocument::fromJson(requests[3]).object().value("arguments"), QJsonValue(QJsonObject()));

        // Unknown tools are the protocol's errors and never reach the app.
        const QList<std::pair<QJsonObject, QString>> unknown{
            {{{"name", "list"}}, "Unknown tool: list"},
            {{}, "Unknown tool: none"},
            {{{"name", 5}}, "Unknown tool: 5"},
        };
        int id = 10;
        for (const auto& [params, message] : unknown) {
            mcp.request(++id, "tools/call", params);
            QCOMPARE(error(mcp.response(id)), (QJsonObject{{"code", -32602}, {"message", message}}));
        }
        mcp.send(R"({"jsonrpc":"2.0","id":20,"method":"tools/call","params":"list_notes"})");
        QCOMPARE(error(mcp.response(20)).value("message").toString(), "Unknown tool: none");
        QCOMPARE(server.requests().size(), 4);
    }

    void toolsList_describesTheSixTools() {
        QTemporaryDir home("/tmp/dv-XXXXXX");
        McpProcess mcp(home.path());
        mcp.request(1, "tools/list");
        const QJsonArray tools = mcp.response(1).value("result").toObject().value("tools").toArray();
        const QJsonObject reading{{"readOnlyHint", true}, {"openWorldHint", false}};
        const auto writing = [](bool destructive, bool idempotent) {
            return QJsonObject{{"readOnlyHint", false},
                               {"openWorldHint", false},
                               {"destructiveHint", destructive},
                               {"idempotentHint", idempotent}};
        };
        // Each tool's name, required arguments, all arguments and hints.
        const QList<std::tuple<QString, QStringList, QStringList, QJsonObject>> expected{
            {"list_notes", {}, {"include_closed", "limit", "query"}, reading},
            {"read_note", {"note"}, {"max_chars", "note", "offset"}, reading},
            {"create_notes", {"notes"}, {"notes"}, writing(false, false)},
            {"update_note",
             {"note", "op", "markdown", "expected_rev"},
             {"expected_rev", "markdown", "note", "op"},
             writing(true, false)},
            {"set_todo", {"note", "checked"}, {"checked", "index", "match", "note"}, writing(false, true)},
            {"delete_note", {"note"}, {"note"}, writing(true, true)},
        };
        QCOMPARE(tools.size(), expected.size());
        for (int i = 0; i < tools.size(); ++i) {
            const auto& [name, required, properties, annotations] = expected[i];
            const QJsonObject tool = tools[i].toObject();
            QCOMPARE(tool.keys(),
                     (QStringList{"annotations", "description", "inputSchema", "name", "title"}));
            QCOMPARE(tool.value("name").toString(), name);
            QCOMPARE(tool.value("annotations").toObject(), annotations);
            const QJsonObject schema = tool.value("inputSchema").toObject();
            QCOMPARE(schema.value("type").toString(), "object");
            QCOMPARE(schema.value("additionalProperties"), QJsonValue(false));
            QCOMPARE(schema.value("required").toVariant().toStringList(), required);
            QCOMPARE(schema.value("properties").toObject().keys(), properties);
        }

        // The limits the app enforces, announced to the client.
        const auto property = [&tools](int tool, const QString& name) {
            return tools[tool].toObject()["inputSchema"].toObject()["properties"].toObject()[name].toObject();
        };
        QCOMPARE(property(0, "limit")["minimum"].toInt(), 1);
        QCOMPARE(property(0, "limit")["maximum"].toInt(), 200);
        QCOMPARE(property(1, "max_chars")["minimum"].toInt(), 1000);
        QCOMPARE(property(1, "offset")["minimum"], QJsonValue(0));
        QCOMPARE(property(3, "expected_rev")["minimum"].toInt(), 1);
        QCOMPARE(property(3, "op")["enum"],
                 QJsonValue(QJsonArray{"append", "replace_section", "replace_all"}));
        const QJsonObject notes = property(2, "notes");
        QCOMPARE(notes["minItems"].toInt(), 1);
        QCOMPARE(notes["maxItems"].toInt(), 10);
        const QJsonObject item = notes["items"].toObject();
        QCOMPARE(item["required"].toVariant().toStringList(), QStringList{"markdown"});
        QCOMPARE(item["additionalProperties"], QJsonValue(false));
        QCOMPARE(item["properties"].toObject()["color"].toObject()["enum"].toVariant().toStringList(),
                 (QStringList{"yellow", "blue", "green", "pink", "purple", "gray"}));
    }

    void slowCall_doesNotDelayLaterPing_andEndOfInputWaitsForIt() {
        QTemporaryDir home("/tmp/dv-XXXXXX");
        BridgeTestServer server(home.path() + "/dv.sock", [](const QByteArray&) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1500));
            return answer("slow");
        });
        McpProcess mcp(home.path());
        QElapsedTimer timer;
        timer.start();
        mcp.request(1, "tools/call", {{"name", "read_note"}});
        mcp.request(2, "ping");
        QCOMPARE(mcp.nextResponse().value("id"), QJsonValue(2));
        QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
        mcp.request(3, "tools/call", {{"name", "list_notes"}});
        QCOMPARE(mcp.closeAndWait(), 0);
        // Both calls waited on the app at the same time.
        QVERIFY2(timer.elapsed() >= 1400 && timer.elapsed() < 2900,
                 qPrintable(QString::number(timer.elapsed())));
        const QList<QByteArray> lines = mcp.process().readAllStandardOutput().split('\n');
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines.last(), QByteArray());
        for (const QByteArray& line : lines.first(2))
            QCOMPARE(resultText(QJsonDocument::fromJson(line).object()), "slow");
    }

    void malformedAndHostileLines_getParseErrorsWhileTheProgramKeepsAnswering() {
        QTemporaryDir home("/tmp/dv-XXXXXX");
        McpProcess mcp(home.path());
        const QList<QByteArray> lines{
            "{not json", R"([{"jsonrpc":"2.0","id":1,"method":"ping"}])", "42", "\"ping\"",
            "{\"jsonrpc\":\"2.0\",\"id\":1,\"method\":\"ping\",\"x\":\"\xff\xfe\"}"};
        for (const QByteArray& line : lines) {
            mcp.send(line);
            const QJsonObject response = mcp.nextResponse();
            QCOMPARE(response.value("id"), QJsonValue(QJsonValue::Null));
            QCOMPARE(error(response), parseError());
        }

        const QByteArray padding(16 * 1024 * 1024, 'a');
        mcp.send("{\"jsonrpc\":\"2.0\",\"id\":1,\"method\":\"ping\",\"pad\":\"" + padding + "\"}");
        QCOMPARE(mcp.nextResponse(10000),
                 (QJsonObject{{"jsonrpc", "2.0"}, {"id", 1}, {"result", QJsonObject()}}));
        mcp.send(padding);
        QCOMPARE(error(mcp.nextResponse(10000)), parseError());

        mcp.send(QByteArray(100000, '[') + QByteArray(100000, ']'));
        QCOMPARE(error(mcp.nextResponse()), parseError());
        mcp.send(QByteArray(100000, '[') + "{\"id\":1,\"method\":\"ping\"}");
        QCOMPARE(error(mcp.nextResponse()), parseError());

        QByteArray noise(64 * 1024, '\0');
        QRandomGenerator random(20261206);
        for (char& byte : noise)
            byte = char(random.bounded(256));
        noise.replace('\n', ' ');
        for (int i = 0; i < 8; ++i) {
            mcp.send(noise.mid(i * 8192, 8192));
            QCOMPARE(error(mcp.nextResponse()), parseError());
        }

        mcp.send(R"({"jsonrpc":"2.0","id":{"nested":[1,2]},"method":"ping"})");
        QCOMPARE(mcp.nextResponse().value("id").toObject(), (QJsonObject{{"nested", QJsonArray{1, 2}}}));
        mcp.request(9, "ping");
        QCOMPARE(mcp.nextResponse().value("id"), QJsonValue(9));
        QVERIFY(mcp.isRunning());
        QCOMPARE(mcp.closeAndWait(), 0);
    }
};

DOVRIN_TEST_MAIN(QCoreApplication, ProtocolTest)
#include "ProtocolTest.moc"
