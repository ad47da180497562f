#pragma once

// Doubles of the runtime's seams, and what message boxes showed.

#include "runtime/clock.h"
#include "runtime/program.h"
#include "support/seam_double.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <memory>

// Runs the program at a chosen local time for as long as it lives.
class FakeClock
{
public:
    explicit FakeClock(QDateTime now)
        : m_now(std::make_shared<QDateTime>(std::move(now)))
        , m_clock(runtime::setClock, [now = m_now] { return *now; })
    {
    }

    void set(const QDateTime &now) { *m_now = now; }
    void advance(qint64 seconds) { *m_now = m_now->addSecs(seconds); }

private:
    std::shared_ptr<QDateTime> m_now;
    SeamDouble<runtime::Clock> m_clock;
};

inline QDateTime at(const char *local)
{
    return QDateTime::fromString(QString::fromLatin1(local), Qt::ISODate);
}

// Records error reports and the end of the program instead of showing a box
// and leaving the event loop.
class ProgramObserver
{
public:
    ~ProgramObserver() { runtime::resetEnding(); }

    QStringList reports;
    QList<int> endStatuses;

private:
    SeamDouble<runtime::ErrorReporter> m_reporter{
        runtime::setErrorReporter,
        [this](const runtime::Error &error) { reports.append(error.report()); }};
    SeamDouble<runtime::ProgramEnd> m_end{runtime::setProgramEnd,
                                          [this](int status) { endStatuses.append(status); }};
};

// The message box now shown over the program, or null.
inline QMessageBox *shownMessageBox()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    return box && box->isVisible() ? box : nullptr;
}

// What a message box showed before the test dismissed it.
struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    bool modal = false;     // modal to the whole program, not just a window
    bool plainText = false; // the prompt is never read as rich text
    const QWidget *owner = nullptr;
};

// Watches for message boxes, records each one and dismisses it, so that code
// which shows a box runs on without a user: by its OK button, or as a user
// at the keyboard would, with Return once the box has the keyboard.
class BoxDismisser : public QObject
{
public:
    enum class Press { Ok, ReturnOnceActive };

    explicit BoxDismisser(Press press = Press::Ok)
        : m_press(press)
    {
        m_poll.setInterval(2);
        connect(&m_poll, &QTimer::timeout, this, &BoxDismisser::dismiss);
        m_poll.start();
    }

    QList<SeenBox> seen;

private:
    void dismiss()
    {
        QMessageBox *box = shownMessageBox();
        if (!box || (m_press == Press::ReturnOnceActive && !box->isActiveWindow()))
            return;
        SeenBox record;
        record.title = box->windowTitle();
        record.text = box->text();
        record.icon = box->icon();
        record.modal = box->windowModality() == Qt::ApplicationModal;
        record.plainText = box->textFormat() == Qt::PlainText;
        const auto buttons = box->buttons();
        for (const QAbstractButton *button : buttons)
            record.buttons.append(button->text());
        record.owner = box->parentWidget();
        seen.append(record);
        if (m_press == Press::ReturnOnceActive)
            QTest::keyClick(box, Qt::Key_Return);
        else
            box->button(QMessageBox::Ok)->click();
    }

    Press m_press;
    QTimer m_poll;
};
