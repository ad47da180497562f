#include "runtime/errors.h"

#include "runtime/message_box.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cmath>

namespace runtime {
namespace {

QString describe(ErrorNumber number)
{
    switch (number) {
    case ErrorNumber::Overflow:
        return QStringLiteral("Overflow");
    case ErrorNumber::TypeMismatch:
        return QStringLiteral("Type mismatch");
    }
    return QStringLiteral("Application-defined or object-defined error");
}

ErrorReporter &errorReporter()
{
    static ErrorReporter reporter;
    return reporter;
}

ProgramEnd &programEnd()
{
    static ProgramEnd end;
    return end;
}

// While an error is reported (a modal box, with timers still ticking) no
// other handler runs either.
enum class State { Running, Reporting, Ending };
State state = State::Running;

void report(const Error &error) noexcept
{
    state = State::Reporting;
    try {
        if (errorReporter())
            errorReporter()(error);
        else
            msgBox(error.report(), MsgBoxStyle::Critical, QCoreApplication::applicationName());
    } catch (...) {
        // Reporting failed as well; ending is all that is left.
    }
}

void closeAllAndExit(int status)
{
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows)
        window->close();
    QCoreApplication::exit(status);
}

// Watches windows being hidden; when none is left shown, the program ends.
class LastWindowWatcher : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Hide && watched->isWidgetType()
            && static_cast<QWidget *>(watched)->isWindow()) {
            // Decide once the hide has finished.
            QTimer::singleShot(0, this, &LastWindowWatcher::endIfNoWindowIsShown);
        }
        return false;
    }

private:
    static void endIfNoWindowIsShown()
    {
        if (isEnding())
            return;
        const auto windows = QApplication::topLevelWidgets();
        for (const QWidget *window : windows) {
            const Qt::WindowType type = window->windowType();
            if (window->isVisible() && type != Qt::Popup && type != Qt::ToolTip
                && type != Qt::Desktop) {
                return;
            }
        }
        endProgram(0);
    }
};

} // namespace

Error::Error(ErrorNumber number)
    : Error(static_cast<int>(number), describe(number))
{
}

Error::Error(int number, const QString &description)
    : std::runtime_error(description.toStdString())
    , m_number(number)
    , m_description(description)
{
}

QString Error::report() const
{
    return QStringLiteral("Run-time error '%1': %2").arg(m_number).arg(m_description);
}

void raise(ErrorNumber number)
{
    throw Error(number);
}

double checked(double value)
{
    if (!std::isfinite(value))
        raise(ErrorNumber::Overflow);
    return value;
}

void runHandler(const std::function<void()> &handler) noexcept
{
    if (state != State::Running)
        return;
    try {
        handler();
        return;
    } catch (const Error &error) {
        report(error);
    } catch (const std::exception &error) {
        report(Error(51, QString::fromLocal8Bit(error.what())));
    } catch (...) {
        report(Error(51, QStringLiteral("Internal error")));
    }
    state = State::Running;
    endProgram(1);
}

void endProgram(int status)
{
    if (state == State::Ending)
        return;
    state = State::Ending;
    if (programEnd())
        programEnd()(status);
    else
        closeAllAndExit(status);
}

bool isEnding()
{
    return state == State::Ending;
}

QObject *endWhenLastWindowCloses()
{
    QGuiApplication::setQuitOnLastWindowClosed(false);
    auto *watcher = new LastWindowWatcher(qApp);
    qApp->installEventFilter(watcher);
    return watcher;
}

ErrorReporter setErrorReporter(ErrorReporter reporter)
{
    return std::exchange(errorReporter(), std::move(reporter));
}

ProgramEnd setProgramEnd(ProgramEnd end)
{
    return std::exchange(programEnd(), std::move(end));
}

void resetEnding()
{
    state = State::Running;
}

} // namespace runtime
