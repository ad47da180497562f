#pragma once

#include <QDateTime>

#include <functional>

namespace runtime {

// The present local date and time.
QDateTime presentDate();

// Replaces the clock (tests run the program at chosen times). Returns the
// previous clock; an empty function restores the system clock.
using Clock = std::function<QDateTime()>;
Clock setClock(Clock clock);

} // namespace runtime
