// Reads a message box as a user sees it: waits up to 2 minutes for a visible box
// titled as the first argument, prints its text and presses its OK button.
// A Windows program; the Windows checks run it under Wine.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct Search {
    const char *title = nullptr;
    HWND found = nullptr;
    std::string text;
};

BOOL CALLBACK findBox(HWND window, LPARAM data)
{
    auto *search = reinterpret_cast<Search *>(data);
    char type[64] = {};
    char title[256] = {};
    GetClassNameA(window, type, sizeof type);
    GetWindowTextA(window, title, sizeof title);
    if (IsWindowVisible(window) && std::strcmp(type, "#32770") == 0
        && std::strcmp(title, search->title) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The box's text is the static control that holds any text (its icon is one
// without).
BOOL CALLBACK findText(HWND control, LPARAM data)
{
    auto *search = reinterpret_cast<Search *>(data);
    char type[64] = {};
    char text[2048] = {};
    GetClassNameA(control, type, sizeof type);
    if (_stricmp(type, "Static") == 0 && GetWindowTextA(control, text, sizeof text) > 0) {
        search->text = text;
        return FALSE;
    }
    return TRUE;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fputs("usage: read_message_box TITLE\n", stderr);
        return 2;
    }
    Search search;
    search.title = argv[1];
    // Wine may take a minute to start a program on a busy machine.
    const ULONGLONG deadline = GetTickCount64() + 120000;
    while (!search.found && GetTickCount64() < deadline) {
        EnumWindows(findBox, reinterpret_cast<LPARAM>(&search));
        if (!search.found)
            Sleep(100);
    }
    if (!search.found) {
        std::fprintf(stderr, "read_message_box: no message box titled '%s'\n", argv[1]);
        return 1;
    }
    EnumChildWindows(search.found, findText, reinterpret_cast<LPARAM>(&search));
    std::printf("%s\n", search.text.c_str());
    std::fflush(stdout);
    PostMessageA(search.found, WM_COMMAND, IDOK, 0);
    return 0;
}
