#include "runtime/program.h"

#include "runtime/message_box.h"
#include "runtime/seam.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

namespace runtime {
namespace {

void showReport(const Error &error)
{
    msgBox(error.report(), MsgBoxStyle::Critical, QCoreApplication::applicationName());
}

void closeAllAndExit(int status)
{
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows)
        window->close();
    QCoreApplication::exit(status);
}

Seam<void(const Error &)> &errorReporter()
{
    static Seam<void(const Error &)> seam(&showReport);
    return seam;
}

Seam<void(int)> &programEnd()
{
    static Seam<void(int)> seam(&closeAllAndExit);
    return seam;
}

// While an error is reported (a modal box, with timers still ticking) no
// other handler runs either.
enum class State { Running, Reporting, Ending };
State state = State::Running;

void report(const Error &error) noexcept
{
    state = State::Reporting;
    try {
        errorReporter()(error);
    } catch (...) {
        // Reporting failed as well; ending is all that is left.
    }
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
    programEnd()(status);
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
    return errorReporter().replace(std::move(reporter));
}

ProgramEnd setProgramEnd(ProgramEnd end)
{
    return programEnd().replace(std::move(end));
}

void resetEnding()
{
    state = State::Running;
}

} // namespace runtime
