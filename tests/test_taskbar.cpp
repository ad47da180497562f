// Runs on a real X server (run_on_xvfb.sh). The test stands in for the window
// manager: it takes each map request and reads the window's state then, as a
// window manager does, and removes the state when the window is withdrawn.
#include "deliverables.h"
#include "event_day/lmf2d.h"
#include "main_window/main.h"

#include <QDeadlineTimer>
#include <QTest>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

template<typename T>
std::unique_ptr<T, decltype(&std::free)> owned(T *reply)
{
    return {reply, &std::free};
}

class StandInWindowManager
{
public:
    StandInWindowManager()
        : m_connection(xcb_connect(nullptr, nullptr))
    {
        m_state = atom("_NET_WM_STATE");
        m_skipTaskbar = atom("_NET_WM_STATE_SKIP_TASKBAR");
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        const uint32_t mask
            = XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        m_redirected = !owned(xcb_request_check(
            m_connection,
            xcb_change_window_attributes_checked(m_connection, root, XCB_CW_EVENT_MASK, &mask)));
    }
    ~StandInWindowManager() { xcb_disconnect(m_connection); }
    StandInWindowManager(const StandInWindowManager &) = delete;
    StandInWindowManager &operator=(const StandInWindowManager &) = delete;

    bool redirected() const { return m_redirected; }

    void watchState(xcb_window_t window)
    {
        const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(m_connection, window, XCB_CW_EVENT_MASK, &mask);
        sync();
    }

    // Waits for `window`'s map request, answers it and tells whether the
    // window asked to stay off the taskbar by then: a state changed after the
    // request may come too late for a window manager.
    bool mappedOffTaskbar(xcb_window_t window)
    {
        wait(XCB_MAP_REQUEST, window);
        const bool skips = holdsSkipTaskbar(window);
        xcb_map_window(m_connection, window);
        sync();
        bool changedLater = false;
        while (const auto event = owned(xcb_poll_for_event(m_connection))) {
            if ((event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY)
                changedLater |= reinterpret_cast<xcb_property_notify_event_t *>(event.get())->atom
                    == m_state;
        }
        return skips && !changedLater;
    }

    // Waits for `window` to be unmapped and withdraws it.
    void withdraw(xcb_window_t window)
    {
        wait(XCB_UNMAP_NOTIFY, window);
        xcb_delete_property(m_connection, window, m_state);
        sync();
    }

private:
    // Whatever this connection asked for is done before the program goes on.
    void sync()
    {
        std::free(
            xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    }

    xcb_atom_t atom(const char *name)
    {
        const auto length = static_cast<uint16_t>(std::strlen(name));
        const auto reply = owned(xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, length, name), nullptr));
        return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    }

    bool holdsSkipTaskbar(xcb_window_t window)
    {
        const auto reply = owned(xcb_get_property_reply(
            m_connection, xcb_get_property(m_connection, 0, window, m_state, XCB_ATOM_ATOM, 0, 64),
            nullptr));
        if (!reply || reply->format != 32)
            return false;
        const auto *atoms = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply.get()));
        const int count = xcb_get_property_value_length(reply.get()) / 4;
        return std::find(atoms, atoms + count, m_skipTaskbar) != atoms + count;
    }

    void wait(uint8_t type, xcb_window_t window)
    {
        const QDeadlineTimer deadline(5000);
        while (!deadline.hasExpired()) {
            QCoreApplication::processEvents(); // Qt's requests go out
            while (const auto event = owned(xcb_poll_for_event(m_connection))) {
                const uint8_t got = event->response_type & 0x7f;
                if (got == XCB_MAP_REQUEST && type == got
                    && reinterpret_cast<xcb_map_request_event_t *>(event.get())->window == window)
                    return;
                if (got == XCB_UNMAP_NOTIFY && type == got
                    && reinterpret_cast<xcb_unmap_notify_event_t *>(event.get())->window == window)
                    return;
            }
            QTest::qSleep(2);
        }
        QFAIL("the window system never saw the window change");
    }

    xcb_connection_t *m_connection;
    xcb_atom_t m_state = XCB_ATOM_NONE;
    xcb_atom_t m_skipTaskbar = XCB_ATOM_NONE;
    bool m_redirected = false;
};

} // namespace

class TestTaskbar : public QObject
{
    Q_OBJECT

private slots:
    void offTheTaskbarFromEveryMapping_data();
    void offTheTaskbarFromEveryMapping();
};

void TestTaskbar::offTheTaskbarFromEveryMapping_data()
{
    QTest::addColumn<bool>("eventDay");
    QTest::newRow("Main") << false;
    QTest::newRow("LMF2D") << true;
}

void TestTaskbar::offTheTaskbarFromEveryMapping()
{
    QFETCH(bool, eventDay);
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    StandInWindowManager manager;
    QVERIFY(manager.redirected());
    std::unique_ptr<QWidget> window;
    if (eventDay)
        window = std::make_unique<LMF2D>();
    else
        window = std::make_unique<Main>(deliverables::Countdown);
    const auto id = static_cast<xcb_window_t>(window->winId());
    manager.watchState(id);

    window->show();
    QVERIFY(manager.mappedOffTaskbar(id));
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->hide();
    manager.withdraw(id);
    window->show();
    QVERIFY(manager.mappedOffTaskbar(id));
}

QTEST_MAIN(TestTaskbar)
#include "test_taskbar.moc"
