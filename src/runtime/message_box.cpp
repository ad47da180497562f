#include "runtime/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>

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
    const QPointer<QWidget> opener = QApplication::activeWindow();
    QMessageBox box(iconOf(style), title, prompt, QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    // The keyboard goes back to the window that opened the box: some window
    // managers (openbox) leave it on no window when the box goes.
    if (opener)
        opener->activateWindow();
}

} // namespace runtime
