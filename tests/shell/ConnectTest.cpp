#include "app/shell/AIClient.h"
#include "app/shell/ClientCard.h"
#include "app/shell/ClientConfigWriter.h"
#include "app/shell/ConnectWindow.h"
#include "app/shell/JsonConfigEdit.h"
#include "app/shell/TomlConfigEdit.h"
#include "tests/support/TestMain.h"

#include <QApplication>
#include <QClipboard>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace Dovrin;

namespace {

QString mcpPath() {
    return qEnvironmentVariable("DOVRIN_BUILD_DIR") + "/bin/dovrin-mcp";
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

void write(const QString& path, const QByteArray& text) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

Shell::AIClient client(const QString& id) {
    for (const Shell::AIClient& candidate : Shell::aiClients())
        if (candidate.id == id)
            return candidate;
    return {};
}

// A home, a config folder and a Codex folder of the test's own, for as long as it lives.
struct Homes {
    Testing::TemporaryHome home;
    QTemporaryDir config;
    QTemporaryDir codex;
    Homes() {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        qputenv("CODEX_HOME", QFile::encodeName(codex.path()));
    }
};

} // namespace

class ConnectTest final : public QObject {
    Q_OBJECT

private slots:
    void addToEachClient_keepsTheRestOfItsFile_andStartsDovrinMcp() {
        Homes homes;
        const QByteArray path = mcpPath().toUtf8();
        const QDir home = QDir::home();
        const QDir config(homes.config.path());
        QVERIFY(config.mkpath("Claude"));

        struct Case {
            QString id;
            QString file;
            QByteArray before;
            QByteArray after;
            Shell::ClientState state;
        };
        const QByteArray claudeCode = R"({
  "numStartups": 42,
  "projects": {
    "/home/me/src": {
      "mcpServers": {}
    }
  },
  "mcpServers": {
    "memory": {
      "type": "stdio",
      "command": "npx",
      "args": ["-y", "@modelcontextprotocol/server-memory"]
    }
  },
  "theme": "dark"
}
)";
        const QByteArray codex = R"(# Codex settings
model = "gpt-5"

[mcp_servers.docs]
command = "npx"
args = ["-y", "docs-mcp"]

[mcp_servers.dovrin]
command = "/old/dovrin-mcp"

[mcp_servers.dovrin.env]
TOKEN = "x"

# kept with the profile below
[profiles.fast]
model = "gpt-5-mini"
)";
        const QByteArray cursor =
            "{\n\t\"mcpServers\": {\n\t\t\"dovrin\": {\n\t\t\t\"command\": \"/opt/old/dovrin-mcp\"\n"
            "\t\t},\n\t\t\"other\": {\"command\": \"x\"}\n\t}\n}";
        const QByteArray vscode = "{\n    \"inputs\": []\n}\n";
        const QList<Case> cases{
            {"claude-code", home.filePath(".claude.json"), claudeCode,
             QByteArray(claudeCode)
                 .replace("server-memory\"]\n    }",
                          "server-memory\"]\n    },\n    \"dovrin\": {\n      \"type\": \"stdio\",\n"
                          "      \"command\": \"" +
                              path + "\",\n      \"args\": []\n    }"),
             Shell::ClientState::notSetUp},
            {"claude-desktop", config.filePath("Claude/claude_desktop_config.json"), "{}\n",
             "{\n  \"mcpServers\": {\n    \"dovrin\": {\n      \"command\": \"" + path +
                 "\",\n      \"args\": []\n    }\n  }\n}\n",
             Shell::ClientState::notSetUp},
            {"codex", homes.codex.filePath("config.toml"), codex,
             QByteArray(codex).replace(
                 "command = \"/old/dovrin-mcp\"\n\n[mcp_servers.dovrin.env]\nTOKEN = \"x\"\n",
                 "command = \"" + path + "\"\n"),
             Shell::ClientState::otherServer},
            {"cursor", home.filePath(".cursor/mcp.json"), cursor,
             QByteArray(cursor).replace("\"/opt/old/dovrin-mcp\"\n",
                                        "\"" + path + "\",\n\t\t\t\"args\": []\n"),
             Shell::ClientState::otherServer},
            {"vscode", config.filePath("Code/User/mcp.json"), vscode,
             "{\n    \"inputs\": [],\n    \"servers\": {\n        \"dovrin\": {\n            \"type\": "
             "\"stdio\",\n"
             "            \"command\": \"" +
                 path + "\",\n            \"args\": []\n        }\n    }\n}\n",
             Shell::ClientState::notSetUp},
            // A comment, and a trailing comma: neither is JSON, so neither file is touched.
            {"gemini",
             home.filePath(".gemini/settings.json"),
             "{\n  // mine\n  \"theme\": \"GitHub\"\n}\n",
             {},
             Shell::ClientState::cannotEdit},
            {"zed",
             config.filePath("zed/settings.json"),
             "{\n  \"vim_mode\": true,\n}\n",
             {},
             Shell::ClientState::cannotEdit},
        };
        QStringList ids;
        for (const Shell::AIClient& each : Shell::aiClients())
            ids.append(each.id);
        QCOMPARE(ids, QStringList(
                          {"claude-code", "claude-desktop", "codex", "cursor", "vscode", "gemini", "zed"}));

        for (const Case& each : cases) {
            const Shell::AIClient target = client(each.id);
            QCOMPARE(target.configFile, each.file);
            QCOMPARE(Shell::clientState(target, mcpPath()), Shell::ClientState::noConfigFile);
            write(each.file, each.before);
            QFile::setPermissions(each.file, QFile::ReadOwner | QFile::WriteOwner);
            const QFile::Permissions permissions = QFile::permissions(each.file);
            QCOMPARE(Shell::clientState(target, mcpPath()), each.state);

            const auto added = Shell::addToClient(target, mcpPath());
            if (each.after.isEmpty()) {
                QVERIFY(!added && added.error().kind == Shell::AddError::Kind::cannotEdit);
                QCOMPARE(contents(each.file), each.before);
                QVERIFY(!QFile::exists(Shell::backupPath(target)));
                continue;
            }
            QVERIFY2(added, qPrintable(each.id));
            QCOMPARE(contents(each.file), each.after);
            QCOMPARE(contents(Shell::backupPath(target)), each.before);
            QCOMPARE(QFile::permissions(each.file), permissions);
            QCOMPARE(QFile::permissions(Shell::backupPath(target)), permissions);
            QCOMPARE(Shell::clientState(target, mcpPath()), Shell::ClientState::connected);
            // Adding again changes nothing but the copy, which is now of the file as Dovrin left it.
            QVERIFY(Shell::addToClient(target, mcpPath()));
            QCOMPARE(contents(each.file), each.after);
        }

        // The entry as Claude Code reads it starts the real server, which answers as Dovrin.
        const QString command = QJsonDocument::fromJson(contents(
            home.filePath(".claude.json")))["mcpServers"]["dovrin"]["command"]
                                    .toString();
        QTemporaryDir data;
        write(data.filePath("settings.json"), R"({"letAIOpenDovrin": false})");
        QProcess server;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DOVRIN_HOME", data.path());
        server.setProcessEnvironment(environment);
        server.start(command);
        server.write(
            R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{"protocolVersion":"2025-06-18",)"
            R"("capabilities":{},"clientInfo":{"name":"connect-test","version":"1"}}})"
            "\n");
        while (!server.canReadLine() && server.waitForReadyRead(15000)) {
        }
        const QJsonObject answer = QJsonDocument::fromJson(server.readLine()).object();
        server.closeWriteChannel();
        QVERIFY(server.waitForFinished(10000));
        QCOMPARE(answer["result"]["serverInfo"]["name"].toString(), QString("dovrin"));
    }

    void editedTexts_areExactOrRefused() {
        const QString servers = "mcpServers";
        const Shell::JsonConfigEdit::Entry entry{"/p", false};
        const QList<QByteArray> notPlainJson{"{ /* c */ }",
                                             "{\"a\": 1,}",
                                             "{\"a\": [1,]}",
                                             "{\"a\": 1, \"a\": 2}",
                                             "{'a': 1}",
                                             "{\"a\": 01}",
                                             "{\"a\": NaN}",
                                             "{\"a\": \"\t\"}",
                                             "{\"a\": \"\\x\"}",
                                             "{} x",
                                             "[]",
                                             "{\"a\": \"\xff\"}",
                                             "\xef\xbb\xbf{}",
                                             "{\"mcpServers\": []}",
                                             "{\"mcpServers\": {\"x\": 1, \"x\": 2}}",
                                             "{\"a\": tru}"};
        for (const QByteArray& text : notPlainJson) {
            QVERIFY2(!Shell::JsonConfigEdit::withEntry(text, servers, entry), text.constData());
            QVERIFY2(!Shell::JsonConfigEdit::registeredCommand(text, servers), text.constData());
        }
        const QList<std::pair<QByteArray, QByteArray>> json{
            // One line stays one line; duplicates deeper down are the client's business.
            {R"({"a":{"b":1,"b":2},"mcpServers":{"x":{"command":"y"}}})",
             R"({"a":{"b":1,"b":2},"mcpServers":{"x":{"command":"y"}, "dovrin": {"command": "/p", "args": []}}})"},
            {"", "{\n  \"mcpServers\": {\n    \"dovrin\": {\n      \"command\": \"/p\",\n      \"args\": "
                 "[]\n    }\n  }\n}\n"},
            // An escaped key is still the servers key; line breaks stay CRLF.
            {"{\r\n  \"mcp\\u0053ervers\": {\r\n    \"dovrin\": {\"command\": \"/q\"}\r\n  }\r\n}",
             "{\r\n  \"mcp\\u0053ervers\": {\r\n    \"dovrin\": {\r\n      \"command\": \"/p\",\r\n      "
             "\"args\": []\r\n"
             "    }\r\n  }\r\n}"},
            {"{ \"x\": -1.5e+3, \"y\": [true, null, \"\\ud83d\\ude00\"] }",
             "{ \"x\": -1.5e+3, \"y\": [true, null, \"\\ud83d\\ude00\"], \"mcpServers\": {\"dovrin\": "
             "{\"command\": "
             "\"/p\", \"args\": []}} }"},
        };
        for (const auto& [before, after] : json)
            QCOMPARE(Shell::JsonConfigEdit::withEntry(before, servers, entry).value(), after);
        const QString awkward = "/opt/a \"b\"\\c\x01/dovrin-mcp";
        const QByteArray awkwardJson =
            Shell::JsonConfigEdit::withEntry("{}", servers, {awkward, false}).value();
        QCOMPARE(QJsonDocument::fromJson(awkwardJson)["mcpServers"]["dovrin"]["command"].toString(), awkward);
        QCOMPARE(Shell::JsonConfigEdit::registeredCommand(awkwardJson, servers).value(), awkward);

        const QList<QByteArray> tomlRefused{"mcp_servers = { docs = { command = \"x\" } }\n",
                                            "mcp_servers.dovrin.command = \"x\"\n",
                                            "[mcp_servers]\ndovrin = { command = \"x\" }\n",
                                            "[mcp_servers]\ndovrin.command = \"x\"\n",
                                            "[[mcp_servers.dovrin]]\ncommand = \"x\"\n",
                                            "[mcp_servers.dovrin]\n[a]\n[mcp_servers.dovrin.env]\n",
                                            "a = \"unterminated\n",
                                            "a = 1 b = 2\n"};
        for (const QByteArray& text : tomlRefused) {
            QVERIFY2(!Shell::TomlConfigEdit::withEntry(text, "/p"), text.constData());
            QVERIFY2(!Shell::TomlConfigEdit::registeredCommand(text), text.constData());
        }
        const QList<std::pair<QByteArray, QByteArray>> toml{
            {"", "[mcp_servers.dovrin]\ncommand = \"/p\"\n"},
            // A header inside a multi-line string or array is text, not a table.
            {"notes = \"\"\"\n[mcp_servers.dovrin]\n\"\"\"\nlist = [\n  [1, 2], # pairs\n  [3],\n]\nmodel = "
             "\"x\"",
             "notes = \"\"\"\n[mcp_servers.dovrin]\n\"\"\"\nlist = [\n  [1, 2], # pairs\n  [3],\n]\nmodel = "
             "\"x\"\n\n"
             "[mcp_servers.dovrin]\ncommand = \"/p\"\n"},
            {"[mcp_servers . \"dovrin\"] # mine\ncommand = '/q'\nargs = []\n\n[b]\n",
             "[mcp_servers.dovrin]\ncommand = \"/p\"\n\n[b]\n"},
        };
        for (const auto& [before, after] : toml)
            QCOMPARE(Shell::TomlConfigEdit::withEntry(before, "/p").value(), after);
        const QByteArray awkwardToml = Shell::TomlConfigEdit::withEntry("", awkward).value();
        QCOMPARE(awkwardToml,
                 "[mcp_servers.dovrin]\ncommand = \"/opt/a \\\"b\\\"\\\\c\\u0001/dovrin-mcp\"\n");
        QCOMPARE(Shell::TomlConfigEdit::registeredCommand(awkwardToml).value(), awkward);
    }

    void window_copiesTheSnippet_andShowsConnectedAfterAdd() {
        Homes homes;
        qputenv("DOVRIN_MCP", QFile::encodeName(mcpPath()));
        write(QDir::home().filePath(".cursor/mcp.json"), "{}\n");
        Shell::ConnectWindow window;
        window.showWindow();
        auto* cursor = window.findChild<Shell::ClientCard*>("cursor");
        QVERIFY(cursor && cursor->isVisible());
        cursor->findChild<QPushButton*>("copy")->click();
        QCOMPARE(QApplication::clipboard()->text(), Shell::setupSnippet(cursor->client(), mcpPath()));

        auto* add = cursor->findChild<QPushButton*>("add");
        QVERIFY(add->isVisible());
        add->click();
        QVERIFY(cursor->findChild<QLabel*>("connected")->isVisible());
        QVERIFY(!add->isVisible());
        QVERIFY(cursor->findChild<QLabel*>("message")->text().contains("mcp.json.dovrin-backup"));

        // Without the program, nothing that would start it is offered.
        qputenv("DOVRIN_MCP", "/nowhere/dovrin-mcp");
        window.showWindow();
        QVERIFY(window.findChild<QWidget*>("missing")->isVisible());
        QVERIFY(!cursor->isVisible());
        qunsetenv("DOVRIN_MCP");
    }
};

DOVRIN_TEST_MAIN(QApplication, ConnectTest)
#include "ConnectTest.moc"
