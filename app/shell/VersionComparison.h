#pragma once

#include <QStringView>

#include <compare>

namespace Dovrin::Shell {

// Orders two version strings the way the appcast (Sparkle RSS) format expects its sparkle:version values to
// be ordered, so a feed written for that format reads the same here. Each version is split into runs of
// digits, runs of other characters and single separators ('.', punctuation, white space); anything after a
// '-' past the first character is ignored (a commit hash, say). Missing leading numbers count as 0, so "1.0"
// equals "1.0.0". Numbers compare by value; a run of letters (a pre-release such as "b1") sorts below a
// number or nothing at the same place, so "2.0b1" < "2.0".
std::strong_ordering compareVersions(QStringView a, QStringView b);

} // namespace Dovrin::Shell
