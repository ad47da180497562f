#pragma once

#include <QMargins>
#include <QWidget>

#include <functional>

// On Wayland Qt 6.4 frames a window with its own decoration (the "bradient"
// plugin), which draws minimise and maximise boxes whatever the window's flags
// or size. A window meant to have a title and a close box only draws its frame
// itself there, around a client area of its own.
namespace platform {

bool drawsOwnFrame();

// Seam for tests: replaces the answer of drawsOwnFrame(), such as to build a
// window as on Wayland elsewhere. Returns the previous function; an empty
// function restores the standard answer.
using FrameDrawing = std::function<bool()>;
FrameDrawing setDrawsOwnFrame(FrameDrawing answer);

// Grows the frameless `window` by the frame around a client area of
// `clientSize` and returns that client area, on which the controls belong.
QWidget *addDrawnFrame(QWidget *window, QSize clientSize);

// The frame: a title strip with the window's icon, title and close box, and a
// thin border. Dragging the strip moves the window.
class DrawnFrame : public QWidget
{
    Q_OBJECT

public:
    static constexpr QMargins Margins{3, 30, 3, 3};

    explicit DrawnFrame(QWidget *window);

    QRect closeBox() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool event(QEvent *event) override;

private:
    bool m_closing = false;
};

} // namespace platform
