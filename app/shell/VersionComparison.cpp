#include "app/shell/VersionComparison.h"

#include <QList>

#include <algorithm>

namespace Dovrin::Shell {

namespace {

enum class Kind { number, text, period, punctuation, whitespace, dash };

Kind kindOf(QChar c) {
    if (c == u'.')
        return Kind::period;
    if (c == u'-')
        return Kind::dash;
    if (c.isDigit())
        return Kind::number;
    if (c.isSpace())
        return Kind::whitespace;
    if (c.isPunct())
        return Kind::punctuation;
    return Kind::text;
}

Kind kindOf(QStringView part) {
    return kindOf(part.front());
}

bool isSeparator(Kind kind) {
    return kind == Kind::period || kind == Kind::punctuation || kind == Kind::whitespace;
}

// Any two separators are alike; every other kind is only like itself.
bool sameClass(Kind a, Kind b) {
    return isSeparator(a) ? isSeparator(b) : a == b;
}

QList<QStringView> split(QStringView version) {
    QList<QStringView> parts;
    if (version.isEmpty())
        return parts;
    qsizetype start = 0;
    Kind previous = kindOf(version.front());
    qsizetype i = 1;
    for (; i < version.size(); ++i) {
        const Kind kind = kindOf(version[i]);
        if (kind == Kind::dash)
            break;
        if (kind != previous || isSeparator(previous)) {
            parts.append(version.sliced(start, i - start));
            start = i;
        }
        previous = kind;
    }
    parts.append(version.sliced(start, i - start));
    return parts;
}

qsizetype leadingNumbersAndPeriods(const QList<QStringView>& parts) {
    const auto end = std::find_if(parts.cbegin(), parts.cend(), [](QStringView part) {
        const Kind kind = kindOf(part);
        return kind != Kind::number && kind != Kind::period;
    });
    return end - parts.cbegin();
}

// Pads the shorter leading "1.2" run with ".0" parts to the length of the other, so "1.0" meets "1.0.0".
void balance(QList<QStringView>& shorter, qsizetype shorterCount, const QList<QStringView>& longer,
             qsizetype longerCount) {
    for (qsizetype i = shorterCount; i < longerCount; ++i)
        shorter.insert(i, kindOf(longer[i]) == Kind::period ? QStringView(u".") : QStringView(u"0"));
}

} // namespace

std::strong_ordering compareVersions(QStringView a, QStringView b) {
    QList<QStringView> partsA = split(a);
    QList<QStringView> partsB = split(b);
    const qsizetype leadingA = leadingNumbersAndPeriods(partsA);
    const qsizetype leadingB = leadingNumbersAndPeriods(partsB);
    if (leadingA < leadingB)
        balance(partsA, leadingA, partsB, leadingB);
    else if (leadingB < leadingA)
        balance(partsB, leadingB, partsA, leadingA);

    const qsizetype common = std::min(partsA.size(), partsB.size());
    for (qsizetype i = 0; i < common; ++i) {
        const QStringView partA = partsA[i];
        const QStringView partB = partsB[i];
        const Kind kindA = kindOf(partA);
        const Kind kindB = kindOf(partB);
        if (sameClass(kindA, kindB)) {
            if (kindA == Kind::number) {
                const qlonglong valueA = partA.toLongLong();
                const qlonglong valueB = partB.toLongLong();
                if (valueA != valueB)
                    return valueA <=> valueB;
            } else if (kindA == Kind::text) {
                const int order = partA.compare(partB);
                if (order != 0)
                    return order <=> 0;
            }
        } else if (kindB == Kind::text) {
            return std::strong_ordering::greater;
        } else if (kindA == Kind::text) {
            return std::strong_ordering::less;
        } else {
            // A number against a separator (or a leading dash): the number is the newer one.
            return kindA == Kind::number ? std::strong_ordering::greater : std::strong_ordering::less;
        }
    }
    if (partsA.size() == partsB.size())
        return std::strong_ordering::equal;
    // Equal as far as both go: the longer one is newer unless what it adds is a pre-release word.
    const bool aLonger = partsA.size() > partsB.size();
    const Kind extra = kindOf(aLonger ? partsA[common] : partsB[common]);
    if (extra == Kind::text)
        return aLonger ? std::strong_ordering::less : std::strong_ordering::greater;
    return aLonger ? std::strong_ordering::greater : std::strong_ordering::less;
}

} // namespace Dovrin::Shell
