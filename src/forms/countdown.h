#pragma once

namespace forms {

class Main;

// Clock sampling: writes the present month, day, hour, minute and second into
// the current-time fields of `main`.
void CalculateCurrentTime(Main &main);

// Countdown computation: turns the current-time fields into the time left
// until April 13. The automatic form adds the unit words, writes the days text
// and the sentence, and on the event day opens the event-day window once.
void CalculateTimeUntil(Main &main, bool automatic);

} // namespace forms
