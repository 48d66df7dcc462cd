#include <windows.h>

#include "ui_under_test.h"
#include "widgets/win32/win32_backend.h"
#include "widgets/win32/window_readback.h"

namespace kav::widgets::testing {
namespace {

class Win32Ui final : public UiUnderTest {
public:
    Backend& GetBackend() override { return backend_; }
    void PressKey(Key key, Form&, bool shift) override {
        win32::PostKey(key, shift);
        backend_.ProcessMessages();
    }
    void ClickButton(Control& button) override {
        win32::PostClick(button, button.Width() / 2, button.Height() / 2);
        backend_.ProcessMessages();
    }
    void ClickItemBox(CheckListBox& list, std::size_t index) override {
        win32::PostClickOnItem(list, index, true);
        backend_.ProcessMessages();
    }
    void ClickItemText(CheckListBox& list, std::size_t index) override {
        win32::PostClickOnItem(list, index, false);
        backend_.ProcessMessages();
    }
    void Type(Form&, const std::string& text) override {
        win32::PostTyping(text);
        backend_.ProcessMessages();
    }
    void ClickSurface(Form& form, int x, int y) override {
        win32::PostClickOnForm(form, x, y);
        backend_.ProcessMessages();
    }
    void ProcessMessages() override {
        // Real time must pass for real timers.
        Sleep(1);
        backend_.ProcessMessages();
    }
    Control* ShownFocus(Form& form) override {
        for (Control* c : form.Controls()) {
            if (win32::Inspect(*c).focused) return c;
        }
        return nullptr;
    }

private:
    win32::Win32Backend backend_;
};

}  // namespace

std::unique_ptr<UiUnderTest> MakeUiUnderTest() { return std::make_unique<Win32Ui>(); }

}  // namespace kav::widgets::testing
