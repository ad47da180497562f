#include "runtime/controls.h"

#include "runtime/timers.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace runtime {
namespace {

QRect box(const Control &control)
{
    const int left = pixels(control.left);
    const int top = pixels(control.top);
    return {left, top, pixels(control.left + control.width) - left,
            pixels(control.top + control.height) - top};
}

void place(QWidget *widget, const QRect &geometry)
{
    widget->setGeometry(geometry);
    // A fixed size also spares the form a relayout whenever a caption changes.
    widget->setFixedSize(geometry.size());
}

QLabel *createLabel(QWidget *form, const Control &control)
{
    auto *label = new QLabel(QString::fromUtf8(control.caption), form);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    label->setIndent(0);
    label->setFont(toQFont(control.font));
    setColours(label, {{QPalette::Window, control.back}, {QPalette::WindowText, control.fore}});
    label->setAutoFillBackground(!control.transparent);
    place(label, box(control));
    return label;
}

CommandButton *createButton(QWidget *form, const Control &control)
{
    auto *button = new CommandButton(QString::fromUtf8(control.caption), form);
    button->setFont(toQFont(control.font));
    button->setFlat(control.flat);
    setColours(button, {{QPalette::Button, control.back}, {QPalette::ButtonText, control.fore}});
    button->setFocusPolicy(Qt::StrongFocus);
    place(button, box(control));
    return button;
}

Line *createLine(QWidget *form, const Control &control)
{
    const QPoint from(pixels(control.from.x), pixels(control.from.y));
    const QPoint to(pixels(control.to.x), pixels(control.to.y));
    return new Line(from, to, control.fore, control.borderWidth, form);
}

Shape *createShape(QWidget *form, const Control &control)
{
    auto *shape = new Shape(control.fore, control.borderWidth, form);
    place(shape, box(control));
    return shape;
}

QObject *createObject(QWidget *form, const Control &control)
{
    switch (control.kind) {
    case ControlKind::Button:
        return createButton(form, control);
    case ControlKind::Label:
        return createLabel(form, control);
    case ControlKind::Timer:
        return new Timer(control.interval, control.enabled, form);
    case ControlKind::Line:
        return createLine(form, control);
    case ControlKind::Shape:
        return createShape(form, control);
    }
    return nullptr;
}

} // namespace

int pixels(int twips)
{
    return static_cast<int>(std::lround(static_cast<double>(twips) / TwipsPerPixel));
}

QFont toQFont(const Font &font)
{
    QFont result(QString::fromUtf8(font.face));
    result.setPointSizeF(font.points);
    result.setWeight(static_cast<QFont::Weight>(font.weight));
    result.setItalic(false);
    result.setUnderline(false);
    result.setStrikeOut(false);
    return result;
}

QObject *createControl(QWidget *form, const Control &design)
{
    QObject *object = createObject(form, design);
    object->setObjectName(QString::fromUtf8(design.name));
    if (auto *widget = qobject_cast<QWidget *>(object)) {
        if (*design.accessibleName)
            widget->setAccessibleName(QString::fromUtf8(design.accessibleName));
        if (*design.description)
            widget->setAccessibleDescription(QString::fromUtf8(design.description));
    }
    return object;
}

void CommandButton::keyPressEvent(QKeyEvent *event)
{
    // The keypad's Enter comes with the keypad modifier on X11 and Windows.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        click();
        return;
    }
    QPushButton::keyPressEvent(event);
}

void CommandButton::paintEvent(QPaintEvent *event)
{
    QPushButton::paintEvent(event);
    // As on Windows, the mark shows once the keyboard has moved the focus in
    // the window: a click leaves the button looking as it always did.
    if (!hasFocus() || !window()->testAttribute(Qt::WA_KeyboardFocusChange))
        return;
    // The old runtime's focus mark: a rectangle of every other pixel, three
    // pixels inside the edge, in the button's text colour.
    QPainter painter(this);
    QPen dotted(palette().color(QPalette::ButtonText), 0);
    dotted.setDashPattern({1, 1});
    painter.setPen(dotted);
    painter.drawRect(rect().adjusted(3, 3, -4, -4));
}

Line::Line(QPoint from, QPoint to, Colour colour, int width, QWidget *parent)
    : QWidget(parent)
    , m_from(from)
    , m_to(to)
    , m_colour(colour)
    , m_width(std::max(width, 1))
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    const QRect bounds
        = QRect(from, to).normalized().adjusted(-m_width, -m_width, m_width, m_width);
    place(this, bounds);
}

void Line::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPoint start = m_from - pos();
    const QPoint end = m_to - pos();
    // Level and upright lines fill their band, which the painter scales with
    // the rest of the window; a stroked line of one pixel would stay one device
    // pixel at any scale. The band is the pixels a flat-capped line covers.
    if (start.y() == end.y()) {
        const QRect band(std::min(start.x(), end.x()), start.y() - m_width / 2,
                         std::abs(end.x() - start.x()), m_width);
        painter.fillRect(band, colour());
    } else if (start.x() == end.x()) {
        const QRect band(start.x() - m_width / 2, std::min(start.y(), end.y()), m_width,
                         std::abs(end.y() - start.y()));
        painter.fillRect(band, colour());
    } else {
        painter.setPen(QPen(colour(), m_width, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(start, end);
    }
}

Shape::Shape(Colour outline, int width, QWidget *parent)
    : QWidget(parent)
    , m_colour(outline)
    , m_width(std::max(width, 1))
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Shape::paintEvent(QPaintEvent *)
{
    // The outline lies inside the box, as wide as asked. Filled bands meet the
    // box's edges and each other at any scale, where stroked rectangles leave
    // gaps of a device pixel.
    QPainter painter(this);
    const QColor outline = colour();
    painter.fillRect(0, 0, width(), m_width, outline);
    painter.fillRect(0, height() - m_width, width(), m_width, outline);
    painter.fillRect(0, 0, m_width, height(), outline);
    painter.fillRect(width() - m_width, 0, m_width, height(), outline);
}

} // namespace runtime
