#include "app/agent/ToolArguments.h"

#include "app/agent/Tool.h"

#include <QJsonArray>
#include <QJsonValue>

#include <cmath>

using namespace Qt::StringLiterals;

namespace Dovrin::Agent::ToolArguments {

namespace {

QString snakeCase(const QString& name) {
    QString snake;
    for (const QChar c : name) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) {
            snake += QLatin1Char('_');
            snake += c.toLower();
        } else {
            snake += c;
        }
    }
    return snake;
}

QString foundDescription(const QJsonValue& value) {
    switch (value.type()) {
    case QJsonValue::String:
        return u"a string"_s;
    case QJsonValue::Double:
        return u"a number"_s;
    case QJsonValue::Bool:
        return u"a bool"_s;
    case QJsonValue::Array:
        return u"an array"_s;
    case QJsonValue::Object:
        return u"a dictionary"_s;
    default:
        return u"null"_s;
    }
}

// Reads fields off one JSON object; the first problem is kept and every later read is a no-op.
class Reader final {
public:
    Reader(const QJsonObject& object, QString path, std::optional<QString>& failure)
        : m_object(object), m_path(std::move(path)), m_failure(failure) {}

    std::optional<QString> string(const QString& field, bool required) {
        return read<QString>(field, required, u"String"_s, [](const QJsonValue& v) -> std::optional<QString> {
            if (!v.isString())
                return std::nullopt;
            return v.toString();
        });
    }

    std::optional<bool> boolean(const QString& field, bool required) {
        return read<bool>(field, required, u"Bool"_s, [](const QJsonValue& v) -> std::optional<bool> {
            if (!v.isBool())
                return std::nullopt;
            return v.toBool();
        });
    }

    std::optional<qint64> integer(const QString& field, bool required) {
        const auto value = lookUp(field, required, u"Int"_s);
        if (!value)
            return std::nullopt;
        if (!value->isDouble()) {
            mismatch(field, u"Int"_s, *value);
            return std::nullopt;
        }
        const double number = value->toDouble();
        // Whole numbers only, and only those a double holds exactly.
        if (std::trunc(number) != number || std::fabs(number) > 9007199254740992.0) {
            fail(pathTo(field) +
                 u": Parsed JSON number <%1> does not fit in Int."_s.arg(QString::number(number, 'g', 17)));
            return std::nullopt;
        }
        return static_cast<qint64>(number);
    }

    std::optional<QJsonArray> array(const QString& field, bool required) {
        return read<QJsonArray>(field, required, u"Array<Any>"_s,
                                [](const QJsonValue& v) -> std::optional<QJsonArray> {
                                    if (!v.isArray())
                                        return std::nullopt;
                                    return v.toArray();
                                });
    }

    void fail(const QString& detail) {
        if (!m_failure)
            m_failure = detail;
    }

    QString pathTo(const QString& field) const { return m_path + QLatin1Char('.') + snakeCase(field); }

private:
    template <typename T, typename Convert>
    std::optional<T> read(const QString& field, bool required, const QString& typeName, Convert convert) {
        const auto value = lookUp(field, required, typeName);
        if (!value)
            return std::nullopt;
        auto converted = convert(*value);
        if (!converted)
            mismatch(field, typeName, *value);
        return converted;
    }

    // The value under the field's key; absent and null read as nothing, which is a failure when required.
    std::optional<QJsonValue> lookUp(const QString& field, bool required, const QString& typeName) {
        if (m_failure)
            return std::nullopt;
        const QString key = snakeCase(field);
        const bool present = m_object.contains(key) || m_object.contains(field);
        const QJsonValue value = m_object.contains(key) ? m_object.value(key) : m_object.value(field);
        if (!present) {
            if (required)
                fail(u"missing "_s + key);
            return std::nullopt;
        }
        if (value.isNull()) {
            if (required)
                fail(pathTo(field) + u": Expected %1 value but found null instead."_s.arg(typeName));
            return std::nullopt;
        }
        return value;
    }

    void mismatch(const QString& field, const QString& typeName, const QJsonValue& value) {
        fail(pathTo(field) +
             u": Expected to decode %1 but found %2 instead."_s.arg(typeName, foundDescription(value)));
    }

    const QJsonObject& m_object;
    QString m_path;
    std::optional<QString>& m_failure;
};

const QString argumentsPath = u"arguments"_s;

template <typename T>
AgentResult<T> finish(const QString& tool, const std::optional<QString>& failure, T value) {
    if (failure)
        return AgentError{Bridge::ErrorCode::invalidArguments,
                          u"Invalid arguments for %1: %2"_s.arg(tool, *failure)};
    return value;
}

} // namespace

AgentResult<ListArgs> listArgs(const QJsonObject& arguments) {
    std::optional<QString> failure;
    Reader reader(arguments, argumentsPath, failure);
    ListArgs args;
    args.query = reader.string("query", false);
    args.limit = reader.integer("limit", false);
    args.includeClosed = reader.boolean("includeClosed", false);
    return finish(toolName(Tool::listNotes), failure, args);
}

AgentResult<ReadArgs> readArgs(const QJsonObject& arguments) {
    std::optional<QString> failure;
    Reader reader(arguments, argumentsPath, failure);
    ReadArgs args;
    args.note = reader.string("note", true).value_or(QString());
    args.maxChars = reader.integer("maxChars", false);
    args.offset = reader.integer("offset", false);
    return finish(toolName(Tool::readNote), failure, args);
}

AgentResult<CreateArgs> createArgs(const QJsonObject& arguments) {
    std::optional<QString> failure;
    Reader reader(arguments, argumentsPath, failure);
    CreateArgs args;
    const QJsonArray notes = reader.array("notes", true).value_or(QJsonArray());
    for (qsizetype i = 0; i < notes.size() && !failure; ++i) {
        const QString path = reader.pathTo("notes") + QLatin1Char('.') + QString::number(i);
        if (!notes.at(i).isObject()) {
            reader.fail(path + u": Expected to decode Dictionary<String, Any> but found %1 instead."_s.arg(
                                   foundDescription(notes.at(i))));
            break;
        }
        const QJsonObject object = notes.at(i).toObject();
        Reader noteReader(object, path, failure);
        NewNote note;
        note.markdown = noteReader.string("markdown", true).value_or(QString());
        note.color = noteReader.string("color", false);
        args.notes.append(note);
    }
    return finish(toolName(Tool::createNotes), failure, args);
}

AgentResult<UpdateArgs> updateArgs(const QJsonObject& arguments) {
    std::optional<QString> failure;
    Reader reader(arguments, argumentsPath, failure);
    UpdateArgs args;
    args.note = reader.string("note", true).value_or(QString());
    const auto op = reader.string("op", true);
    if (op == "append"_L1)
        args.op = Op::append;
    else if (op == "replace_section"_L1)
        args.op = Op::replaceSection;
    else if (op == "replace_all"_L1)
        args.op = Op::replaceAll;
    else if (op)
        reader.fail(reader.pathTo("op") + u": Cannot initialize Op from invalid String value "_s + *op);
    args.markdown = reader.string("markdown", true).value_or(QString());
    args.expectedRev = reader.integer("expectedRev", true).value_or(0);
    return finish(toolName(Tool::updateNote), failure, args);
}

AgentResult<SetTodoArgs> setTodoArgs(const QJsonObject& arguments) {
    std::optional<QString> failure;
    Reader reader(arguments, argumentsPath, failure);
    SetTodoArgs args;
    args.note = reader.string("note", true).value_or(QString());
    args.index = reader.integer("index", false);
    args.match = reader.string("match", false);
    args.checked = reader.boolean("checked", true).value_or(false);
    return finish(toolName(Tool::setTodo), failure, args);
}

AgentResult<NoteArgs> noteArgs(const QJsonObject& arguments) {
    std::optional<QString> failure;
    Reader reader(arguments, argumentsPath, failure);
    NoteArgs args;
    args.note = reader.string("note", true).value_or(QString());
    return finish(toolName(Tool::deleteNote), failure, args);
}

} // namespace Dovrin::Agent::ToolArguments
