#pragma once

#include "runtime/colours.h"
#include "runtime/layout.h"

#include <QFont>
#include <QPoint>
#include <QPushButton>
#include <QWidget>

// The controls of the old forms, made from their rows in a layout table.
namespace runtime {

inline constexpr int TwipsPerPixel = 15;

int pixels(int twips);
QFont toQFont(const Font &font);

// Creates the control `design` describes on `form`, named as in the table.
QObject *createControl(QWidget *form, const Control &design);

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
