#include "runtime/form.h"

#include "runtime/accessibility.h"
#include "runtime/drawn_frame.h"
#include "runtime/taskbar.h"
#include "runtime/timers.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPointer>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

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

using ColourRoles = std::vector<std::pair<QPalette::ColorRole, Colour>>;

void applyColours(QWidget *widget, const ColourRoles &roles)
{
    QPalette palette = widget->palette();
    for (const auto &[role, colour] : roles)
        palette.setColor(role, resolve(colour));
    widget->setPalette(palette);
}

// A role set on a widget's palette no longer follows the desktop palette, so
// the widgets drawn in system colours are given them again whenever that
// changes, before anything repaints.
class SystemColours : public QObject
{
public:
    static void follow(QWidget *widget, ColourRoles roles)
    {
        static QPointer<SystemColours> watcher;
        if (!watcher)
            watcher = new SystemColours(QCoreApplication::instance());
        watcher->m_widgets.emplace_back(widget, std::move(roles));
        connect(widget, &QObject::destroyed, watcher, [watcher = watcher.data(), widget] {
            std::erase_if(watcher->m_widgets,
                          [widget](const auto &entry) { return entry.first == widget; });
        });
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == parent() && event->type() == QEvent::ApplicationPaletteChange) {
            for (const auto &[widget, roles] : m_widgets)
                applyColours(widget, roles);
        }
        return false;
    }

private:
    explicit SystemColours(QObject *application)
        : QObject(application)
    {
        application->installEventFilter(this);
    }

    std::vector<std::pair<QWidget *, ColourRoles>> m_widgets;
};

void setColours(QWidget *widget, ColourRoles roles)
{
    applyColours(widget, roles);
    const bool followsDesktop = std::any_of(roles.begin(), roles.end(), [](const auto &entry) {
        return entry.second.kind == Colour::Kind::System;
    });
    if (followsDesktop)
        SystemColours::follow(widget, std::move(roles));
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

// A form takes the keyboard each time it is shown, as in the old runtime.
// Some window managers (openbox, metacity) give a tool window no focus of
// their own accord, and Qt shows one on Windows without activating it.
class ActivateWhenShown : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // Sent once show() has handed the window to the window system; on X11
        // Qt holds the request until the window is mapped.
        if (event->type() == QEvent::ShowToParent && watched == parent())
            static_cast<QWidget *>(watched)->activateWindow();
        return false;
    }
};

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
    exposeWindow(window, design);
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
    window->installEventFilter(new ActivateWhenShown(window));
    const QSize client(pixels(design.clientWidth), pixels(design.clientHeight));
    window->setFixedSize(client);
    setColours(window, {{QPalette::Window, design.back}});
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
        if (auto *widget = qobject_cast<QWidget *>(object)) {
            if (*control.accessibleName)
                widget->setAccessibleName(QString::fromUtf8(control.accessibleName));
            if (*control.description)
                widget->setAccessibleDescription(QString::fromUtf8(control.description));
        }
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
