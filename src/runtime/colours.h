#pragma once

#include "runtime/layout.h"

#include <QColor>
#include <QPalette>

#include <utility>
#include <vector>

// The colours of the layout tables: RGB, or numbered system colours that
// follow the desktop's palette.
namespace runtime {

// The role of the desktop palette that a numbered system colour takes.
QPalette::ColorRole systemColourRole(unsigned index);
QColor resolve(const Colour &colour);

// Gives `widget` the colours for the palette roles in `roles`. Where one is a
// system colour, the widget is given them again whenever the desktop palette
// changes, before anything repaints.
using ColourRoles = std::vector<std::pair<QPalette::ColorRole, Colour>>;
void setColours(QWidget *widget, ColourRoles roles);

} // namespace runtime
