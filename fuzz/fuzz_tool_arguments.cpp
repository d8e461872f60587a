#include "app/agent/NoteReference.h"
#include "app/agent/ToolArguments.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cmath>
#include <cstdint>
#include <cstdlib>

using namespace Qt::StringLiterals;

// A request's "arguments" object through each tool's decoder, and every note reference an AI could pass.
// Decoding gives the values or invalid_arguments naming the tool; whole numbers stay within what a double
// holds exactly; a reference resolves to an id that was written in it, or is not_found quoting it.

namespace Args = Dovrin::Agent::ToolArguments;
using Dovrin::Agent::AgentResult;
using Dovrin::Bridge::ErrorCode;

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

template <typename T> bool decoded(const AgentResult<T>& result, const char* tool) {
    if (!result) {
        const QString prefix = u"Invalid arguments for %1: "_s.arg(QLatin1String(tool));
        require(result.error().code == ErrorCode::invalidArguments);
        require(result.error().message.startsWith(prefix) && result.error().message.size() > prefix.size());
    }
    return result.ok();
}

void requireExact(const std::optional<qint64>& number) {
    require(!number || std::llabs(*number) <= (qint64(1) << 53));
}

void checkReference(const QString& argument) {
    const auto id = Dovrin::Agent::noteReference(argument);
    if (id) {
        require(argument.contains(id->toString(QUuid::WithoutBraces), Qt::CaseInsensitive));
        return;
    }
    require(id.error().code == ErrorCode::notFound && id.error().message.contains(argument));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    checkReference(QString::fromUtf8(bytes));
    const QJsonDocument document = QJsonDocument::fromJson(bytes);
    if (!document.isObject())
        return 0;
    const QJsonObject arguments = document.object();

    if (const auto list = Args::listArgs(arguments); decoded(list, "list_notes"))
        requireExact(list->limit);
    if (const auto read = Args::readArgs(arguments); decoded(read, "read_note")) {
        requireExact(read->maxChars);
        requireExact(read->offset);
        checkReference(read->note);
    }
    if (const auto create = Args::createArgs(arguments); decoded(create, "create_notes"))
        require(create->notes.size() == arguments.value("notes"_L1).toArray().size() ||
                !arguments.contains("notes"_L1));
    if (const auto update = Args::updateArgs(arguments); decoded(update, "update_note")) {
        requireExact(update->expectedRev);
        checkReference(update->note);
    }
    if (const auto setTodo = Args::setTodoArgs(arguments); decoded(setTodo, "set_todo")) {
        requireExact(setTodo->index);
        checkReference(setTodo->note);
    }
    if (const auto note = Args::noteArgs(arguments); decoded(note, "delete_note"))
        checkReference(note->note);
    return 0;
}
