#pragma once

// What the main window's fields must hold after each round of its timers,
// worked out from the countdown's rules independently of the program
// (round_driver.h delivers the rounds), and the suites that run rounds.

#include "app/deliverables.h"
#include "forms/main_form.h"
#include "support/helpers.h"
#include "support/round_driver.h"
#include "support/shown_windows.h"

#include <QDateTime>
#include <QObject>

#include <array>

// The fields of a fresh main window, round after round.
class CountdownRules
{
public:
    CountdownRules()
    {
        for (std::size_t i = 0; i < forms::FieldCount; ++i)
            m_fields[i] = QString::fromLatin1(forms::FieldNames[i]);
    }

    // One round with the clock reading `now`.
    void round(const QDateTime &now)
    {
        const QDate date = now.date();
        const QTime time = now.time();
        set(forms::Field::MonNum, QString::number(date.month()));
        set(forms::Field::CurDay, QString::number(date.day()));
        set(forms::Field::CurHour, QString::number(time.hour()));
        set(forms::Field::CurMin, QString::number(time.minute()));
        set(forms::Field::CurSec, QString::number(time.second()));
        if (!m_counting)
            return; // the countdown stopped on the event day

        set(forms::Field::EndMon1, QString::number(4 - date.month()));
        set(forms::Field::EndDay, QString::number(13 - date.day()));
        set(forms::Field::EndHour, QString::number(24 - time.hour()) + QStringLiteral(" Hours "));
        set(forms::Field::EndMinute,
            QString::number(60 - time.minute()) + QStringLiteral(" Minutes "));
        set(forms::Field::EndSecond,
            QString::number(60 - time.second()) + QStringLiteral(" Seconds "));
        // Days to go are only known in March and April; otherwise they stay.
        if (date.month() == 4)
            set(forms::Field::EndMon, QString::number(13 - date.day()));
        else if (date.month() == 3)
            set(forms::Field::EndMon, QString::number(13 - date.day() + 31));
        if (text(forms::Field::EndMon) == u"0") {
            ++m_eventDays;
            m_counting = false;
        }
        set(forms::Field::EndDays, text(forms::Field::EndMon) + QStringLiteral(" days "));
        set(forms::Field::Final,
            QStringLiteral("It is ") + text(forms::Field::EndDays) + text(forms::Field::EndHour)
                + text(forms::Field::EndMinute) + QStringLiteral(" and ")
                + text(forms::Field::EndSecond));
    }

    const QString &text(forms::Field field) const
    {
        return m_fields[static_cast<std::size_t>(field)];
    }
    int eventDays() const { return m_eventDays; }

    // The first field of `main` that differs from the rules, as a message;
    // empty when every field and the state of the countdown agree.
    QString mismatch(const forms::Main &main) const
    {
        for (std::size_t i = 0; i < forms::FieldCount; ++i) {
            const auto field = static_cast<forms::Field>(i);
            if (main.text(field) != m_fields[i]) {
                return QStringLiteral("%1 is \"%2\", the rules give \"%3\"")
                    .arg(QLatin1StringView(forms::fieldName(field)), main.text(field), m_fields[i]);
            }
        }
        if (main.isTimer2Enabled() != m_counting)
            return m_counting ? QStringLiteral("the countdown stopped")
                              : QStringLiteral("the countdown goes on");
        return {};
    }

private:
    void set(forms::Field field, QString text)
    {
        m_fields[static_cast<std::size_t>(field)] = std::move(text);
    }

    std::array<QString, forms::FieldCount> m_fields;
    bool m_counting = true;
    int m_eventDays = 0;
};

// A suite whose test functions may leave the event-day window open.
class CountdownSuite : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { closeEventDayWindows(); }
};

inline QString failure(const QDateTime &now, const QString &what)
{
    return now.toString(Qt::ISODate) + QStringLiteral(": ") + what;
}

// One run of the program: a fresh main window, shown, with its round driver
// and the rules it must follow.
struct Run {
    explicit Run(const app::BuildSettings &build)
        : main(build.mainLook)
        , driver(main)
    {
        main.show();
    }

    forms::Main main;
    RoundDriver driver;
    CountdownRules rules;
};

// Runs one round at `now`: how the window or the event-day windows differ
// from the rules, as a failure message, or nothing.
inline QString roundDiffers(FakeClock &clock, Run &run, const QDateTime &now)
{
    clock.set(now);
    run.driver.round();
    run.rules.round(now);
    QString wrong = run.rules.mismatch(run.main);
    if (wrong.isEmpty() && shownEventDayWindows() != run.rules.eventDays())
        wrong = QStringLiteral("%1 event-day windows").arg(shownEventDayWindows());
    return wrong.isEmpty() ? wrong : failure(now, wrong);
}
