#include "app/console.h"

#include <QCoreApplication>

#include <cstdio>

#include <windows.h>

namespace app {
namespace {

// A console, or a handle a parent set up for the program (a pipe, a file, a
// Unix terminal under Wine), takes the text; a program started from
// Explorer, a shortcut or cmd.exe has neither, and nobody would see it.
bool reaches(DWORD handleId)
{
    if (GetConsoleWindow())
        return true;
    const HANDLE handle = GetStdHandle(handleId);
    return handle && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

} // namespace

void tell(Channel channel, const QString &text)
{
    const bool output = channel == Channel::Output;
    if (reaches(output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE)) {
        std::FILE *stream = output ? stdout : stderr;
        std::fputs(text.toLocal8Bit().constData(), stream);
        std::fflush(stream);
        return;
    }
    const UINT icon = output ? MB_ICONINFORMATION : MB_ICONERROR;
    const QString title = QCoreApplication::applicationName();
    MessageBoxW(nullptr, reinterpret_cast<const wchar_t *>(text.trimmed().utf16()),
                reinterpret_cast<const wchar_t *>(title.utf16()), MB_OK | MB_SETFOREGROUND | icon);
}

} // namespace app
