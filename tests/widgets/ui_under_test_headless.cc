#include "ui_under_test.h"
#include "widgets/error_report.h"
#include "widgets/headless/headless_backend.h"

namespace kav::widgets::testing {
namespace {

class HeadlessUi final : public UiUnderTest {
public:
    Backend& GetBackend() override { return ui_; }
    void PressKey(Key key, Form& form, bool shift) override {
        ui_.Errors().Guard([&] { form.KeyDown(key, shift); });
    }
    void ClickButton(Control& button) override {
        ui_.Errors().Guard([&] { button.Click(); });
    }
    void ClickItemBox(CheckListBox& list, std::size_t index) override {
        ui_.Errors().Guard([&] {
            list.Toggle(index);
            list.SetItemIndex(static_cast<int>(index));
        });
    }
    void ClickItemText(CheckListBox& list, std::size_t index) override {
        ui_.Errors().Guard([&] { list.SetItemIndex(static_cast<int>(index)); });
    }
    void Type(Form& form, const std::string& text) override {
        if (auto* edit = dynamic_cast<Edit*>(form.ActiveControl())) {
            for (char c : text) edit->SetText(edit->Text() + c);
        }
    }
    void ClickSurface(Form& form, int, int) override {
        ui_.Errors().Guard([&] { form.ClickSurface(); });
    }
    void ProcessMessages() override { ui_.ProcessMessages(); }
    Control* ShownFocus(Form& form) override { return form.ActiveControl(); }

private:
    headless::HeadlessBackend ui_;
};

}  // namespace

std::unique_ptr<UiUnderTest> MakeUiUnderTest() { return std::make_unique<HeadlessUi>(); }

}  // namespace kav::widgets::testing
