// msgbox_probe [--timeout SECONDS] [--leave-open | --end-process]
// Test helper: waits for a message box captioned "KAV - Setup", prints its
// text on one line (carriage returns as \r), then presses its OK button,
// leaves it open (for a test to act while it waits; a second call presses
// it), or ends the process that shows it. Ending the process is how a test
// answers the restart announcement without letting the restart happen.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/one_line.h"

namespace {

constexpr const char* kCaption = "KAV - Setup";
constexpr int kMessageTextId = 0xFFFF;

struct Search {
    std::string text;
};

BOOL CALLBACK CollectStaticText(HWND child, LPARAM param) {
    char cls[32] = {};
    GetClassNameA(child, cls, sizeof cls);
    if (_stricmp(cls, "Static") != 0) return TRUE;
    char text[2048] = {};
    GetWindowTextA(child, text, sizeof text);
    if (text[0] == '\0') return TRUE;
    reinterpret_cast<Search*>(param)->text = text;
    return FALSE;
}

std::string MessageText(HWND box) {
    char text[2048] = {};
    if (GetDlgItemTextA(box, kMessageTextId, text, sizeof text) > 0) return text;
    Search search;
    EnumChildWindows(box, &CollectStaticText, reinterpret_cast<LPARAM>(&search));
    return search.text;
}

}  // namespace

int main(int argc, char** argv) {
    int timeoutSeconds = 60;
    bool endProcess = false;
    bool leaveOpen = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--timeout") == 0 && i + 1 < argc) {
            timeoutSeconds = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--end-process") == 0) {
            endProcess = true;
        } else if (std::strcmp(argv[i], "--leave-open") == 0) {
            leaveOpen = true;
        }
    }
    const DWORD deadline = GetTickCount() + static_cast<DWORD>(timeoutSeconds) * 1000;
    HWND box = nullptr;
    while ((box = FindWindowA("#32770", kCaption)) == nullptr) {
        if (static_cast<LONG>(GetTickCount() - deadline) > 0) {
            std::fprintf(stderr, "msgbox_probe: no \"%s\" message box\n", kCaption);
            return 1;
        }
        Sleep(100);
    }
    // The box may still be filling in its text right after it appears.
    std::string text;
    for (int tries = 0; tries < 50 && (text = MessageText(box)).empty(); ++tries) Sleep(50);
    std::printf("%s\n", kav::app::OneLine(text).c_str());
    std::fflush(stdout);

    if (endProcess) {
        DWORD pid = 0;
        GetWindowThreadProcessId(box, &pid);
        HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, pid);
        if (process == nullptr) return 2;
        const BOOL ended = TerminateProcess(process, 3);
        CloseHandle(process);
        return ended ? 0 : 2;
    }
    if (!leaveOpen) PostMessageA(box, WM_COMMAND, IDOK, 0);
    return 0;
}
