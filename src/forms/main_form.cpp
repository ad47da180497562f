#include "forms/main_form.h"

#include "forms/countdown.h"
#include "runtime/message_box.h"
#include "runtime/platform/system_move.h"
#include "runtime/program.h"
#include "runtime/timers.h"

#include <QAbstractButton>
#include <QEvent>
#include <QLabel>

namespace forms {
namespace {

const QString AboutPrompt = QStringLiteral(
    "I, Perrin Vask, made this program because I was stoked about Lantern Moss Fair and I "
    "wanted to know how long it would be from now. This was compiled at 6:07pm on March 5, "
    "2012.");

} // namespace

Main::Main(const MainLook &look, QWidget *parent)
    : Form(MainWindow, mainControls(look), parent)
{
    for (std::size_t i = 0; i < FieldCount; ++i)
        m_fields[i] = control<QLabel>(FieldNames[i].data());

    auto *timer1 = control<runtime::Timer>("Timer1");
    m_timer2 = control<runtime::Timer>("Timer2");
    connect(timer1, &runtime::Timer::timer, this, &Main::timer1Timer);
    connect(m_timer2, &runtime::Timer::timer, this, &Main::timer2Timer);
    // The countdown reads what clock sampling wrote, so Timer1 ticks first in
    // every round, from the very first one on.
    new runtime::TimerRound({timer1, m_timer2}, this);

    connect(control<QAbstractButton>("Command1"), &QAbstractButton::clicked, this,
            &Main::command1Click);
    connect(control<QAbstractButton>("Command2"), &QAbstractButton::clicked, this,
            &Main::command2Click);
    connect(control<QAbstractButton>("Command3"), &QAbstractButton::clicked, this,
            &Main::command3Click);
    connect(control<QAbstractButton>("Command4"), &QAbstractButton::clicked, this,
            &Main::command4Click);
    control<QLabel>("Label2")->installEventFilter(this);
}

QString Main::text(Field field) const
{
    return m_fields[static_cast<std::size_t>(field)]->text();
}

void Main::setText(Field field, const QString &text)
{
    QLabel *label = m_fields[static_cast<std::size_t>(field)];
    if (label->text() != text)
        label->setText(text);
}

void Main::setText(Field field, std::initializer_list<QStringView> parts)
{
    QLabel *label = m_fields[static_cast<std::size_t>(field)];
    const QString current = label->text();
    QStringView rest = current;
    bool same = true;
    qsizetype size = 0;
    for (const QStringView part : parts) {
        size += part.size();
        if (same && rest.startsWith(part))
            rest = rest.sliced(part.size());
        else
            same = false;
    }
    if (same && rest.isEmpty())
        return;
    QString joined;
    joined.reserve(size);
    for (const QStringView part : parts)
        joined.append(part);
    label->setText(joined);
}

bool Main::isTimer2Enabled() const
{
    return m_timer2->isEnabled();
}

void Main::setTimer2Enabled(bool enabled)
{
    m_timer2->setEnabled(enabled);
}

bool Main::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        label2MouseDown();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void Main::timer1Timer()
{
    runtime::runHandler([this] { CalculateCurrentTime(*this); });
}

void Main::timer2Timer()
{
    runtime::runHandler([this] { CalculateTimeUntil(*this, true); });
}

void Main::command1Click()
{
    runtime::runHandler([this] { CalculateCurrentTime(*this); });
}

void Main::command2Click()
{
    runtime::runHandler([this] { CalculateTimeUntil(*this, false); });
}

void Main::command3Click()
{
    runtime::runHandler([] {
        runtime::msgBox(AboutPrompt, runtime::MsgBoxStyle::Information, QStringLiteral("About"));
    });
}

void Main::command4Click()
{
    runtime::runHandler([] { runtime::endProgram(0); });
}

void Main::label2MouseDown()
{
    // Which button, the modifiers and the position do not matter.
    runtime::runHandler([this] { platform::startSystemMove(this); });
}

} // namespace forms
