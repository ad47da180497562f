#include "countdown/countdown.h"

#include "event_day/lmf2d.h"
#include "main_window/main.h"
#include "runtime/clock.h"
#include "runtime/conversions.h"
#include "runtime/errors.h"

#include <array>
#include <optional>

using runtime::checked;
using runtime::toNumber;
using runtime::toText;

namespace {

constexpr double EventMonth = 4;
constexpr double EventDay = 13;
constexpr double HoursPerDay = 24;
constexpr double MinutesPerHour = 60;
constexpr double SecondsPerMinute = 60;
constexpr double DaysInMonthBeforeEvent = 31;

} // namespace

void CalculateCurrentTime(Main &main)
{
    // One reading for all five parts, so that a run never mixes two instants.
    const QDateTime now = runtime::presentDate();
    const QDate date = now.date();
    const QTime time = now.time();
    main.setText(Field::MonNum, QString::number(date.month()));
    main.setText(Field::CurDay, QString::number(date.day()));
    main.setText(Field::CurHour, QString::number(time.hour()));
    main.setText(Field::CurMin, QString::number(time.minute()));
    main.setText(Field::CurSec, QString::number(time.second()));
}

void CalculateTimeUntil(Main &main, bool automatic)
{
    // Until clock sampling has run the current-time fields hold their names;
    // such a run changes nothing rather than ending the program.
    std::array<double, 5> now{};
    constexpr std::array<Field, 5> currentTime = {Field::MonNum, Field::CurDay, Field::CurHour,
                                                  Field::CurMin, Field::CurSec};
    for (std::size_t i = 0; i < currentTime.size(); ++i) {
        const std::optional<double> value = runtime::tryNumber(main.text(currentTime[i]));
        if (!value)
            return;
        now[i] = *value;
    }
    const auto [month, day, hour, minute, second] = now;

    main.setText(Field::EndMon1, toText(checked(EventMonth - month)));
    main.setText(Field::EndDay, toText(checked(EventDay - day)));
    main.setText(Field::EndHour, toText(checked(HoursPerDay - hour))
                     + (automatic ? QStringLiteral(" Hours ") : QString()));
    main.setText(Field::EndMinute, toText(checked(MinutesPerHour - minute))
                     + (automatic ? QStringLiteral(" Minutes ") : QString()));
    main.setText(Field::EndSecond, toText(checked(SecondsPerMinute - second))
                     + (automatic ? QStringLiteral(" Seconds ") : QString()));

    if (toNumber(main.text(Field::EndMon1)) == 0)
        main.setText(Field::EndMon, main.text(Field::EndDay));
    if (toNumber(main.text(Field::EndMon1)) == 1) {
        main.setText(Field::EndMon,
                     toText(checked(toNumber(main.text(Field::EndDay)) + DaysInMonthBeforeEvent)));
    }
    // Outside March and April nothing above writes the days to go: they keep
    // what an earlier run left, or the field's name, which is no event day.

    if (!automatic)
        return;

    const std::optional<double> daysToGo = runtime::tryNumber(main.text(Field::EndMon));
    if (daysToGo && *daysToGo == 0) {
        LMF2D::showNew();
        main.setTimer2Enabled(false);
    }

    main.setText(Field::EndDays, main.text(Field::EndMon) + QStringLiteral(" days "));
    main.setText(Field::Final, QStringLiteral("It is ") + main.text(Field::EndDays)
                     + main.text(Field::EndHour) + main.text(Field::EndMinute)
                     + QStringLiteral(" and ") + main.text(Field::EndSecond));
}
