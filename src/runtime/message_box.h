#pragma once

#include <QString>

namespace runtime {

// Message box styles as the program's code gives them: an icon, one OK button.
namespace MsgBoxStyle {
inline constexpr int Critical = 16;
inline constexpr int Question = 32;
inline constexpr int Exclamation = 48;
inline constexpr int Information = 64;
} // namespace MsgBoxStyle

// Shows a box modal to the application and returns once it is dismissed,
// with the keyboard back on the window that was active.
void msgBox(const QString &prompt, int style, const QString &title);

} // namespace runtime
