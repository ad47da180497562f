#pragma once

#include "runtime/layout.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QPalette>
#include <QPoint>
#include <QPushButton>
#include <QWidget>

#include <span>

// Builds windows from layout tables.
namespace runtime {

inline constexpr int TwipsPerPixel = 15;

int pixels(int twips);
QFont toQFont(const Font &font);
// The role of the desktop palette that a numbered system colour takes.
QPalette::ColorRole systemColourRole(unsigned index);
QColor resolve(const Colour &colour);

// Gives `window` the caption, frame, client size and background of `design`,
// shows it to screen readers and has it take the keyboard whenever shown.
// Returns the client area, where the controls go: the window itself, or
// inside the frame where the window draws its own.
[[nodiscard]] QWidget *applyWindow(QWidget *window, const Window &design);

// Creates `controls` on `form` in the table's order and returns them in that
// order. Each control's objectName is its name in the table. Buttons are
// stacked above the drawn controls (labels, lines, shapes), the focus cycles
// through the buttons by tab index and starts on the lowest one.
QList<QObject *> createControls(QWidget *form, std::span<const Control> controls);

// A button that also answers Enter while it has the focus, as buttons did
// in the old forms, dialog or not, and marks the focus as they did.
class CommandButton : public QPushButton
{
    Q_OBJECT

public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};

// A straight line between two points, `width` pixels thick.
class Line : public QWidget
{
    Q_OBJECT

public:
    Line(QPoint from, QPoint to, Colour colour, int width, QWidget *parent);

    QPoint from() const { return m_from; }
    QPoint to() const { return m_to; }
    QColor colour() const { return resolve(m_colour); }
    int lineWidth() const { return m_width; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPoint m_from; // in the form's pixels
    QPoint m_to;
    Colour m_colour;
    int m_width;
};

// An unfilled rectangle whose outline lies inside its box.
class Shape : public QWidget
{
    Q_OBJECT

public:
    Shape(Colour outline, int width, QWidget *parent);

    QColor colour() const { return resolve(m_colour); }
    int lineWidth() const { return m_width; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Colour m_colour;
    int m_width;
};

} // namespace runtime
