#pragma once

#include "app/store/StoreError.h"

#include <QByteArrayView>
#include <QDateTime>
#include <QString>

#include <functional>
#include <initializer_list>
#include <optional>
#include <variant>

struct sqlite3;
struct sqlite3_stmt;

namespace Dovrin::Store {

// The one way a statement reaches SQLite: prepare, bind in order, step through the rows, finalize.
class Statement final {
public:
    // A parameter value; absent optionals bind as NULL and dates as seconds since 1970.
    class Value final {
    public:
        Value() = default;
        Value(std::nullopt_t) {}
        Value(QString text) : m_value(std::move(text)) {}
        Value(const std::optional<QString>& text);
        Value(bool flag) : m_value(flag) {}
        Value(int number) : m_value(qint64(number)) {}
        Value(qint64 number) : m_value(number) {}
        Value(double number) : m_value(number) {}
        Value(const QDateTime& date) : m_value(date) {}
        Value(const std::optional<QDateTime>& date);
        // A bare C string would silently become a bool.
        Value(const char*) = delete;

        void bind(sqlite3_stmt* statement, int index) const;

    private:
        std::variant<std::monostate, QString, bool, qint64, double, QDateTime> m_value;
    };

    // The current result row; columns count from 0.
    class Row final {
    public:
        explicit Row(sqlite3_stmt* statement) : m_statement(statement) {}

        bool isNull(int column) const;
        // NULL reads as "".
        QString text(int column) const;
        std::optional<QString> optionalText(int column) const;
        // The text exactly as stored, without a round trip through UTF-16; NULL reads as "".
        QByteArray utf8(int column) const;
        qint64 integer(int column) const;
        double real(int column) const;
        bool boolean(int column) const { return integer(column) != 0; }
        QDateTime date(int column) const;
        std::optional<QDateTime> optionalDate(int column) const;

    private:
        sqlite3_stmt* m_statement = nullptr;
    };

    using RowReader = std::function<void(const Row&)>;

    // Runs the one statement in `sql`; trailing SQL after it is refused and nothing runs. Fails with
    // SQLite's message, " — " and the first 60 characters of the statement, so a statement's opening
    // characters are part of its error text.
    static StoreResult<void> run(sqlite3* db, QByteArrayView sql, std::initializer_list<Value> values = {},
                                 const RowReader& reader = {});

    static double secondsSince1970(const QDateTime& date);
    static QDateTime dateFromSeconds(double seconds);
};

// Runs `work` inside BEGIN IMMEDIATE … COMMIT; any failure rolls everything back and is returned.
template <typename T, typename Work> StoreResult<T> inTransaction(sqlite3* db, Work work) {
    if (auto begin = Statement::run(db, R"sql(BEGIN IMMEDIATE)sql"); !begin)
        return begin.error();
    StoreResult<T> result = work();
    if (result) {
        auto commit = Statement::run(db, R"sql(COMMIT)sql");
        if (commit)
            return result;
        result = commit.error();
    }
    // The first error is the one worth reporting; a failed rollback adds nothing to it.
    (void)Statement::run(db, R"sql(ROLLBACK)sql");
    return result;
}

} // namespace Dovrin::Store
