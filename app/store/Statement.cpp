#include "app/store/Statement.h"

#include <sqlite3.h>

#include <cmath>
#include <memory>
#include <string_view>

using namespace Qt::StringLiterals;

namespace Dovrin::Store {

namespace {

struct Finalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

StoreError failure(const QString& message, QByteArrayView sql) {
    return StoreError{message + u" — "_s + QString::fromUtf8(sql).left(60)};
}

StoreError failure(sqlite3* db, QByteArrayView sql) {
    return failure(QString::fromUtf8(sqlite3_errmsg(db)), sql);
}

// True when `text` holds nothing SQLite would run: whitespace, "--" comments and "/* */" comments (an
// unclosed one runs to the end, as in SQLite).
bool holdsNoStatement(std::string_view text) {
    for (;;) {
        const auto start = text.find_first_not_of(" \t\n\f\r");
        if (start == std::string_view::npos)
            return true;
        text.remove_prefix(start);
        std::string_view close;
        if (text.starts_with("--"))
            close = "\n";
        else if (text.starts_with("/*"))
            close = "*/";
        else
            return false;
        const auto end = text.find(close, 2);
        if (end == std::string_view::npos)
            return true;
        text.remove_prefix(end + close.size());
    }
}

template <class... Ts> struct Overloaded : Ts... { using Ts::operator()...; };
// Spelled out for compilers without C++20's implicit guide for aggregates (clang before 17).
template <class... Ts> Overloaded(Ts...) -> Overloaded<Ts...>;

} // namespace

Statement::Value::Value(const std::optional<QString>& text) {
    if (text)
        m_value = *text;
}

Statement::Value::Value(const std::optional<QDateTime>& date) {
    if (date)
        m_value = *date;
}

void Statement::Value::bind(sqlite3_stmt* statement, int index) const {
    std::visit(
        Overloaded{
            [&](std::monostate) { sqlite3_bind_null(statement, index); },
            [&](const QString& text) {
                const QByteArray utf8 = text.toUtf8();
                // A null pointer would bind NULL, but an empty string is a value.
                sqlite3_bind_text(statement, index, utf8.isNull() ? "" : utf8.constData(), int(utf8.size()),
                                  SQLITE_TRANSIENT);
            },
            [&](bool flag) { sqlite3_bind_int64(statement, index, flag ? 1 : 0); },
            [&](qint64 number) { sqlite3_bind_int64(statement, index, number); },
            [&](double number) { sqlite3_bind_double(statement, index, number); },
            [&](const QDateTime& date) { sqlite3_bind_double(statement, index, secondsSince1970(date)); },
        },
        m_value);
}

bool Statement::Row::isNull(int column) const {
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

QString Statement::Row::text(int column) const {
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
    if (!bytes)
        return QString();
    return QString::fromUtf8(bytes, sqlite3_column_bytes(m_statement, column));
}

QByteArray Statement::Row::utf8(int column) const {
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
    return QByteArray(bytes ? bytes : "", sqlite3_column_bytes(m_statement, column));
}

std::optional<QString> Statement::Row::optionalText(int column) const {
    if (isNull(column))
        return std::nullopt;
    return text(column);
}

qint64 Statement::Row::integer(int column) const {
    return sqlite3_column_int64(m_statement, column);
}

double Statement::Row::real(int column) const {
    return sqlite3_column_double(m_statement, column);
}

QDateTime Statement::Row::date(int column) const {
    return dateFromSeconds(real(column));
}

std::optional<QDateTime> Statement::Row::optionalDate(int column) const {
    if (isNull(column))
        return std::nullopt;
    return date(column);
}

StoreResult<void> Statement::run(sqlite3* db, QByteArrayView sql, std::initializer_list<Value> values,
                                 const RowReader& reader) {
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db, sql.data(), int(sql.size()), &raw, &tail) != SQLITE_OK) {
        sqlite3_finalize(raw);
        return failure(db, sql);
    }
    const std::unique_ptr<sqlite3_stmt, Finalizer> statement(raw);
    // SQLite compiles only the first statement: anything after it would silently never run.
    const std::string_view rest(tail ? tail : sql.data() + sql.size(), sql.data() + sql.size());
    if (!holdsNoStatement(rest))
        return failure(u"trailing SQL after the first statement: "_s +
                           QString::fromUtf8(rest.data(), qsizetype(rest.size())).trimmed().left(60),
                       sql);
    int index = 1;
    for (const Value& value : values)
        value.bind(raw, index++);
    int code = sqlite3_step(raw);
    for (; code == SQLITE_ROW; code = sqlite3_step(raw)) {
        if (reader)
            reader(Row(raw));
    }
    if (code != SQLITE_DONE)
        return failure(db, sql);
    return {};
}

double Statement::secondsSince1970(const QDateTime& date) {
    return double(date.toMSecsSinceEpoch()) / 1000.0;
}

QDateTime Statement::dateFromSeconds(double seconds) {
    // Dates carry milliseconds; rounding undoes the binary fraction of the stored REAL.
    return QDateTime::fromMSecsSinceEpoch(std::llround(seconds * 1000.0), Qt::UTC);
}

} // namespace Dovrin::Store
