#pragma once

#include "runtime/clock.h"
#include "runtime/platform/system_move.h"
#include "runtime/program.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPalette>
#include <QTimer>

#include <memory>

// Runs the program at a chosen local time for as long as it lives.
class FakeClock
{
public:
    explicit FakeClock(QDateTime now)
        : m_now(std::make_shared<QDateTime>(std::move(now)))
    {
        m_previous = runtime::setClock([now = m_now] { return *now; });
    }
    ~FakeClock() { runtime::setClock(m_previous); }
    FakeClock(const FakeClock &) = delete;
    FakeClock &operator=(const FakeClock &) = delete;

    void set(const QDateTime &now) { *m_now = now; }
    void advance(qint64 seconds) { *m_now = m_now->addSecs(seconds); }
    QDateTime now() const { return *m_now; }

private:
    std::shared_ptr<QDateTime> m_now;
    runtime::Clock m_previous;
};

inline QDateTime at(const char *local)
{
    return QDateTime::fromString(QString::fromLatin1(local), Qt::ISODate);
}

// A palette whose every colour differs: red tells the group, green the role.
inline QPalette distinctPalette()
{
    QPalette palette;
    for (int group = 0; group < QPalette::NColorGroups; ++group) {
        for (int role = 0; role < QPalette::NColorRoles; ++role)
            palette.setColor(QPalette::ColorGroup(group), QPalette::ColorRole(role),
                             QColor(40 + 60 * group, 10 + 10 * role, 99));
    }
    return palette;
}

// The first shown top-level window of type T, or null.
template<typename T>
T *shownWindow()
{
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (auto *found = qobject_cast<T *>(window); found && found->isVisible())
            return found;
    }
    return nullptr;
}

// Records error reports and the end of the program instead of showing a box
// and leaving the event loop.
class ProgramObserver
{
public:
    ProgramObserver()
    {
        m_previousReporter = runtime::setErrorReporter(
            [this](const runtime::Error &error) { reports.append(error.report()); });
        m_previousEnd = runtime::setProgramEnd([this](int status) { endStatuses.append(status); });
    }
    ~ProgramObserver()
    {
        runtime::setErrorReporter(m_previousReporter);
        runtime::setProgramEnd(m_previousEnd);
        runtime::resetEnding();
    }
    ProgramObserver(const ProgramObserver &) = delete;
    ProgramObserver &operator=(const ProgramObserver &) = delete;

    QStringList reports;
    QList<int> endStatuses;

private:
    runtime::ErrorReporter m_previousReporter;
    runtime::ProgramEnd m_previousEnd;
};

// What a message box showed before the test dismissed it.
struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    bool modal = false;     // modal to the whole program, not just a window
    bool plainText = false; // the prompt is never read as rich text
};

// Watches for modal message boxes, records each one and presses its OK
// button, so that code which shows a box runs on without a user.
class BoxDismisser : public QObject
{
public:
    BoxDismisser()
    {
        m_poll.setInterval(2);
        connect(&m_poll, &QTimer::timeout, this, &BoxDismisser::dismiss);
        m_poll.start();
    }

    QList<SeenBox> seen;

private:
    void dismiss()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
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
        seen.append(record);
        box->button(QMessageBox::Ok)->click();
    }

    QTimer m_poll;
};
