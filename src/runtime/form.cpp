#include "runtime/form.h"

#include "runtime/accessibility.h"
#include "runtime/platform/drawn_frame.h"
#include "runtime/platform/tool_window.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace runtime {
namespace {

// Returns the client area, where the controls go: the window itself, or
// inside the frame where the window draws its own.
QWidget *applyWindow(QWidget *window, const Window &design)
{
    exposeWindow(window, design);
    window->setWindowTitle(QString::fromUtf8(design.caption));
    const bool drawnFrame = design.border != Border::None && platform::drawsOwnFrame();
    platform::makeToolWindow(window, design.border != Border::None && !drawnFrame);
    const QSize client(pixels(design.clientWidth), pixels(design.clientHeight));
    window->setFixedSize(client);
    setColours(window, {{QPalette::Window, design.back}});
    window->setAutoFillBackground(true);
    return drawnFrame ? platform::addDrawnFrame(window, client) : window;
}

void chainFocus(std::vector<std::pair<int, QWidget *>> focusable)
{
    if (focusable.empty())
        return;
    std::stable_sort(focusable.begin(), focusable.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    for (std::size_t i = 1; i < focusable.size(); ++i)
        QWidget::setTabOrder(focusable[i - 1].second, focusable[i].second);
    focusable.front().second->setFocus(Qt::OtherFocusReason);
}

} // namespace

Form::Form(const Window &design, std::span<const Control> controls, QWidget *parent)
    : QWidget(parent)
{
    QWidget *const client = applyWindow(this, design);
    m_controls.reserve(static_cast<qsizetype>(controls.size()));
    std::vector<std::pair<int, QWidget *>> focusable;
    for (const Control &row : controls) {
        QObject *created = createControl(client, row);
        if (row.kind == ControlKind::Button)
            focusable.emplace_back(row.tabIndex, static_cast<QWidget *>(created));
        m_controls.append(created);
    }
    // Buttons are windows of their own and always lie above drawn controls.
    for (const auto &[tabIndex, button] : focusable)
        button->raise();
    chainFocus(std::move(focusable));
}

QObject *Form::namedControl(const char *name, const QMetaObject *type) const
{
    const auto found = std::find_if(m_controls.begin(), m_controls.end(), [name](QObject *c) {
        return c->objectName() == QLatin1String(name);
    });
    if (found == m_controls.end() || !type->cast(*found))
        qFatal("%s has no control %s of type %s", metaObject()->className(), name,
               type->className());
    return *found;
}

} // namespace runtime
