#pragma once

// What the main window's fields must hold after each round of its timers,
// worked out from the countdown's rules independently of the program
// (round_driver.h delivers the rounds).

#include "forms/main_form.h"

#include <QDateTime>

#include <array>

// The fields of a fresh main window, round after round.
class CountdownRules
{
public:
    CountdownRules()
    {
        for (std::size_t i = 0; i < FieldCount; ++i)
            m_fields[i] = QString::fromLatin1(FieldNames[i]);
    }

    // One round with the clock reading `now`.
    void round(const QDateTime &now)
    {
        const QDate date = now.date();
        const QTime time = now.time();
        set(Field::MonNum, QString::number(date.month()));
        set(Field::CurDay, QString::number(date.day()));
        set(Field::CurHour, QString::number(time.hour()));
        set(Field::CurMin, QString::number(time.minute()));
        set(Field::CurSec, QString::number(time.second()));
        if (!m_counting)
            return; // the countdown stopped on the event day

        set(Field::EndMon1, QString::number(4 - date.month()));
        set(Field::EndDay, QString::number(13 - date.day()));
        set(Field::EndHour, QString::number(24 - time.hour()) + QStringLiteral(" Hours "));
        set(Field::EndMinute, QString::number(60 - time.minute()) + QStringLiteral(" Minutes "));
        set(Field::EndSecond, QString::number(60 - time.second()) + QStringLiteral(" Seconds "));
        // Days to go are only known in March and April; otherwise they stay.
        if (date.month() == 4)
            set(Field::EndMon, QString::number(13 - date.day()));
        else if (date.month() == 3)
            set(Field::EndMon, QString::number(13 - date.day() + 31));
        if (text(Field::EndMon) == u"0") {
            ++m_eventDays;
            m_counting = false;
        }
        set(Field::EndDays, text(Field::EndMon) + QStringLiteral(" days "));
        set(Field::Final,
            QStringLiteral("It is ") + text(Field::EndDays) + text(Field::EndHour)
                + text(Field::EndMinute) + QStringLiteral(" and ") + text(Field::EndSecond));
    }

    const QString &text(Field field) const { return m_fields[static_cast<std::size_t>(field)]; }
    bool isCounting() const { return m_counting; }
    int eventDays() const { return m_eventDays; }

    // The first field of `main` that differs from the rules, as a message;
    // empty when every field and the state of the countdown agree.
    QString mismatch(const Main &main) const
    {
        for (std::size_t i = 0; i < FieldCount; ++i) {
            const auto field = static_cast<Field>(i);
            if (main.text(field) != m_fields[i]) {
                return QStringLiteral("%1 is \"%2\", the rules give \"%3\"")
                    .arg(QLatin1StringView(fieldName(field)), main.text(field), m_fields[i]);
            }
        }
        if (main.isTimer2Enabled() != m_counting)
            return m_counting ? QStringLiteral("the countdown stopped")
                              : QStringLiteral("the countdown goes on");
        return {};
    }

private:
    void set(Field field, QString text)
    {
        m_fields[static_cast<std::size_t>(field)] = std::move(text);
    }

    std::array<QString, FieldCount> m_fields;
    bool m_counting = true;
    int m_eventDays = 0;
};
