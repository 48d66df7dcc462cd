#include "platform/win32/dialog_template.h"

namespace kav::platform {

DialogTemplate::DialogTemplate() {
    // DLGTEMPLATE: style, extended style, item count, x, y, cx, cy; then
    // menu, class and title (all empty), then the font for DS_SETFONT.
    AddDword(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER);
    AddDword(0);
    countIndex_ = words_.size();
    words_.insert(words_.end(), {0, 0, 0, 100, 50});
    words_.insert(words_.end(), {0, 0, 0});
    words_.push_back(8);  // point size
    AddText(L"MS Shell Dlg");
}

void DialogTemplate::AddControl(ControlClass controlClass, WORD id, DWORD style) {
    // DLGITEMTEMPLATE: DWORD-aligned; style, extended style, x, y, cx, cy,
    // id; class as 0xFFFF + atom, empty title, no creation data.
    AlignToDword();
    AddDword(style | WS_CHILD | WS_VISIBLE);
    AddDword(0);
    words_.insert(words_.end(), {0, 0, 10, 10, id});
    words_.insert(words_.end(), {0xFFFF, static_cast<WORD>(controlClass)});
    words_.insert(words_.end(), {0, 0});
    ++words_[countIndex_];
}

void DialogTemplate::AlignToDword() {
    // The vector's storage is at least DWORD-aligned, so even word indices
    // are DWORD boundaries.
    if (words_.size() % 2 != 0) words_.push_back(0);
}

void DialogTemplate::AddText(const wchar_t* text) {
    for (; *text; ++text) words_.push_back(static_cast<WORD>(*text));
    words_.push_back(0);
}

}  // namespace kav::platform
