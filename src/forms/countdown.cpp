#include "forms/countdown.h"

#include "forms/lmf2d.h"
#include "forms/main_form.h"
#include "runtime/clock.h"
#include "runtime/conversions.h"
#include "runtime/errors.h"

#include <array>
#include <optional>

using runtime::checked;
using runtime::NumberText;
using runtime::toNumber;

namespace forms {
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
    // Texts are only built for the parts that changed since the last run.
    main.setText(Field::MonNum, {NumberText(date.month())});
    main.setText(Field::CurDay, {NumberText(date.day())});
    main.setText(Field::CurHour, {NumberText(time.hour())});
    main.setText(Field::CurMin, {NumberText(time.minute())});
    main.setText(Field::CurSec, {NumberText(time.second())});
}

void CalculateTimeUntil(Main &main, bool automatic)
{
    // Until clock sampling has run the current-time fields hold their names;
    // such a run changes nothing rather than ending the program.
    std::array<double, 5> now{};
    constexpr std::array<Field, 5> currentTime
        = {Field::MonNum, Field::CurDay, Field::CurHour, Field::CurMin, Field::CurSec};
    for (std::size_t i = 0; i < currentTime.size(); ++i) {
        const std::optional<double> value = runtime::tryNumber(main.text(currentTime[i]));
        if (!value)
            return;
        now[i] = *value;
    }
    const auto [month, day, hour, minute, second] = now;

    // The unit words only in the automatic form.
    const auto unit = [automatic](QStringView word) { return automatic ? word : QStringView(); };
    main.setText(Field::EndMon1, {NumberText(checked(EventMonth - month))});
    main.setText(Field::EndDay, {NumberText(checked(EventDay - day))});
    main.setText(Field::EndHour, {NumberText(checked(HoursPerDay - hour)), unit(u" Hours ")});
    main.setText(Field::EndMinute,
                 {NumberText(checked(MinutesPerHour - minute)), unit(u" Minutes ")});
    main.setText(Field::EndSecond,
                 {NumberText(checked(SecondsPerMinute - second)), unit(u" Seconds ")});

    if (toNumber(main.text(Field::EndMon1)) == 0)
        main.setText(Field::EndMon, main.text(Field::EndDay));
    if (toNumber(main.text(Field::EndMon1)) == 1) {
        main.setText(
            Field::EndMon,
            {NumberText(checked(toNumber(main.text(Field::EndDay)) + DaysInMonthBeforeEvent))});
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

    main.setText(Field::EndDays, {main.text(Field::EndMon), u" days "});
    main.setText(Field::Final,
                 {u"It is ", main.text(Field::EndDays), main.text(Field::EndHour),
                  main.text(Field::EndMinute), u" and ", main.text(Field::EndSecond)});
}

} // namespace forms
