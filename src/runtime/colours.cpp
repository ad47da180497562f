#include "runtime/colours.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>

#include <algorithm>

namespace runtime {
namespace {

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

} // namespace

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

void setColours(QWidget *widget, ColourRoles roles)
{
    applyColours(widget, roles);
    const bool followsDesktop = std::any_of(roles.begin(), roles.end(), [](const auto &entry) {
        return entry.second.kind == Colour::Kind::System;
    });
    if (followsDesktop)
        SystemColours::follow(widget, std::move(roles));
}

} // namespace runtime
