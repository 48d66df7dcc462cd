// window_driver TITLE COMMAND [ARG] [--timeout SECONDS]
// Test helper: waits for a visible top-level window titled TITLE, then
//   click CAPTION   presses its visible, enabled button captioned CAPTION
//   type TEXT       puts TEXT into its first visible one-line edit box
//   texts           prints the text of every visible child window, one per
//                   line (line breaks as \r\n), with its class
//   lines           prints what every visible edit box shows, as `texts`
//                   would print it if nothing were wrapped or scrolled: the
//                   lines a multi-line box lays out (its own breaks and its
//                   word wrap alike), a one-line box's text from the first
//                   character it shows
//   wait            only waits for the window
//   close           closes it through its frame (WM_CLOSE)
//   altf4           at once, without letting the window settle: what Alt+F4
//                   and the system menu's Close send (WM_SYSCOMMAND SC_CLOSE)
// Exits 0 on success, 1 when the window or the control is not found.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/one_line.h"

namespace {

// Asked with WM_GETTEXT: GetWindowText would not ask a window of another
// process, and an edit box keeps its text to itself.
std::string TextOf(HWND window) {
    const LRESULT length = SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    text.resize(static_cast<std::size_t>(
        SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// A lambda does not convert to the stdcall callback of the 32-bit API.
BOOL CALLBACK AddVisibleChild(HWND child, LPARAM param) {
    if (IsWindowVisible(child)) reinterpret_cast<std::vector<HWND>*>(param)->push_back(child);
    return TRUE;
}

// Visible children, descendants included, in Z order.
std::vector<HWND> VisibleChildren(HWND parent) {
    std::vector<HWND> found;
    EnumChildWindows(parent, AddVisibleChild, reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND WaitForWindow(const std::string& title, int timeoutSeconds) {
    for (int waited = 0; waited < timeoutSeconds * 10; ++waited) {
        HWND window = FindWindowA(nullptr, title.c_str());
        if (window != nullptr && IsWindowVisible(window)) return window;
        Sleep(100);
    }
    return nullptr;
}

// The lines as the box lays them out: a line that did not fit its width is
// two lines here.
std::string ShownLines(HWND edit) {
    // Indices and lengths only: they need no buffer to cross to the box's
    // process.
    const std::string text = TextOf(edit);
    const LRESULT count = SendMessageA(edit, EM_GETLINECOUNT, 0, 0);
    std::string shown;
    for (LRESULT line = 0; line < count; ++line) {
        const LRESULT start = SendMessageA(edit, EM_LINEINDEX, static_cast<WPARAM>(line), 0);
        const LRESULT length = SendMessageA(edit, EM_LINELENGTH, static_cast<WPARAM>(start), 0);
        if (line > 0) shown += "\r\n";
        if (start >= 0 && static_cast<std::size_t>(start) <= text.size())
            shown += text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(length));
    }
    return shown;
}

// A one-line box scrolled to its end shows only the tail of a long text.
std::string ShownText(HWND edit) {
    if ((GetWindowLongA(edit, GWL_STYLE) & ES_MULTILINE) != 0) return ShownLines(edit);
    const auto first = static_cast<std::size_t>(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0));
    const std::string text = TextOf(edit);
    return first < text.size() ? text.substr(first) : std::string();
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args;
    int timeoutSeconds = 30;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--timeout") == 0 && i + 1 < argc) {
            timeoutSeconds = std::atoi(argv[++i]);
        } else {
            args.emplace_back(argv[i]);
        }
    }
    if (args.size() < 2) {
        std::fprintf(stderr,
                     "usage: window_driver TITLE click|type|texts|lines|wait|close|altf4 [ARG]\n");
        return 2;
    }
    HWND window = WaitForWindow(args[0], timeoutSeconds);
    if (window == nullptr) {
        std::fprintf(stderr, "window_driver: no window \"%s\"\n", args[0].c_str());
        return 1;
    }
    const std::string& command = args[1];
    if (command == "altf4") {
        PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    }
    // Let the window finish what its last action started.
    Sleep(300);
    if (command == "wait") return 0;
    if (command == "close") {
        PostMessageA(window, WM_CLOSE, 0, 0);
        return 0;
    }
    for (HWND child : VisibleChildren(window)) {
        const std::string cls = ClassOf(child);
        if (command == "texts") {
            std::printf("%s: %s\n", cls.c_str(), kav::app::OneLine(TextOf(child)).c_str());
        } else if (command == "lines" && _stricmp(cls.c_str(), "Edit") == 0) {
            std::printf("%s: %s\n", cls.c_str(), kav::app::OneLine(ShownText(child)).c_str());
        } else if (command == "click" && args.size() > 2 && _stricmp(cls.c_str(), "Button") == 0 &&
                   TextOf(child) == args[2] && IsWindowEnabled(child)) {
            PostMessageA(child, BM_CLICK, 0, 0);
            return 0;
        } else if (command == "type" && args.size() > 2 && _stricmp(cls.c_str(), "Edit") == 0 &&
                   (GetWindowLongA(child, GWL_STYLE) & ES_MULTILINE) == 0) {
            SendMessageA(child, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(args[2].c_str()));
            return 0;
        }
    }
    if (command == "texts" || command == "lines") return 0;
    std::fprintf(stderr, "window_driver: nothing to %s in \"%s\"\n", command.c_str(),
                 args[0].c_str());
    return 1;
}
