#include "runtime/clock.h"

namespace runtime {
namespace {

Clock &installedClock()
{
    static Clock clock;
    return clock;
}

} // namespace

QDateTime presentDate()
{
    const Clock &clock = installedClock();
    return clock ? clock() : QDateTime::currentDateTime();
}

Clock setClock(Clock clock)
{
    return std::exchange(installedClock(), std::move(clock));
}

} // namespace runtime
