#include "runtime/message_box.h"

#include "runtime/platform/tool_window.h"

#include <QMessageBox>

namespace runtime {
namespace {

QMessageBox::Icon iconOf(int style)
{
    switch (style & 0x70) {
    case MsgBoxStyle::Critical:
        return QMessageBox::Critical;
    case MsgBoxStyle::Question:
        return QMessageBox::Question;
    case MsgBoxStyle::Exclamation:
        return QMessageBox::Warning;
    case MsgBoxStyle::Information:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

void msgBox(const QString &prompt, int style, const QString &title)
{
    const platform::KeyboardReturn keyboardReturn;
    // Owned by the window that opened it, as a Windows message box is: above
    // it and centred on it. Windows do not pass their palette or font on to
    // the windows they own, so the box looks as the desktop has it.
    QMessageBox box(iconOf(style), title, prompt, QMessageBox::Ok, keyboardReturn.opener());
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

} // namespace runtime
