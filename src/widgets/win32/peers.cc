#include "widgets/win32/peers.h"

#include <commctrl.h>

#include <string>

#include "platform/win32/application_window.h"
#include "widgets/controls.h"
#include "widgets/notebook.h"
#include "widgets/radio.h"

namespace kav::widgets::win32 {
namespace {

constexpr const char* kPeerProperty = "KavPeer";

RECT ToRect(const Bounds& b) { return RECT{b.left, b.top, b.left + b.width, b.top + b.height}; }

// Controls that are not shown at once are created hidden; the flag follows
// the model's own visibility, since a container hides its contents itself.
DWORD VisibleStyle(const Control& c) { return c.Visible() ? WS_VISIBLE : 0; }

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) text += "\r\n";
        text += lines[i];
    }
    return text;
}

std::string ItemText(const CheckListBox::Item& item) {
    return (item.checked ? "[x] " : "[ ] ") + item.text;
}

// A control shown by a window of one of the system's classes.
class ChildControl final : public Win32Peer {
public:
    ChildControl(Control& control, HWND parent) : control_(control) {
        DWORD style = WS_CHILD | VisibleStyle(control) | (control.Enabled() ? 0 : WS_DISABLED);
        DWORD exStyle = 0;
        const char* cls = "STATIC";
        switch (control.Kind()) {
            case ControlKind::Label:
                style |= SS_LEFT | SS_NOTIFY;
                break;
            case ControlKind::Image:
                style |= SS_ICON | SS_NOTIFY;
                break;
            case ControlKind::Button:
                cls = "BUTTON";
                style |= BS_PUSHBUTTON | WS_TABSTOP;
                break;
            case ControlKind::CheckBox:
                cls = "BUTTON";
                style |= BS_CHECKBOX | WS_TABSTOP;
                break;
            case ControlKind::RadioButton:
                cls = "BUTTON";
                style |= BS_RADIOBUTTON | WS_TABSTOP;
                break;
            case ControlKind::Memo:
                cls = "EDIT";
                style |= ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER;
                if (static_cast<Memo&>(control).ReadOnly()) style |= ES_READONLY;
                break;
            case ControlKind::ProgressBar:
                cls = PROGRESS_CLASSA;
                exStyle = WS_EX_STATICEDGE;
                break;
            case ControlKind::CheckListBox:
                cls = "LISTBOX";
                style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER;
                break;
            default:
                break;
        }
        const Bounds& b = control.Placement();
        hwnd_ = std::make_unique<UniqueWindow>(
            CreateWindowExA(exStyle, cls, "", style, b.left, b.top, b.width, b.height, parent,
                            nullptr, GetModuleHandleA(nullptr), nullptr));
        if (hwnd_->Get() == nullptr) {
            throw std::runtime_error("Cannot create the window of " + control.Name());
        }
        Register(hwnd_->Get());
        for (Property p : {Property::Caption, Property::Font, Property::Checked, Property::Lines,
                           Property::Items, Property::Progress}) {
            Update(p);
        }
    }

    ~ChildControl() override { Unregister(); }

    HWND Hwnd() const override { return hwnd_->Get(); }

    void Update(Property property) override {
        HWND h = Hwnd();
        switch (property) {
            case Property::Caption:
                if (control_.Kind() == ControlKind::Image) {
                    ShowPicture();
                } else if (control_.Kind() != ControlKind::Memo &&
                           control_.Kind() != ControlKind::CheckListBox) {
                    SetWindowTextA(h, control_.Caption().c_str());
                }
                break;
            case Property::Enabled:
                EnableWindow(h, control_.Enabled() ? TRUE : FALSE);
                break;
            case Property::Visible:
                ShowWindow(h, control_.Visible() ? SW_SHOW : SW_HIDE);
                break;
            case Property::Bounds: {
                const Bounds& b = control_.Placement();
                MoveWindow(h, b.left, b.top, b.width, b.height, TRUE);
                break;
            }
            case Property::Font:
                ApplyFont();
                break;
            case Property::Color:
                background_.Reset();
                InvalidateRect(h, nullptr, TRUE);
                break;
            case Property::Checked:
                if (auto* box = dynamic_cast<CheckBox*>(&control_)) {
                    SendMessageA(h, BM_SETCHECK, box->Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
                } else if (auto* radio = dynamic_cast<RadioButton*>(&control_)) {
                    SendMessageA(h, BM_SETCHECK, radio->Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
                }
                break;
            case Property::Lines:
                if (auto* memo = dynamic_cast<Memo*>(&control_)) {
                    SetWindowTextA(h, Joined(memo->Lines()).c_str());
                }
                break;
            case Property::Items:
                if (auto* list = dynamic_cast<CheckListBox*>(&control_)) FillList(*list);
                break;
            case Property::Progress:
                if (auto* bar = dynamic_cast<ProgressBar*>(&control_)) {
                    SendMessageA(h, PBM_SETRANGE32, static_cast<WPARAM>(bar->Min()),
                                 static_cast<LPARAM>(bar->Max()));
                    SendMessageA(h, PBM_SETPOS, static_cast<WPARAM>(bar->Position()), 0);
                }
                break;
            case Property::Page:
                break;
        }
    }

    void Command(int code) override {
        switch (control_.Kind()) {
            case ControlKind::Button:
            case ControlKind::CheckBox:
            case ControlKind::RadioButton:
                if (code == BN_CLICKED) control_.Click();
                break;
            case ControlKind::Label:
            case ControlKind::Image:
                if (code == STN_CLICKED) control_.Click();
                if (code == STN_DBLCLK) control_.DblClick();
                break;
            case ControlKind::CheckListBox:
                if (code == LBN_SELCHANGE) ToggleSelected();
                break;
            default:
                break;
        }
    }

    HBRUSH PrepareColors(HDC dc, HBRUSH hostBrush) override {
        if (control_.Kind() == ControlKind::Memo || control_.Kind() == ControlKind::CheckListBox) {
            return nullptr;
        }
        SetTextColor(dc, ToColorRef(control_.GetFont().color));
        SetBkMode(dc, TRANSPARENT);
        auto* label = dynamic_cast<Label*>(&control_);
        if (label == nullptr || label->Transparent()) return hostBrush;
        if (background_.Get() == nullptr) {
            background_.Reset(CreateSolidBrush(ToColorRef(control_.GetColor())));
        }
        return background_.Get();
    }

private:
    void ApplyFont() {
        const Font& f = control_.GetFont();
        HDC screen = GetDC(nullptr);
        const int height = -MulDiv(f.size, GetDeviceCaps(screen, LOGPIXELSY), 72);
        ReleaseDC(nullptr, screen);
        HFONT font = CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 DEFAULT_PITCH | FF_DONTCARE, f.name.c_str());
        SendMessageA(Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        // The old font may be deleted only once the control has the new one.
        font_.Reset(font);
    }

    void ShowPicture() {
        auto& image = static_cast<Image&>(control_);
        if (image.ShowsProgramIcon()) {
            HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
            if (icon == nullptr)
                icon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
            SendMessageA(Hwnd(), STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
        }
        // Picture files are placed by the expansion stage.
    }

    void FillList(const CheckListBox& list) {
        HWND h = Hwnd();
        SendMessageA(h, LB_RESETCONTENT, 0, 0);
        for (const auto& item : list.Items()) {
            const std::string text = ItemText(item);
            SendMessageA(h, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        }
    }

    // A click on an item toggles it; the selection is dropped at once so
    // that the next click on the same item is seen as well.
    void ToggleSelected() {
        const LRESULT index = SendMessageA(Hwnd(), LB_GETCURSEL, 0, 0);
        if (index < 0) return;
        static_cast<CheckListBox&>(control_).Toggle(static_cast<std::size_t>(index));
        SendMessageA(Hwnd(), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    }

    Control& control_;
    // The fonts and brushes outlive the window that uses them.
    GdiObject<HFONT> font_;
    GdiObject<HBRUSH> background_;
    std::unique_ptr<UniqueWindow> hwnd_;
};

DWORD TopLevelStyle(const Form& form, DWORD& exStyle) {
    exStyle = 0;
    switch (form.Border()) {
        case BorderStyle::None:
            return WS_POPUP | WS_CLIPCHILDREN;
        case BorderStyle::Dialog:
            exStyle = WS_EX_DLGMODALFRAME;
            return WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
        case BorderStyle::ToolWindow:
            exStyle = WS_EX_TOOLWINDOW;
            return WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN;
        case BorderStyle::Sizeable:
            break;
    }
    return WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
}

}  // namespace

Win32Peer::~Win32Peer() { Unregister(); }

void Win32Peer::Unregister() {
    if (registered_ != nullptr) RemovePropA(registered_, kPeerProperty);
    registered_ = nullptr;
}

void Win32Peer::Register(HWND hwnd) {
    registered_ = hwnd;
    SetPropA(hwnd, kPeerProperty, this);
}

Win32Peer* Win32Peer::FromHandle(HWND hwnd) {
    return static_cast<Win32Peer*>(GetPropA(hwnd, kPeerProperty));
}

HostWindow::HostWindow(ErrorSink& errors, Form& form) : Window(errors), form_(&form) {
    DWORD exStyle = 0;
    const DWORD style = TopLevelStyle(form, exStyle);
    RECT r = ToRect(form.Placement());
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    if (form.Position() == FormPosition::ScreenCenter) {
        const int w = r.right - r.left;
        const int h = r.bottom - r.top;
        r.left = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
        r.top = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
        r.right = r.left + w;
        r.bottom = r.top + h;
    }
    RefreshBackground();
    CreateHandle(exStyle, style, form.Caption(), r, nullptr);
    Register(Handle());
}

HostWindow::HostWindow(ErrorSink& errors, Control& container, HWND parent)
    : Window(errors), container_(&container) {
    RefreshBackground();
    const auto* panel = dynamic_cast<const Panel*>(&container);
    const DWORD exStyle = panel != nullptr && panel->Beveled() ? WS_EX_DLGMODALFRAME : 0;
    CreateHandle(exStyle, WS_CHILD | WS_CLIPCHILDREN | VisibleStyle(container), "",
                 ToRect(container.Placement()), parent);
    Register(Handle());
}

unsigned HostWindow::ModelColor() const {
    return form_ != nullptr ? form_->GetColor() : container_->GetColor();
}

void HostWindow::RefreshBackground() {
    background_.Reset(CreateSolidBrush(ToColorRef(ModelColor())));
}

void HostWindow::ReportBounds() {
    RECT client{};
    GetClientRect(Handle(), &client);
    POINT origin{0, 0};
    ClientToScreen(Handle(), &origin);
    form_->BoundsChanged(Bounds{origin.x, origin.y, client.right, client.bottom});
}

void HostWindow::Update(Property property) {
    switch (property) {
        case Property::Caption:
            if (form_ != nullptr) SetWindowTextA(Handle(), form_->Caption().c_str());
            break;
        case Property::Color:
            RefreshBackground();
            // Children take their background from this window: they repaint
            // too.
            RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
            break;
        case Property::Visible:
            if (container_ != nullptr)
                ShowWindow(Handle(), container_->Visible() ? SW_SHOW : SW_HIDE);
            break;
        case Property::Enabled:
            if (container_ != nullptr) EnableWindow(Handle(), container_->Enabled() ? TRUE : FALSE);
            break;
        case Property::Bounds:
            if (container_ != nullptr) {
                const Bounds& b = container_->Placement();
                MoveWindow(Handle(), b.left, b.top, b.width, b.height, TRUE);
            } else {
                DWORD exStyle = 0;
                const DWORD style = TopLevelStyle(*form_, exStyle);
                RECT r = ToRect(form_->Placement());
                AdjustWindowRectEx(&r, style, FALSE, exStyle);
                MoveWindow(Handle(), r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
            }
            break;
        default:
            break;
    }
}

HBRUSH HostWindow::PrepareColors(HDC, HBRUSH) { return background_.Get(); }

LRESULT HostWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND: {
            RECT r{};
            GetClientRect(Handle(), &r);
            FillRect(reinterpret_cast<HDC>(wParam), &r, background_.Get());
            return 1;
        }
        case WM_COMMAND:
            if (lParam != 0) {
                if (Win32Peer* child = FromHandle(reinterpret_cast<HWND>(lParam))) {
                    child->Command(HIWORD(wParam));
                }
            }
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            if (Win32Peer* child = FromHandle(reinterpret_cast<HWND>(lParam))) {
                if (HBRUSH brush =
                        child->PrepareColors(reinterpret_cast<HDC>(wParam), background_.Get())) {
                    return reinterpret_cast<LRESULT>(brush);
                }
            }
            break;
        case WM_TIMER:
            if (form_ != nullptr && wParam >= 1 && wParam <= form_->Timers().size()) {
                form_->Timers()[wParam - 1]->Fire();
                return 0;
            }
            break;
        case WM_CLOSE:
            // The model decides; DefWindowProc would destroy the window.
            if (form_ != nullptr) form_->Close();
            return 0;
        case WM_SIZE:
        case WM_MOVE:
            if (form_ != nullptr) ReportBounds();
            break;
        case WM_SETCURSOR:
            // An hourglass asked for by the program stays over its windows.
            if (HCURSOR cursor = platform::ScreenCursor()) {
                ::SetCursor(cursor);
                return TRUE;
            }
            break;
        case WM_LBUTTONDOWN:
            if (form_ != nullptr && form_->OnClick) form_->OnClick();
            if (container_ != nullptr) container_->Click();
            return 0;
        case WM_LBUTTONDBLCLK:
            if (container_ != nullptr) container_->DblClick();
            return 0;
        default:
            break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

std::unique_ptr<Win32Peer> MakeControlPeer(ErrorSink& errors, Control& control, HWND parent) {
    if (control.Kind() == ControlKind::Gradient) return nullptr;
    if (control.IsContainer()) return std::make_unique<HostWindow>(errors, control, parent);
    return std::make_unique<ChildControl>(control, parent);
}

}  // namespace kav::widgets::win32
