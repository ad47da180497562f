#pragma once

// Delivers rounds to a main window as its timer round does, on the program's
// own tick path: Timer1 (clock sampling) first, then Timer2 (the countdown)
// while it is enabled. The tests and the benchmark drive the window with it.

#include "forms/main_form.h"
#include "runtime/timers.h"

class RoundDriver
{
public:
    explicit RoundDriver(forms::Main &main)
        : m_main(main)
        , m_timer1(main.findChild<runtime::Timer *>(QStringLiteral("Timer1")))
        , m_timer2(main.findChild<runtime::Timer *>(QStringLiteral("Timer2")))
    {
    }

    void round()
    {
        if (m_timer1->isEnabled())
            emit m_timer1->timer();
        if (m_timer2->isEnabled())
            emit m_timer2->timer();
    }

    forms::Main &main() const { return m_main; }

private:
    forms::Main &m_main;
    runtime::Timer *m_timer1;
    runtime::Timer *m_timer2;
};
