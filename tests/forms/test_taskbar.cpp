// On a real X server (run_on_xvfb.sh) the test stands in for the window
// manager: it reads a window's state at each map request, as a window manager
// does, and removes it when the window is withdrawn. It gives no window the
// keyboard, as openbox and metacity give none to a tool window.
#include "app/deliverables.h"
#include "forms/lmf2d.h"
#include "forms/main_form.h"
#include "runtime/program.h"
#include "support/helpers.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QMessageBox>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include <xcb/xcb.h>

#include <cstring>
#include <memory>

using namespace forms;

namespace {

template<typename T>
std::unique_ptr<T, decltype(&std::free)> owned(T *reply)
{
    return {reply, &std::free};
}

class StandInWindowManager
{
public:
    explicit StandInWindowManager(xcb_window_t window)
        : m_connection(xcb_connect(nullptr, nullptr))
        , m_window(window)
    {
        // Fails, and so does the test, where another window manager runs.
        const uint32_t redirect
            = XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(
            m_connection, xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root,
            XCB_CW_EVENT_MASK, &redirect);
        const uint32_t changes = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(m_connection, window, XCB_CW_EVENT_MASK, &changes);
        m_state = atom("_NET_WM_STATE");
        m_skipTaskbar = atom("_NET_WM_STATE_SKIP_TASKBAR");
    }
    ~StandInWindowManager() { xcb_disconnect(m_connection); }
    StandInWindowManager(const StandInWindowManager &) = delete;
    StandInWindowManager &operator=(const StandInWindowManager &) = delete;

    // Answers the map request. True when the window asked to stay off the
    // taskbar by then and did not change its state later, too late for a
    // window manager.
    bool mappedOffTaskbar()
    {
        if (!waitFor(XCB_MAP_REQUEST))
            return false;
        const auto reply = owned(xcb_get_property_reply(
            m_connection,
            xcb_get_property(m_connection, 0, m_window, m_state, XCB_ATOM_ATOM, 0, 64), nullptr));
        const auto *atoms = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply.get()));
        const auto *end = atoms + xcb_get_property_value_length(reply.get()) / 4;
        bool skips = std::find(atoms, end, m_skipTaskbar) != end;
        xcb_map_window(m_connection, m_window);
        sync();
        while (const auto event = owned(xcb_poll_for_event(m_connection))) {
            if ((event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY)
                skips &= reinterpret_cast<xcb_property_notify_event_t *>(event.get())->atom
                    != m_state;
        }
        return skips;
    }

    bool withdrawn()
    {
        if (!waitFor(XCB_UNMAP_NOTIFY))
            return false;
        xcb_delete_property(m_connection, m_window, m_state);
        sync(); // before the window is shown again
        return true;
    }

private:
    void sync()
    {
        std::free(
            xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    }

    xcb_atom_t atom(const char *name)
    {
        const auto length = static_cast<uint16_t>(std::strlen(name));
        return owned(xcb_intern_atom_reply(m_connection,
                                           xcb_intern_atom(m_connection, 0, length, name), nullptr))
            ->atom;
    }

    bool waitFor(uint8_t type)
    {
        // Map requests and unmap notes both name the window after two words.
        const QDeadlineTimer deadline(5000);
        while (!deadline.hasExpired()) {
            QCoreApplication::processEvents(); // Qt's requests go out
            while (const auto event = owned(xcb_poll_for_event(m_connection))) {
                if ((event->response_type & 0x7f) == type
                    && reinterpret_cast<xcb_map_request_event_t *>(event.get())->window == m_window)
                    return true;
            }
            QTest::qSleep(2);
        }
        return false;
    }

    xcb_connection_t *m_connection;
    xcb_window_t m_window;
    xcb_atom_t m_state = XCB_ATOM_NONE;
    xcb_atom_t m_skipTaskbar = XCB_ATOM_NONE;
};

} // namespace

class TestTaskbar : public QObject
{
    Q_OBJECT

private slots:
    void offTheTaskbarAndActiveFromEveryMapping_data();
    void offTheTaskbarAndActiveFromEveryMapping();
    void keyboardBackOnTheOpenerAfterEachBox_data();
    void keyboardBackOnTheOpenerAfterEachBox();
};

void TestTaskbar::offTheTaskbarAndActiveFromEveryMapping_data()
{
    QTest::addColumn<bool>("eventDay");
    QTest::newRow("Main") << false;
    QTest::newRow("LMF2D") << true;
}

void TestTaskbar::offTheTaskbarAndActiveFromEveryMapping()
{
    QFETCH(bool, eventDay);
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    const std::unique_ptr<QWidget> window = eventDay
        ? std::unique_ptr<QWidget>(new LMF2D)
        : std::make_unique<Main>(app::deliverables::Countdown.mainLook);
    StandInWindowManager manager(static_cast<xcb_window_t>(window->winId()));

    window->show();
    QVERIFY(manager.mappedOffTaskbar());
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    // The window takes the keyboard itself: no window manager gives it here.
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Command1"));
    window->hide();
    QVERIFY(manager.withdrawn());
    window->show();
    QVERIFY(manager.mappedOffTaskbar());
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
}

void TestTaskbar::keyboardBackOnTheOpenerAfterEachBox_data()
{
    QTest::addColumn<QString>("box");
    QTest::newRow("About, Tab Tab keypad Enter") << QStringLiteral("About");
    QTest::newRow("farewell") << QStringLiteral("HEY!");
    QTest::newRow("error") << QString::fromLatin1(app::deliverables::Countdown.fileName);
}

// With no window manager, the keyboard goes to no window when a box goes:
// the opener must take it back itself. The box belongs to the opener.
void TestTaskbar::keyboardBackOnTheOpenerAfterEachBox()
{
    QFETCH(QString, box);
    QCoreApplication::setApplicationName(
        QString::fromLatin1(app::deliverables::Countdown.fileName));
    const std::unique_ptr<QWidget> window = box == u"HEY!"
        ? std::unique_ptr<QWidget>(new LMF2D)
        : std::make_unique<Main>(app::deliverables::Countdown.mainLook);
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    const SeamDouble end(runtime::setProgramEnd, [](int) {});
    BoxDismisser boxes(BoxDismisser::Press::ReturnOnceActive);
    if (box == QLatin1String(app::deliverables::Countdown.fileName)) {
        runtime::runHandler([] { runtime::raise(runtime::ErrorNumber::Overflow); });
    } else if (box == u"About") {
        // Keys from the X server, the keypad's Enter with Qt's keypad modifier.
        QCOMPARE(QProcess::execute("xdotool", {"key", "Tab", "Tab", "KP_Enter"}), 0);
        QTRY_VERIFY(!boxes.seen.isEmpty());
    } else {
        window->findChild<QAbstractButton *>("Command1")->click();
    }
    runtime::resetEnding();
    const SeenBox shown = boxes.seen.value(0);
    QCOMPARE(shown.title == box ? shown.owner : nullptr, window.get());
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
}

QTEST_MAIN(TestTaskbar)
#include "test_taskbar.moc"
