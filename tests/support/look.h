#pragma once

#include <QApplication>
#include <QPalette>
#include <QStyle>

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

// The desktop's palette and style, put back when it goes.
class KeptLook
{
public:
    KeptLook() = default;
    ~KeptLook()
    {
        QApplication::setPalette(m_palette);
        if (QApplication::style()->name() != m_style)
            QApplication::setStyle(m_style);
    }
    KeptLook(const KeptLook &) = delete;
    KeptLook &operator=(const KeptLook &) = delete;

private:
    const QPalette m_palette = QApplication::palette();
    const QString m_style = QApplication::style()->name();
};
