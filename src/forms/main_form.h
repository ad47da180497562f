#pragma once

// This folder is the old program itself, written against the runtime it ran
// on. Its names are the old program's, kept on purpose so that it reads
// line by line beside the original: the windows Main and LMF2D, the
// procedures CalculateCurrentTime and CalculateTimeUntil, and the handlers
// named after their control and event (command1Click, timer1Timer, ...),
// all in namespace forms. What each control of the layout tables is on
// screen is told in docs/architecture.md.

#include "forms/fields.h"
#include "forms/main_layout.h"
#include "runtime/form.h"

#include <initializer_list>

class QLabel;

namespace runtime {
class Timer;
} // namespace runtime

namespace forms {

// The program's start-up window: a borderless black strip with the countdown
// sentence, and beyond its edges the fields, hidden buttons and timers.
class Main : public runtime::Form
{
    Q_OBJECT

public:
    explicit Main(const MainLook &look, QWidget *parent = nullptr);

    QString text(Field field) const;
    void setText(Field field, const QString &text);
    // Sets the text made of `parts` one after the other. When the field
    // already holds it nothing is built or set.
    void setText(Field field, std::initializer_list<QStringView> parts);

    bool isTimer2Enabled() const;
    void setTimer2Enabled(bool enabled);

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

    std::array<QLabel *, FieldCount> m_fields{};
    runtime::Timer *m_timer2 = nullptr;
};

} // namespace forms
