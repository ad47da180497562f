#include "runtime/platform/drawn_frame.h"

#include "runtime/platform/system_move.h"
#include "runtime/seam.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>

namespace platform {
namespace {

constexpr int BoxSize = 18;
constexpr int Spacing = 5;
constexpr int IconSize = 22;

bool onWayland()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

runtime::Seam<bool()> &frameDrawing()
{
    static runtime::Seam<bool()> seam(&onWayland);
    return seam;
}

} // namespace

bool drawsOwnFrame()
{
    return frameDrawing()();
}

FrameDrawing setDrawsOwnFrame(FrameDrawing answer)
{
    return frameDrawing().replace(std::move(answer));
}

QWidget *addDrawnFrame(QWidget *window, QSize clientSize)
{
    const QMargins &margins = DrawnFrame::Margins;
    window->setFixedSize(clientSize.grownBy(margins));
    new DrawnFrame(window);
    // Created after the frame, so that it lies above it.
    auto *client = new QWidget(window);
    client->setGeometry(QRect(QPoint(margins.left(), margins.top()), clientSize));
    client->setAutoFillBackground(true); // in the window's own background
    return client;
}

DrawnFrame::DrawnFrame(QWidget *window)
    : QWidget(window)
{
    setGeometry(window->rect());
}

QRect DrawnFrame::closeBox() const
{
    return {width() - Margins.right() - Spacing - BoxSize, (Margins.top() - BoxSize) / 2, BoxSize,
            BoxSize};
}

void DrawnFrame::paintEvent(QPaintEvent *)
{
    // The desktop's colours, not the form's own.
    const QPalette palette = QGuiApplication::palette();
    const QColor ink = palette.color(isActiveWindow() ? QPalette::Active : QPalette::Disabled,
                                     QPalette::WindowText);
    QPainter painter(this);
    painter.fillRect(rect(), palette.color(QPalette::Active, QPalette::Window));

    const QRect strip(0, 0, width(), Margins.top());
    const QIcon icon = window()->windowIcon();
    int titleLeft = Margins.left() + Spacing;
    if (!icon.isNull()) {
        icon.paint(&painter, QRect(titleLeft, (Margins.top() - IconSize) / 2, IconSize, IconSize));
        titleLeft += IconSize + Spacing;
    }
    const QRect title(titleLeft, 0, closeBox().left() - Spacing - titleLeft, Margins.top());
    painter.setPen(ink);
    painter.setClipRect(title);
    painter.drawText(strip, Qt::AlignCenter, window()->windowTitle());
    painter.setClipping(false);

    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(ink, 2));
    const QRectF cross = QRectF(closeBox()).adjusted(5, 5, -5, -5);
    painter.drawLine(cross.topLeft(), cross.bottomRight());
    painter.drawLine(cross.bottomLeft(), cross.topRight());
}

void DrawnFrame::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    m_closing = closeBox().contains(at);
    if (!m_closing && at.y() < Margins.top())
        startSystemMove(window());
}

void DrawnFrame::mouseReleaseEvent(QMouseEvent *event)
{
    // As with any close box, letting go elsewhere leaves the window open.
    if (m_closing && event->button() == Qt::LeftButton
        && closeBox().contains(event->position().toPoint())) {
        window()->close();
    }
    m_closing = false;
}

bool DrawnFrame::event(QEvent *event)
{
    // The ink follows the window's activation, which reaches a child widget
    // as these two events: ActivationChange goes to the window alone. Qt
    // redraws on them by itself only where the palette's inactive colours
    // differ from its active ones.
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::WindowDeactivate)
        update();
    return QWidget::event(event);
}

} // namespace platform
