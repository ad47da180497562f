// The bare Qt reference clock the benchmark compares the program with: one
// frameless 282 x 146 window holding one QLabel, set from the clock by one
// 1000 ms QTimer. Nothing else.
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QTime>
#include <QTimer>

#include <cstdlib>

namespace {

// The same start-up hook as the program's (TALLYBELL_EXIT_AFTER_FIRST_FRAME).
class ExitAfterFirstFrame : public QObject {
protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            QMetaObject::invokeMethod(this, [] { std::_Exit(0); }, Qt::QueuedConnection);
        return false;
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);

    QLabel label;
    label.setWindowFlags(Qt::FramelessWindowHint);
    label.setFixedSize(282, 146);
    const auto showTime = [&label] { label.setText(QTime::currentTime().toString()); };
    showTime();

    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, &label, showTime);
    timer.start(1000);

    ExitAfterFirstFrame exitAfterFirstFrame;
    if (qEnvironmentVariableIsSet("TALLYBELL_EXIT_AFTER_FIRST_FRAME"))
        label.installEventFilter(&exitAfterFirstFrame);
    label.show();
    return QApplication::exec();
}
