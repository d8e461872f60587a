#include "app/core/RelativeTime.h"

#include "app/core/AppLanguage.h"

#include <QCoreApplication>
#include <QLocale>

#include <unicode/locid.h>
#include <unicode/reldatefmt.h>

#include <memory>

namespace Dovrin::Core {

namespace {

icu::RelativeDateTimeFormatter* formatter() {
    // One formatter for the run: the language only changes with a relaunch.
    static const std::unique_ptr<icu::RelativeDateTimeFormatter> shared = [] {
        UErrorCode status = U_ZERO_ERROR;
        auto created = std::make_unique<icu::RelativeDateTimeFormatter>(
            icu::Locale(launchedLanguage() == AppLanguage::simplifiedChinese ? "zh_Hans" : "en"), nullptr,
            UDAT_STYLE_SHORT, UDISPCTX_CAPITALIZATION_NONE, status);
        return U_SUCCESS(status) ? std::move(created) : nullptr;
    }();
    return shared.get();
}

struct Offset {
    double value;
    URelativeDateTimeUnit unit;
};

// The largest unit that fits, counted in whole units, as a calendar-minded reader would say it.
Offset offsetFor(qint64 seconds) {
    const qint64 size = qAbs(seconds);
    const int sign = seconds < 0 ? -1 : 1;
    struct Step {
        qint64 seconds;
        URelativeDateTimeUnit unit;
    };
    static constexpr Step steps[] = {
        {365 * 86400, UDAT_REL_UNIT_YEAR}, {30 * 86400, UDAT_REL_UNIT_MONTH}, {7 * 86400, UDAT_REL_UNIT_WEEK},
        {86400, UDAT_REL_UNIT_DAY},        {3600, UDAT_REL_UNIT_HOUR},        {60, UDAT_REL_UNIT_MINUTE},
    };
    for (const Step& step : steps) {
        if (size >= step.seconds)
            return {double(sign * (size / step.seconds)), step.unit};
    }
    return {double(seconds), UDAT_REL_UNIT_SECOND};
}

} // namespace

QString relativeTime(const QDateTime& date, const QDateTime& now) {
    const qint64 ago = date.secsTo(now);
    if (ago >= 0 && ago < 60)
        return QCoreApplication::translate("RelativeTime", "just now");
    icu::RelativeDateTimeFormatter* format = formatter();
    if (!format)
        return QLocale().toString(date, QLocale::ShortFormat);
    const Offset offset = offsetFor(-ago);
    icu::UnicodeString text;
    UErrorCode status = U_ZERO_ERROR;
    format->format(offset.value, offset.unit, text, status);
    if (U_FAILURE(status))
        return QLocale().toString(date, QLocale::ShortFormat);
    return QString(reinterpret_cast<const QChar*>(text.getBuffer()), text.length());
}

} // namespace Dovrin::Core
