#pragma once

#include "runtime/build_settings.h"

#include <QList>
#include <QWidget>

#include <array>
#include <initializer_list>

class QLabel;

namespace runtime {
class Timer;
class TimerRound;
} // namespace runtime

// The display fields: labels of the main window that hold every value of the
// program as text.
enum class Field {
    MonNum,
    CurDay,
    CurHour,
    CurMin,
    CurSec,
    EndMon1,
    EndDay,
    EndHour,
    EndMinute,
    EndSecond,
    EndMon,
    EndDays,
    Final,
};
inline constexpr std::size_t FieldCount = 13;

// The program's start-up window: a borderless black strip with the countdown
// sentence, and beyond its edges the fields, hidden buttons and timers.
class Main : public QWidget
{
    Q_OBJECT

public:
    explicit Main(const runtime::BuildSettings &build, QWidget *parent = nullptr);

    QString text(Field field) const;
    void setText(Field field, const QString &text);
    // Sets the text made of `parts` one after the other. When the field
    // already holds it nothing is built or set.
    void setText(Field field, std::initializer_list<QStringView> parts);
    static const char *fieldName(Field field);

    bool isTimer2Enabled() const;
    void setTimer2Enabled(bool enabled);

    // The controls in their creation order.
    const QList<QObject *> &controls() const { return m_controls; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void timer1Timer();
    void timer2Timer();
    void command1Click();
    void command2Click();
    void command3Click();
    void command4Click();
    void label2MouseDown();

    QList<QObject *> m_controls;
    std::array<QLabel *, FieldCount> m_fields{};
    runtime::Timer *m_timer2 = nullptr;
};
