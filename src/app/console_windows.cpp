#include "app/console.h"

#include <QCoreApplication>

#include <cstdio>

#include <windows.h>

namespace app {
namespace {

// As Qt's command line parser decides: a console, or handles a parent set up
// for the program (a pipe, a file), take the text; otherwise nobody would
// see it.
bool hasStandardHandles()
{
    if (GetConsoleWindow())
        return true;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    GetStartupInfoW(&startup);
    return (startup.dwFlags & STARTF_USESTDHANDLES) != 0;
}

} // namespace

void tell(Channel channel, const QString &text)
{
    if (hasStandardHandles()) {
        std::FILE *stream = channel == Channel::Output ? stdout : stderr;
        std::fputs(text.toLocal8Bit().constData(), stream);
        std::fflush(stream);
        return;
    }
    const UINT icon = channel == Channel::Output ? MB_ICONINFORMATION : MB_ICONERROR;
    const QString title = QCoreApplication::applicationName();
    MessageBoxW(nullptr, reinterpret_cast<const wchar_t *>(text.trimmed().utf16()),
                reinterpret_cast<const wchar_t *>(title.utf16()), MB_OK | MB_SETFOREGROUND | icon);
}

} // namespace app
