#include "app/shell/ClientConfigWriter.h"

#include "app/core/Log.h"
#include "app/shell/JsonConfigEdit.h"
#include "app/shell/TomlConfigEdit.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace Dovrin::Shell {

namespace {

Result<std::optional<QString>, QString> registered(const AIClient& client, const QByteArray& text) {
    if (client.format == ConfigFormat::toml)
        return TomlConfigEdit::registeredCommand(text);
    return JsonConfigEdit::registeredCommand(text, client.serversKey);
}

Result<QByteArray, QString> edited(const AIClient& client, const QByteArray& text, const QString& mcpPath) {
    if (client.format == ConfigFormat::toml)
        return TomlConfigEdit::withEntry(text, mcpPath);
    return JsonConfigEdit::withEntry(text, client.serversKey, {mcpPath, client.namesTransport});
}

Result<QByteArray, QString> contents(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    return file.readAll();
}

Result<void, QString> save(const QString& path, const QByteArray& text,
                           QFileDevice::Permissions permissions) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(permissions) ||
        file.write(text) != text.size() || !file.commit())
        return file.errorString();
    return {};
}

} // namespace

ClientState clientState(const AIClient& client, const QString& mcpPath) {
    if (!QFileInfo::exists(client.configFile))
        return ClientState::noConfigFile;
    const auto text = contents(client.configFile);
    const auto command =
        text ? registered(client, *text) : Result<std::optional<QString>, QString>(text.error());
    if (!command)
        return ClientState::cannotEdit;
    if (!command->has_value())
        return ClientState::notSetUp;
    return **command == mcpPath ? ClientState::connected : ClientState::otherServer;
}

QString backupPath(const AIClient& client) {
    return client.configFile + u".dovrin-backup"_s;
}

Result<void, AddError> addToClient(const AIClient& client, const QString& mcpPath) {
    const auto original = contents(client.configFile);
    if (!original)
        return AddError{AddError::Kind::unreadable, original.error()};
    const auto text = edited(client, *original, mcpPath);
    if (!text) {
        qCInfo(Core::shellLog, "connect: %s left as it is: %s", qUtf8Printable(client.configFile),
               qUtf8Printable(text.error()));
        return AddError{AddError::Kind::cannotEdit, text.error()};
    }
    // The copy may hold the client's secrets as the file does, so it gets the same permissions.
    const QFileDevice::Permissions permissions = QFileInfo(client.configFile).permissions();
    if (const auto saved = save(backupPath(client), *original, permissions); !saved) {
        qCWarning(Core::shellLog, "connect: no copy of %s saved: %s", qUtf8Printable(client.configFile),
                  qUtf8Printable(saved.error()));
        return AddError{AddError::Kind::backupFailed, saved.error()};
    }
    if (const auto saved = save(client.configFile, *text, permissions); !saved) {
        qCWarning(Core::shellLog, "connect: %s not written: %s", qUtf8Printable(client.configFile),
                  qUtf8Printable(saved.error()));
        return AddError{AddError::Kind::writeFailed, saved.error()};
    }
    qCInfo(Core::shellLog, "connect: dovrin added to %s (%s)", qUtf8Printable(client.configFile),
           qUtf8Printable(client.id));
    return {};
}

} // namespace Dovrin::Shell
