#include "app/shell/JsonMembers.h"

#include "app/shell/ConfigScanning.h"

#include <QSet>
#include <QStringDecoder>

using namespace Qt::StringLiterals;

namespace Dovrin::Shell::JsonMembers {

namespace {

// Deeper nesting than any configuration file needs; it keeps the recursion off the end of the stack.
constexpr int maxDepth = 512;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

class Scanner final {
public:
    explicit Scanner(QByteArrayView text, qsizetype at = 0) : m_text(text), m_pos(at) {}

    // The object at the current position, with its members.
    Result<Object, QString> object() {
        Object result;
        if (!expect('{') || !objectBody(0, &result))
            return m_error;
        return result;
    }

    bool atEnd() {
        skipWhitespace();
        return m_pos == m_text.size();
    }

    QString failure(const QString& what) {
        fail(what);
        return m_error;
    }

private:
    bool fail(const QString& what) {
        if (!m_error.isEmpty())
            return false;
        m_error = textPositionError(m_text, m_pos, what);
        return false;
    }

    char peek() const { return m_pos < m_text.size() ? m_text[m_pos] : '\0'; }

    void skipWhitespace() {
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos];
            if (c != ' ' && c != '\t' && c != '\n' && c != '\r')
                return;
            ++m_pos;
        }
    }

    bool expect(char c) {
        skipWhitespace();
        if (peek() != c)
            return fail(u"expected '%1'"_s.arg(QLatin1Char(c)));
        ++m_pos;
        return true;
    }

    // After the '{'. Members are collected into `members` when it is given.
    bool objectBody(int depth, Object* members) {
        if (members)
            members->open = m_pos - 1;
        QSet<QString> keys;
        skipWhitespace();
        if (peek() == '}') {
            if (members)
                members->close = m_pos;
            ++m_pos;
            return true;
        }
        for (;;) {
            skipWhitespace();
            Member member;
            member.keyStart = m_pos;
            if (peek() != '"')
                return fail(u"expected a key in quotation marks"_s);
            if (!string(&member.key) || !expect(':'))
                return false;
            skipWhitespace();
            member.valueStart = m_pos;
            if (!value(depth + 1))
                return false;
            member.valueEnd = m_pos;
            if (members) {
                if (keys.contains(member.key)) {
                    m_pos = member.keyStart;
                    return fail(u"the key \"%1\" is given twice"_s.arg(member.key));
                }
                keys.insert(member.key);
                members->members.append(member);
            }
            skipWhitespace();
            if (peek() == ',') {
                ++m_pos;
                continue;
            }
            if (peek() != '}')
                return fail(u"expected ',' or '}'"_s);
            if (members)
                members->close = m_pos;
            ++m_pos;
            return true;
        }
    }

    bool arrayBody(int depth) {
        skipWhitespace();
        if (peek() == ']') {
            ++m_pos;
            return true;
        }
        for (;;) {
            skipWhitespace();
            if (!value(depth + 1))
                return false;
            skipWhitespace();
            if (peek() == ',') {
                ++m_pos;
                continue;
            }
            if (peek() != ']')
                return fail(u"expected ',' or ']'"_s);
            ++m_pos;
            return true;
        }
    }

    bool value(int depth) {
        if (depth > maxDepth)
            return fail(u"nested too deeply"_s);
        switch (peek()) {
        case '{':
            ++m_pos;
            return objectBody(depth, nullptr);
        case '[':
            ++m_pos;
            return arrayBody(depth);
        case '"':
            return string(nullptr);
        case 't':
            return literal("true");
        case 'f':
            return literal("false");
        case 'n':
            return literal("null");
        default:
            return number();
        }
    }

    bool literal(QByteArrayView word) {
        if (m_text.sliced(m_pos).startsWith(word)) {
            m_pos += word.size();
            return true;
        }
        return fail(u"expected a value"_s);
    }

    bool number() {
        if (peek() == '-')
            ++m_pos;
        if (peek() == '0') {
            ++m_pos;
        } else if (isDigit(peek())) {
            while (isDigit(peek()))
                ++m_pos;
        } else {
            return fail(u"expected a value"_s);
        }
        if (peek() == '.') {
            ++m_pos;
            if (!isDigit(peek()))
                return fail(u"expected a digit"_s);
            while (isDigit(peek()))
                ++m_pos;
        }
        if (peek() == 'e' || peek() == 'E') {
            ++m_pos;
            if (peek() == '+' || peek() == '-')
                ++m_pos;
            if (!isDigit(peek()))
                return fail(u"expected a digit"_s);
            while (isDigit(peek()))
                ++m_pos;
        }
        return true;
    }

    // A string at the current position; its decoded text goes to `decoded` when that is given.
    bool string(QString* decoded) {
        ++m_pos;
        qsizetype runStart = m_pos;
        const auto flushRun = [&] {
            if (decoded)
                decoded->append(QString::fromUtf8(m_text.sliced(runStart, m_pos - runStart)));
        };
        for (;;) {
            if (m_pos >= m_text.size())
                return fail(u"the string never ends"_s);
            const char c = m_text[m_pos];
            if (c == '"') {
                flushRun();
                ++m_pos;
                return true;
            }
            if (static_cast<unsigned char>(c) < 0x20)
                return fail(u"a control character inside a string"_s);
            if (c != '\\') {
                ++m_pos;
                continue;
            }
            flushRun();
            ++m_pos;
            const char escaped = peek();
            static constexpr QByteArrayView simple = "\"\\/bfnrt";
            static constexpr QByteArrayView meaning = "\"\\/\b\f\n\r\t";
            if (const qsizetype index = simple.indexOf(escaped); index >= 0 && escaped != '\0') {
                if (decoded)
                    decoded->append(QLatin1Char(meaning[index]));
                ++m_pos;
            } else if (escaped == 'u') {
                ++m_pos;
                char16_t unit = 0;
                for (int i = 0; i < 4; ++i) {
                    const int digit = hexDigitValue(peek());
                    if (digit < 0)
                        return fail(u"expected four hexadecimal digits after \\u"_s);
                    unit = char16_t(unit * 16 + digit);
                    ++m_pos;
                }
                if (decoded)
                    decoded->append(QChar(unit));
            } else {
                return fail(u"an unknown escape in a string"_s);
            }
            runStart = m_pos;
        }
    }

    QByteArrayView m_text;
    qsizetype m_pos = 0;
    QString m_error;
};

} // namespace

const Member* Object::member(const QString& key) const {
    for (const Member& candidate : members)
        if (candidate.key == key)
            return &candidate;
    return nullptr;
}

Result<Object, QString> document(QByteArrayView text) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8(text);
    if (utf8.hasError())
        return u"the text is not UTF-8"_s;
    Scanner scanner(text);
    Result<Object, QString> object = scanner.object();
    if (object && !scanner.atEnd())
        return scanner.failure(u"more text after the object"_s);
    return object;
}

Result<Object, QString> objectAt(QByteArrayView text, qsizetype at) {
    return Scanner(text, at).object();
}

} // namespace Dovrin::Shell::JsonMembers
