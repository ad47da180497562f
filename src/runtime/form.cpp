#include "runtime/form.h"

#include "runtime/drawn_frame.h"
#include "runtime/taskbar.h"
#include "runtime/timers.h"

#include <QGuiApplication>
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

void setColours(QWidget *widget, const Colour &back, const Colour &fore)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, resolve(back));
    palette.setColor(QPalette::WindowText, resolve(fore));
    widget->setPalette(palette);
}

QLabel *createLabel(QWidget *form, const Control &control)
{
    auto *label = new QLabel(QString::fromUtf8(control.caption), form);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    label->setIndent(0);
    label->setFont(toQFont(control.font));
    setColours(label, control.back, control.fore);
    label->setAutoFillBackground(!control.transparent);
    place(label, box(control));
    return label;
}

CommandButton *createButton(QWidget *form, const Control &control)
{
    auto *button = new CommandButton(QString::fromUtf8(control.caption), form);
    button->setFont(toQFont(control.font));
    button->setFlat(control.flat);
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

void chainFocus(const std::vector<std::pair<int, QWidget *>> &focusable)
{
    if (focusable.empty())
        return;
    auto ordered = focusable;
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    for (std::size_t i = 1; i < ordered.size(); ++i)
        QWidget::setTabOrder(ordered[i - 1].second, ordered[i].second);
    ordered.front().second->setFocus(Qt::OtherFocusReason);
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

QPalette::ColorRole systemColourRole(unsigned index)
{
    switch (index) {
    case 2: // active title bar
        return QPalette::Highlight;
    case 5: // window background
        return QPalette::Base;
    case 9: // active title bar text
        return QPalette::HighlightedText;
    case 10: // active border: the nearest a desktop palette has
    case 15: // button face
        return QPalette::Button;
    case 18: // button text
        return QPalette::ButtonText;
    default:
        // Never Window: a form's background is set through that role.
        return QPalette::Button;
    }
}

QColor resolve(const Colour &colour)
{
    if (colour.kind == Colour::Kind::Rgb)
        return QColor::fromRgb(colour.value);
    // A system colour is the same whether or not the window is active.
    return QGuiApplication::palette().color(QPalette::Active, systemColourRole(colour.value));
}

QWidget *applyWindow(QWidget *window, const Window &design)
{
    window->setWindowTitle(QString::fromUtf8(design.caption));
    const bool drawnFrame = design.border != Border::None && drawsOwnFrame();
    // Tool windows get no taskbar button.
    Qt::WindowFlags flags = Qt::Tool;
    if (design.border == Border::None || drawnFrame) {
        flags |= Qt::FramelessWindowHint;
    } else {
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowCloseButtonHint;
    }
    window->setWindowFlags(flags);
    keepOffTaskbar(window);
    const QSize client(pixels(design.clientWidth), pixels(design.clientHeight));
    window->setFixedSize(client);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, resolve(design.back));
    window->setPalette(palette);
    window->setAutoFillBackground(true);
    return drawnFrame ? addDrawnFrame(window, client) : window;
}

QList<QObject *> createControls(QWidget *form, std::span<const Control> controls)
{
    QList<QObject *> created;
    created.reserve(static_cast<qsizetype>(controls.size()));
    std::vector<std::pair<int, QWidget *>> focusable;
    std::vector<QWidget *> buttons;
    for (const Control &control : controls) {
        QObject *object = nullptr;
        switch (control.kind) {
        case ControlKind::Button: {
            QWidget *button = createButton(form, control);
            focusable.emplace_back(control.tabIndex, button);
            buttons.push_back(button);
            object = button;
            break;
        }
        case ControlKind::Label:
            object = createLabel(form, control);
            break;
        case ControlKind::Timer:
            object = new Timer(control.interval, control.enabled, form);
            break;
        case ControlKind::Line:
            object = createLine(form, control);
            break;
        case ControlKind::Shape:
            object = createShape(form, control);
            break;
        }
        object->setObjectName(QString::fromUtf8(control.name));
        created.append(object);
    }
    // Buttons are windows of their own and always lie above drawn controls.
    for (QWidget *button : buttons)
        button->raise();
    chainFocus(focusable);
    return created;
}

void CommandButton::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && event->modifiers() == Qt::NoModifier) {
        click();
        return;
    }
    QPushButton::keyPressEvent(event);
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
    QPen pen(colour(), m_width, Qt::SolidLine, Qt::FlatCap);
    if (m_width == 1)
        pen.setCosmetic(true);
    painter.setPen(pen);
    painter.drawLine(m_from - pos(), m_to - pos());
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
    QPainter painter(this);
    // The outline is drawn inside the box, as wide as asked.
    for (int i = 0; i < m_width; ++i) {
        painter.setPen(QPen(colour(), 1));
        painter.drawRect(rect().adjusted(i, i, -1 - i, -1 - i));
    }
}

} // namespace runtime
