#include "app/shell/TomlStatements.h"

#include "app/shell/ConfigScanning.h"

#include <QRegularExpression>
#include <QStringDecoder>

using namespace Qt::StringLiterals;

namespace Dovrin::Shell::TomlStatements {

namespace {

// Deeper nesting than any configuration file needs; it keeps the recursion off the end of the stack.
constexpr int maxDepth = 512;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isBareKeyCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
}

class Lexer final {
public:
    explicit Lexer(QByteArrayView text) : m_text(text) {}

    Result<QList<Statement>, QString> run() {
        QList<Statement> found;
        while (m_pos < m_text.size()) {
            skipBlanks();
            if (atLineBreak()) {
                lineBreak();
                continue;
            }
            if (peek() == '#') {
                if (!comment() || !endOfLine())
                    return m_error;
                continue;
            }
            Statement statement;
            statement.start = m_pos;
            while (statement.start > 0 && m_text[statement.start - 1] != '\n')
                --statement.start;
            if (!(peek() == '[' ? header(statement) : keyValue(statement)) || !endOfLine())
                return m_error;
            statement.end = m_pos;
            found.append(statement);
        }
        return found;
    }

    // A whole text that is one single-line string.
    std::optional<QString> onlyString() {
        if (startsWith("\"\"\"") || startsWith("'''"))
            return std::nullopt;
        QByteArray decoded;
        const bool read = peek() == '"' ? basicString(&decoded) : peek() == '\'' && literalString(&decoded);
        if (!read || m_pos != m_text.size())
            return std::nullopt;
        return QString::fromUtf8(decoded);
    }

private:
    bool fail(const QString& what) {
        if (!m_error.isEmpty())
            return false;
        m_error = textPositionError(m_text, m_pos, what);
        return false;
    }

    char peek(qsizetype ahead = 0) const {
        return m_pos + ahead < m_text.size() ? m_text[m_pos + ahead] : '\0';
    }

    bool startsWith(QByteArrayView word) const { return m_text.sliced(m_pos).startsWith(word); }

    void skipBlanks() {
        while (isBlank(peek()))
            ++m_pos;
    }

    bool atLineBreak() const { return peek() == '\n' || (peek() == '\r' && peek(1) == '\n'); }

    void lineBreak() { m_pos += peek() == '\r' ? 2 : 1; }

    bool comment() {
        while (m_pos < m_text.size() && peek() != '\n' && peek() != '\r')
            ++m_pos;
        return true;
    }

    bool endOfLine() {
        skipBlanks();
        if (peek() == '#')
            comment();
        if (m_pos == m_text.size())
            return true;
        if (!atLineBreak())
            return fail(u"expected the end of the line"_s);
        lineBreak();
        return true;
    }

    // Blanks, line breaks and comments, as arrays allow between their values.
    void skipSpace() {
        for (;;) {
            skipBlanks();
            if (atLineBreak())
                lineBreak();
            else if (peek() == '#')
                comment();
            else
                return;
        }
    }

    bool expect(char c) {
        skipBlanks();
        if (peek() != c)
            return fail(u"expected '%1'"_s.arg(QLatin1Char(c)));
        ++m_pos;
        return true;
    }

    bool header(Statement& statement) {
        ++m_pos;
        const bool array = peek() == '[';
        if (array)
            ++m_pos;
        statement.kind = array ? Statement::Kind::arrayOfTables : Statement::Kind::table;
        if (!keyPath(statement.path) || !expect(']'))
            return false;
        if (array && peek() != ']')
            return fail(u"expected ']]'"_s);
        if (array)
            ++m_pos;
        return true;
    }

    bool keyValue(Statement& statement) {
        statement.kind = Statement::Kind::keyValue;
        if (!keyPath(statement.path) || !expect('='))
            return false;
        skipBlanks();
        statement.valueStart = m_pos;
        if (!value(0))
            return false;
        statement.valueEnd = m_pos;
        return true;
    }

    bool keyPath(QStringList& path) {
        for (;;) {
            skipBlanks();
            QByteArray part;
            if (peek() == '"' && !startsWith("\"\"\"")) {
                if (!basicString(&part))
                    return false;
            } else if (peek() == '\'' && !startsWith("'''")) {
                if (!literalString(&part))
                    return false;
            } else {
                const qsizetype start = m_pos;
                while (isBareKeyCharacter(peek()))
                    ++m_pos;
                if (m_pos == start)
                    return fail(u"expected a key"_s);
                part = m_text.sliced(start, m_pos - start).toByteArray();
            }
            path.append(QString::fromUtf8(part));
            skipBlanks();
            if (peek() != '.')
                return true;
            ++m_pos;
        }
    }

    bool value(int depth) {
        if (depth > maxDepth)
            return fail(u"nested too deeply"_s);
        if (startsWith("\"\"\""))
            return multiLineString('"');
        if (startsWith("'''"))
            return multiLineString('\'');
        switch (peek()) {
        case '"':
            return basicString(nullptr);
        case '\'':
            return literalString(nullptr);
        case '[':
            return array(depth);
        case '{':
            return inlineTable(depth);
        default:
            return scalar();
        }
    }

    // Numbers, booleans, dates and times. Only their characters are checked; a date and a time may stand
    // apart by one space.
    bool scalar() {
        const qsizetype start = m_pos;
        const auto isScalarCharacter = [](char c) {
            return isBareKeyCharacter(c) || c == '+' || c == '.' || c == ':';
        };
        while (isScalarCharacter(peek()))
            ++m_pos;
        static const QRegularExpression date(u"^\\d{4}-\\d{2}-\\d{2}$"_s);
        const QByteArrayView first = m_text.sliced(start, m_pos - start);
        if (peek() == ' ' && peek(1) >= '0' && peek(1) <= '9' &&
            date.match(QLatin1String(first)).hasMatch()) {
            ++m_pos;
            while (isScalarCharacter(peek()))
                ++m_pos;
        }
        return m_pos > start || fail(u"expected a value"_s);
    }

    bool array(int depth) {
        ++m_pos;
        for (;;) {
            skipSpace();
            if (peek() == ']') {
                ++m_pos;
                return true;
            }
            if (!value(depth + 1))
                return false;
            skipSpace();
            if (peek() == ',') {
                ++m_pos;
                continue;
            }
            if (peek() != ']')
                return fail(u"expected ',' or ']'"_s);
        }
    }

    bool inlineTable(int depth) {
        ++m_pos;
        for (;;) {
            skipSpace();
            if (peek() == '}') {
                ++m_pos;
                return true;
            }
            QStringList key;
            if (!keyPath(key) || !expect('='))
                return false;
            skipBlanks();
            if (!value(depth + 1))
                return false;
            skipSpace();
            if (peek() == ',') {
                ++m_pos;
                continue;
            }
            if (peek() != '}')
                return fail(u"expected ',' or '}'"_s);
        }
    }

    bool basicString(QByteArray* decoded) {
        ++m_pos;
        for (;;) {
            const char c = peek();
            if (m_pos >= m_text.size() || c == '\n' || c == '\r')
                return fail(u"the string does not end on its line"_s);
            ++m_pos;
            if (c == '"')
                return true;
            if (c != '\\') {
                if (decoded)
                    decoded->append(c);
                continue;
            }
            if (!escape(decoded))
                return false;
        }
    }

    // After a backslash in a basic string.
    bool escape(QByteArray* decoded) {
        static constexpr QByteArrayView simple = "btnfr\"\\e";
        static constexpr QByteArrayView meaning = "\b\t\n\f\r\"\\\x1b";
        const char c = peek();
        if (const qsizetype index = simple.indexOf(c); index >= 0 && c != '\0') {
            ++m_pos;
            if (decoded)
                decoded->append(meaning[index]);
            return true;
        }
        const int digits = c == 'u' ? 4 : c == 'U' ? 8 : 0;
        if (digits == 0)
            return fail(u"an unknown escape in a string"_s);
        ++m_pos;
        char32_t codePoint = 0;
        for (int i = 0; i < digits; ++i) {
            const int digit = hexDigitValue(peek());
            if (digit < 0)
                return fail(u"expected hexadecimal digits in an escape"_s);
            codePoint = codePoint * 16 + char32_t(digit);
            ++m_pos;
        }
        if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
            return fail(u"an escape that is no Unicode character"_s);
        if (decoded)
            decoded->append(QString::fromUcs4(&codePoint, 1).toUtf8());
        return true;
    }

    bool literalString(QByteArray* decoded) {
        const qsizetype start = ++m_pos;
        while (peek() != '\'') {
            if (m_pos >= m_text.size() || peek() == '\n' || peek() == '\r')
                return fail(u"the string does not end on its line"_s);
            ++m_pos;
        }
        if (decoded)
            *decoded = m_text.sliced(start, m_pos - start).toByteArray();
        ++m_pos;
        return true;
    }

    // """…""" or '''…''': a closing delimiter may have up to two more quotes before it that belong to the
    // text.
    bool multiLineString(char quote) {
        const QByteArray delimiter(3, quote);
        m_pos += 3;
        for (;;) {
            if (m_pos >= m_text.size())
                return fail(u"the string never ends"_s);
            if (startsWith(delimiter)) {
                m_pos += 3;
                for (int extra = 0; extra < 2 && peek() == quote; ++extra)
                    ++m_pos;
                return true;
            }
            m_pos += quote == '"' && peek() == '\\' ? 2 : 1;
        }
    }

    QByteArrayView m_text;
    qsizetype m_pos = 0;
    QString m_error;
};

} // namespace

Result<QList<Statement>, QString> statements(QByteArrayView text) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8(text);
    if (utf8.hasError())
        return u"the text is not UTF-8"_s;
    return Lexer(text).run();
}

std::optional<QString> stringValue(QByteArrayView value) {
    return Lexer(value).onlyString();
}

} // namespace Dovrin::Shell::TomlStatements
