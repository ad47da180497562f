#pragma once

#include "runtime/controls.h"
#include "runtime/layout.h"

#include <QList>
#include <QWidget>

#include <span>

namespace runtime {

// A window built from a layout table, as the old runtime made its forms: the
// window has the table's caption, frame, client size and background, shows
// itself to screen readers, keeps off the taskbar and takes the keyboard
// whenever shown; its controls are made in the table's order, named as there.
// Buttons are stacked above the drawn controls (labels, lines, shapes), and
// the focus cycles through the buttons by tab index, starting on the lowest.
class Form : public QWidget
{
    Q_OBJECT

public:
    // The controls in their creation order.
    const QList<QObject *> &controls() const { return m_controls; }

protected:
    Form(const Window &design, std::span<const Control> controls, QWidget *parent);

    // The control named `name` in the table, which must be a T.
    template<typename T>
    T *control(const char *name) const
    {
        return qobject_cast<T *>(namedControl(name, &T::staticMetaObject));
    }

private:
    QObject *namedControl(const char *name, const QMetaObject *type) const;

    QList<QObject *> m_controls;
};

} // namespace runtime
