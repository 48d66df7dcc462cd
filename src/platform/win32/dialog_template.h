#pragma once
// An in-memory dialog template (DLGTEMPLATE followed by its items), so that
// the program's own dialogs need no resource file. Controls are created
// empty and placed later: texts and layout are set when the dialog starts,
// from the dialog's real font.
#include <windows.h>

#include <vector>

namespace kav::platform {

class DialogTemplate {
public:
    // A modal, centred popup with a caption bar and the system's dialog font.
    DialogTemplate();

    // Predefined control classes, by their template atoms.
    enum class ControlClass : WORD { Button = 0x0080, Edit = 0x0081, Static = 0x0082 };

    void AddControl(ControlClass controlClass, WORD id, DWORD style);

    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void AlignToDword();
    void AddDword(DWORD value) {
        words_.push_back(LOWORD(value));
        words_.push_back(HIWORD(value));
    }
    void AddText(const wchar_t* text);

    std::vector<WORD> words_;  // templates are WORD-aligned throughout
    std::size_t countIndex_;   // where the item count is kept
};

}  // namespace kav::platform
