#include "runtime/accessibility.h"

#include "runtime/controls.h"

#include <QAccessibleWidget>
#include <QLabel>

namespace runtime {
namespace {

// Marks a window built from a layout table, and names the labels describing it.
constexpr const char *DescribedBy = "runtime_describedBy";

bool isExposed(const QObject *control)
{
    return qobject_cast<const QLabel *>(control) || qobject_cast<const CommandButton *>(control);
}

QList<QWidget *> exposedControls(const QWidget *window)
{
    QList<QWidget *> controls = window->findChildren<QWidget *>();
    controls.removeIf([](const QWidget *control) { return !isExposed(control); });
    return controls;
}

class WindowAccessible : public QAccessibleWidget
{
public:
    explicit WindowAccessible(QWidget *window)
        : QAccessibleWidget(window, QAccessible::Window)
    {
    }

    // What a screen reader reads after the caption when the window becomes
    // active: what it says, not only what it is called.
    QString text(QAccessible::Text kind) const override
    {
        if (kind != QAccessible::Description)
            return QAccessibleWidget::text(kind);
        QStringList texts;
        const QStringList names = widget()->property(DescribedBy).toStringList();
        for (const QString &name : names) {
            if (const auto *label = widget()->findChild<QLabel *>(name))
                texts << label->text();
        }
        return texts.join(u' ');
    }

    int childCount() const override { return static_cast<int>(exposedControls(widget()).size()); }

    QAccessibleInterface *child(int index) const override
    {
        const QList<QWidget *> controls = exposedControls(widget());
        if (index < 0 || index >= controls.size())
            return nullptr;
        return QAccessible::queryAccessibleInterface(controls.at(index));
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        QWidget *control = child ? qobject_cast<QWidget *>(child->object()) : nullptr;
        return control ? static_cast<int>(exposedControls(widget()).indexOf(control)) : -1;
    }
};

class ControlAccessible : public QAccessibleWidget
{
public:
    using QAccessibleWidget::QAccessibleWidget;

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        // Qt counts a widget beyond its parent's edges as shown, but the
        // controls of the hidden area are never seen.
        state.offscreen = !widget()->parentWidget()->rect().intersects(widget()->geometry());
        return state;
    }

    // The window, also where it draws its own frame around the client area.
    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(widget()->window());
    }
};

class ButtonAccessible : public ControlAccessible
{
public:
    explicit ButtonAccessible(CommandButton *button)
        : ControlAccessible(button, QAccessible::PushButton)
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name && button()->accessibleName().isEmpty())
            return button()->text();
        return ControlAccessible::text(kind);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = ControlAccessible::state();
        state.pressed = button()->isDown();
        return state;
    }

    QStringList actionNames() const override
    {
        return QStringList(pressAction()) + ControlAccessible::actionNames();
    }

    void doAction(const QString &action) override
    {
        if (action == pressAction())
            button()->click();
        else
            ControlAccessible::doAction(action);
    }

private:
    CommandButton *button() const { return static_cast<CommandButton *>(widget()); }
};

// A label is read as text: on request, and as part of its window. Its text
// changes are not announced.
class LabelAccessible : public ControlAccessible, public QAccessibleTextInterface
{
public:
    explicit LabelAccessible(QLabel *label)
        : ControlAccessible(label, QAccessible::StaticText)
    {
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return ControlAccessible::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty())
            return label()->text();
        return ControlAccessible::text(kind);
    }

    QString text(int start, int end) const override
    {
        return label()->text().mid(start, end - start);
    }
    int characterCount() const override { return static_cast<int>(label()->text().size()); }
    QString attributes(int, int *start, int *end) const override
    {
        *start = 0;
        *end = characterCount();
        return {};
    }
    // Nothing to select or place a cursor in.
    void selection(int, int *start, int *end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override { }
    void removeSelection(int) override { }
    void setSelection(int, int, int) override { }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override { }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override { }

private:
    QLabel *label() const { return static_cast<QLabel *>(widget()); }
};

QAccessibleInterface *accessibleFor(const QString &, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget || !widget->window()->property(DescribedBy).isValid())
        return nullptr;
    if (widget->isWindow())
        return new WindowAccessible(widget);
    if (auto *button = qobject_cast<CommandButton *>(widget))
        return new ButtonAccessible(button);
    if (auto *label = qobject_cast<QLabel *>(widget))
        return new LabelAccessible(label);
    return nullptr; // drawn: lines, shapes, frames
}

} // namespace

void exposeWindow(QWidget *window, const Window &design)
{
    static const bool installed = [] {
        QAccessible::installFactory(&accessibleFor);
        return true;
    }();
    Q_UNUSED(installed);
    QStringList describedBy;
    for (const char *name : design.describedBy) {
        if (name)
            describedBy << QString::fromLatin1(name);
    }
    window->setProperty(DescribedBy, describedBy);
}

} // namespace runtime
