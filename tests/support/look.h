#pragma once

#include <QPalette>

// A palette whose every colour differs: red tells the group, green the role.
inline QPalette distinctPalette()
{
    QPalette palette;
    for (int group = 0; group < QPalette::NColorGroups; ++group) {
        for (int role = 0; role < QPalette::NColorRoles; ++role)
            palette.setColor(QPalette::ColorGroup(group), QPalette::ColorRole(role),
                             QColor(40 + 60 * group, 10 + 10 * role, 99));
    }
    return palette;
}
