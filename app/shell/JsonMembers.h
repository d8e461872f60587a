#pragma once

#include "app/core/Result.h"

#include <QByteArrayView>
#include <QList>
#include <QString>

// Where the members of a JSON object sit in the text, byte by byte, so that an AI client's configuration file
// can take one new member while every other byte of it stays as its owner wrote it. QJsonDocument cannot do
// that: it sorts keys and rewrites the layout.
namespace Dovrin::Shell::JsonMembers {

struct Member {
    QString key;
    // The key's opening quotation mark.
    qsizetype keyStart = 0;
    // The value's first byte, and one past its last.
    qsizetype valueStart = 0;
    qsizetype valueEnd = 0;
};

struct Object {
    // The offsets of '{' and of its '}'.
    qsizetype open = 0;
    qsizetype close = 0;
    QList<Member> members;

    const Member* member(const QString& key) const;
};

// The object that the whole text is, checked against RFC 8259 to the last byte: no comments, no trailing
// commas, nothing the grammar does not allow, UTF-8 only. A key given twice in the object is refused too,
// since a client would read only one of them and nobody can tell which. The error says what and where.
Result<Object, QString> document(QByteArrayView text);

// The object whose value starts at `at` in a text that document() accepted, with the same check on keys.
Result<Object, QString> objectAt(QByteArrayView text, qsizetype at);

} // namespace Dovrin::Shell::JsonMembers
