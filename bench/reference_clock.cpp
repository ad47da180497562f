// The bare Qt reference clock the benchmark compares the program with: one
// frameless 282 x 146 window holding one QLabel, set from the clock by one
// 1000 ms QTimer. Nothing else.
//
// With "--tick 100" the timer ticks every 100 ms instead and the label is set
// only when the text changes: the floor of faithful 10 Hz ticking, which
// bench/compare.sh runs as C when FLOOR is set.
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QTime>
#include <QTimer>

#include <cstdlib>

namespace {

// The same start-up hook as the program's (TALLYBELL_EXIT_AFTER_FIRST_FRAME).
class ExitAfterFirstFrame : public QObject
{
protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            QMetaObject::invokeMethod(
                this, [] { std::_Exit(0); }, Qt::QueuedConnection);
        return false;
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const qsizetype tick = arguments.indexOf(QStringLiteral("--tick"));
    const int interval
        = tick > 0 && tick + 1 < arguments.size() ? arguments[tick + 1].toInt() : 1000;

    QLabel label;
    label.setWindowFlags(Qt::FramelessWindowHint);
    label.setFixedSize(282, 146);
    const auto showTime = [&label] {
        const QString text = QTime::currentTime().toString();
        if (text != label.text())
            label.setText(text);
    };
    showTime();

    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, &label, showTime);
    timer.start(interval > 0 ? interval : 1000);

    ExitAfterFirstFrame exitAfterFirstFrame;
    if (qEnvironmentVariableIsSet("TALLYBELL_EXIT_AFTER_FIRST_FRAME"))
        label.installEventFilter(&exitAfterFirstFrame);
    label.show();
    return QApplication::exec();
}
