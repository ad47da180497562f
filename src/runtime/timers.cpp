#include "runtime/timers.h"

#include <QTimerEvent>

#include <algorithm>

namespace runtime {

Timer::Timer(int interval, bool enabled, QObject *parent)
    : QObject(parent)
    , m_interval(interval)
    , m_enabled(enabled)
{
}

void Timer::setEnabled(bool enabled)
{
    if (m_enabled == enabled)
        return;
    m_enabled = enabled;
    emit enabledChanged(enabled);
}

TimerRound::TimerRound(QList<Timer *> timersInOrder, QObject *parent)
    : QObject(parent)
    , m_timers(std::move(timersInOrder))
{
    Q_ASSERT(!m_timers.isEmpty());
    Q_ASSERT(std::all_of(m_timers.cbegin(), m_timers.cend(), [this](const Timer *timer) {
        return timer->interval() == m_timers.first()->interval();
    }));
    for (Timer *timer : std::as_const(m_timers))
        connect(timer, &Timer::enabledChanged, this, &TimerRound::startOrStop);
    startOrStop();
}

void TimerRound::startOrStop()
{
    const bool anyEnabled = std::any_of(m_timers.cbegin(), m_timers.cend(),
                                        [](const Timer *timer) { return timer->isEnabled(); });
    if (anyEnabled && !m_clock.isActive())
        m_clock.start(m_timers.first()->interval(), Qt::CoarseTimer, this);
    else if (!anyEnabled)
        m_clock.stop();
}

void TimerRound::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_clock.timerId()) {
        QObject::timerEvent(event);
        return;
    }
    for (Timer *timer : std::as_const(m_timers)) {
        if (timer->isEnabled())
            emit timer->timer();
    }
}

} // namespace runtime
