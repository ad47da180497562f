#pragma once

#include <QBasicTimer>
#include <QList>
#include <QObject>

namespace runtime {

// A timer control: while enabled, it raises its Timer event every interval.
// The ticking itself is done by a TimerRound.
class Timer : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool enabled READ isEnabled WRITE setEnabled NOTIFY enabledChanged)
    Q_PROPERTY(int interval READ interval CONSTANT)

public:
    Timer(int interval, bool enabled, QObject *parent);

    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    int interval() const { return m_interval; }

signals:
    void timer();
    void enabledChanged(bool enabled);

private:
    friend class TimerRound;
    int m_interval;
    bool m_enabled;
};

// Drives timers of one interval from a single system timer, so that a round
// of ticks costs one wakeup and the timers always tick in the order given,
// however late the round runs.
class TimerRound : public QObject
{
    Q_OBJECT

public:
    TimerRound(QList<Timer *> timersInOrder, QObject *parent);

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    void startOrStop();

    QList<Timer *> m_timers;
    QBasicTimer m_clock;
};

} // namespace runtime
