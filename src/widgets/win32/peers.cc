#include "widgets/win32/peers.h"

#include <commctrl.h>

#include <stdexcept>
#include <string>

#include "platform/win32/wide.h"
#include "widgets/controls.h"
#include "widgets/lists.h"
#include "widgets/notebook.h"
#include "widgets/radio.h"
#include "widgets/visitor.h"
#include "widgets/win32/gdi_canvas.h"
#include "widgets/win32/win32_backend.h"

namespace kav::widgets::win32 {
namespace {

constexpr const char* kPeerProperty = "KavPeer";
constexpr int kCheckBoxSide = 13;

RECT ToRect(const Bounds& b) { return RECT{b.left, b.top, b.left + b.width, b.top + b.height}; }

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) text += "\r\n";
        text += lines[i];
    }
    return text;
}

// A windowless control: its host window repaints the area it covers.
class WindowlessPeer final : public Win32Peer {
public:
    WindowlessPeer(Control& control, HWND host)
        : control_(control), host_(host), shown_(control.Placement()) {
        Invalidate(shown_);
    }
    ~WindowlessPeer() override {
        if (IsWindow(host_)) Invalidate(shown_);
    }

    HWND Hwnd() const override { return nullptr; }

    void Update(Property) override {
        Invalidate(shown_);
        shown_ = control_.Placement();
        Invalidate(shown_);
    }

private:
    void Invalidate(const Bounds& b) {
        const RECT r = ToRect(b);
        InvalidateRect(host_, &r, FALSE);
    }

    Control& control_;
    HWND host_;
    Bounds shown_;
};

// A control shown by a window of one of the system's classes. The base
// keeps the properties every such window has; each kind adds its own.
class SystemControl : public Win32Peer {
public:
    ~SystemControl() override { Unregister(); }

    HWND Hwnd() const override { return hwnd_.Get(); }

    void Update(Property property) override {
        HWND h = Hwnd();
        switch (property) {
            case Property::Caption:
                UpdateText();
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
                SendMessageA(h, WM_SETFONT,
                             reinterpret_cast<WPARAM>(SharedFont(control_.GetFont())), TRUE);
                break;
            case Property::Color:
                background_.Reset();
                InvalidateRect(h, nullptr, TRUE);
                break;
            default:
                UpdateOwn(property);
                break;
        }
    }

    HBRUSH PrepareColors(HDC dc, HBRUSH hostBrush) override {
        SetTextColor(dc, ToColorRef(control_.GetFont().color));
        SetBkMode(dc, TRANSPARENT);
        return hostBrush;
    }

protected:
    SystemControl(Control& control, HWND parent, const char* windowClass, DWORD style,
                  DWORD exStyle = 0)
        : control_(control) {
        style |= WS_CHILD | WS_CLIPSIBLINGS | (control.Visible() ? WS_VISIBLE : 0) |
                 (control.Enabled() ? 0 : WS_DISABLED);
        const Bounds& b = control.Placement();
        hwnd_.Reset(CreateWindowExW(exStyle, platform::Wide(windowClass).c_str(), L"", style,
                                    b.left, b.top, b.width, b.height, parent, nullptr,
                                    GetModuleHandleA(nullptr), nullptr));
        if (!hwnd_) throw std::runtime_error("Cannot create the window of " + control.Name());
        Register(hwnd_.Get());
        Update(Property::Font);
    }
    // Brings the window up to date once the derived peer is complete.
    void Initialize(std::initializer_list<Property> properties) {
        for (Property p : properties) Update(p);
    }
    virtual void UpdateText() {
        SetWindowTextW(Hwnd(), platform::Wide(control_.Caption()).c_str());
    }
    virtual void UpdateOwn(Property) {}

    Control& control_;
    BrushHandle background_;

private:
    WindowHandle hwnd_;
};

class ButtonPeer final : public SystemControl {
public:
    ButtonPeer(Button& button, HWND parent)
        : SystemControl(button, parent, "BUTTON", BS_PUSHBUTTON | WS_TABSTOP), button_(button) {
        Initialize({Property::Caption, Property::Default});
    }
    void Command(int code) override {
        if (code == BN_CLICKED) button_.Click();
    }

private:
    void UpdateOwn(Property property) override {
        if (property != Property::Default) return;
        SendMessageA(Hwnd(), BM_SETSTYLE, button_.Default() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON,
                     TRUE);
    }
    Button& button_;
};

// A check box or a radio button: a button window whose check mark follows
// the model; the model decides what a click does to it.
template <class Checkable, DWORD kButtonStyle>
class CheckablePeer final : public SystemControl {
public:
    CheckablePeer(Checkable& control, HWND parent)
        : SystemControl(control, parent, "BUTTON", kButtonStyle | WS_TABSTOP), control_(control) {
        Initialize({Property::Caption, Property::Checked});
    }
    void Command(int code) override {
        if (code == BN_CLICKED) control_.Click();
    }

private:
    void UpdateOwn(Property property) override {
        if (property == Property::Checked) {
            SendMessageA(Hwnd(), BM_SETCHECK, control_.Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
        }
    }
    Checkable& control_;
};

using CheckBoxPeer = CheckablePeer<CheckBox, BS_CHECKBOX>;
using RadioPeer = CheckablePeer<RadioButton, BS_RADIOBUTTON>;

// What the user types reaches the model's text; the model's text reaches
// the window only when it differs, so that typing keeps its caret.
class EditPeer final : public SystemControl {
public:
    EditPeer(Edit& edit, HWND parent)
        : SystemControl(edit, parent, "EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE),
          edit_(edit) {
        Initialize({Property::Caption});
    }
    void Command(int code) override {
        if (code == EN_CHANGE) edit_.SetText(WindowText());
    }
    HBRUSH PrepareColors(HDC, HBRUSH) override { return nullptr; }

private:
    std::string WindowText() const {
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(Hwnd())) + 1, L'\0');
        text.resize(static_cast<std::size_t>(
            GetWindowTextW(Hwnd(), text.data(), static_cast<int>(text.size()))));
        // A typed character without a code page 1252 form reads as "?",
        // which no file name may hold.
        return platform::TextFromWide(text);
    }
    void UpdateText() override {
        if (WindowText() == edit_.Text()) return;
        SetWindowTextW(Hwnd(), platform::Wide(edit_.Text()).c_str());
        // While the user types in the box, typing goes on at the end of a
        // text the program put there; otherwise the box shows the text from
        // its start (a long path would show only its tail with the caret at
        // the end).
        const auto caret =
            GetFocus() == Hwnd() ? static_cast<WPARAM>(edit_.Text().size()) : WPARAM{0};
        SendMessageA(Hwnd(), EM_SETSEL, caret, static_cast<LPARAM>(caret));
        SendMessageA(Hwnd(), EM_SCROLLCARET, 0, 0);
    }
    Edit& edit_;
};

class MemoPeer final : public SystemControl {
public:
    MemoPeer(Memo& memo, HWND parent)
        : SystemControl(memo, parent, "EDIT",
                        ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP |
                            (memo.ReadOnly() ? ES_READONLY : 0),
                        WS_EX_CLIENTEDGE),
          memo_(memo) {
        Initialize({Property::Lines, Property::TopLine});
    }
    HBRUSH PrepareColors(HDC, HBRUSH) override { return nullptr; }
    // The model keeps the first line shown; the window follows it.
    bool LeavesKeyToModel(Key key) const override {
        return key == Key::PageUp || key == Key::PageDown;
    }

private:
    void UpdateText() override {}
    void UpdateOwn(Property property) override {
        if (property == Property::Lines) {
            SetWindowTextW(Hwnd(), platform::Wide(Joined(memo_.Lines())).c_str());
            FitScrollBar();
        }
        if (property == Property::Lines || property == Property::TopLine) {
            const LRESULT first = SendMessageA(Hwnd(), EM_GETFIRSTVISIBLELINE, 0, 0);
            SendMessageA(Hwnd(), EM_LINESCROLL, 0, memo_.TopLine() - first);
        }
    }
    // The scroll bar is there only for lines that do not fit: one that is
    // always there takes the width a short text was laid out for, and its
    // lines wrap.
    void FitScrollBar() {
        ShowScrollBar(Hwnd(), SB_VERT, FALSE);
        const auto font = reinterpret_cast<HFONT>(SendMessageA(Hwnd(), WM_GETFONT, 0, 0));
        WindowDc dc(Hwnd());
        Selection selected(dc.Get(), font);
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc.Get(), &metrics);
        RECT area{};
        SendMessageA(Hwnd(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&area));
        const LRESULT lines = SendMessageA(Hwnd(), EM_GETLINECOUNT, 0, 0);
        if (lines * metrics.tmHeight > area.bottom - area.top) ShowScrollBar(Hwnd(), SB_VERT, TRUE);
    }
    Memo& memo_;
};

class ProgressPeer final : public SystemControl {
public:
    ProgressPeer(ProgressBar& bar, HWND parent)
        : SystemControl(bar, parent, PROGRESS_CLASSA, 0, WS_EX_STATICEDGE), bar_(bar) {
        Initialize({Property::Progress});
    }

private:
    void UpdateText() override {}
    void UpdateOwn(Property property) override {
        if (property != Property::Progress) return;
        SendMessageA(Hwnd(), PBM_SETRANGE32, static_cast<WPARAM>(bar_.Min()),
                     static_cast<LPARAM>(bar_.Max()));
        SendMessageA(Hwnd(), PBM_SETPOS, static_cast<WPARAM>(bar_.Position()), 0);
        SendMessageA(Hwnd(), PBM_SETBARCOLOR, 0, static_cast<LPARAM>(ToColorRef(bar_.BarColor())));
        SendMessageA(Hwnd(), PBM_SETBKCOLOR, 0, static_cast<LPARAM>(ToColorRef(bar_.GetColor())));
    }
    ProgressBar& bar_;
};

// A list box drawn by its owner with a check box per item. A click on an
// item's box toggles it; a click elsewhere, or the arrow keys, only move
// the selection; the space bar (handled by the model) toggles the selected
// item.
class CheckListPeer final : public SystemControl {
public:
    CheckListPeer(Win32Backend& backend, CheckListBox& list, HWND parent)
        : SystemControl(list, parent, "LISTBOX",
                        LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
                            WS_VSCROLL | WS_TABSTOP,
                        WS_EX_CLIENTEDGE),
          backend_(backend),
          list_(list) {
        SetWindowLongPtrA(Hwnd(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        original_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
            Hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CheckListPeer::ListProc)));
        Initialize({Property::Items, Property::ItemIndex});
    }
    ~CheckListPeer() override {
        SetWindowLongPtrW(Hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
    }

    void Command(int code) override {
        if (code != LBN_SELCHANGE) return;
        const LRESULT index = SendMessageA(Hwnd(), LB_GETCURSEL, 0, 0);
        list_.SetItemIndex(index < 0 ? -1 : static_cast<int>(index));
    }
    HBRUSH PrepareColors(HDC, HBRUSH) override { return nullptr; }
    // A system list box has no check boxes to toggle.
    bool LeavesKeyToModel(Key key) const override { return key == Key::Space; }

    void DrawItem(const DRAWITEMSTRUCT& item) override {
        if (item.itemID == static_cast<UINT>(-1) || item.itemID >= list_.Count()) return;
        const bool selected = (item.itemState & ODS_SELECTED) != 0;
        HDC dc = item.hDC;
        FillRect(dc, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
        const int height = item.rcItem.bottom - item.rcItem.top;
        RECT box{item.rcItem.left + 2, item.rcItem.top + (height - kCheckBoxSide) / 2, 0, 0};
        box.right = box.left + kCheckBoxSide;
        box.bottom = box.top + kCheckBoxSide;
        const CheckListBox::Item& model = list_.Items()[item.itemID];
        DrawFrameControl(dc, &box, DFC_BUTTON,
                         DFCS_BUTTONCHECK | (model.checked ? DFCS_CHECKED : 0));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        RECT text = item.rcItem;
        text.left = box.right + 4;
        ::DrawTextW(dc, platform::Wide(model.text).c_str(), static_cast<int>(model.text.size()),
                    &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &item.rcItem);
    }

private:
    void UpdateText() override {}
    void UpdateOwn(Property property) override {
        HWND h = Hwnd();
        if (property == Property::Items) {
            if (static_cast<std::size_t>(SendMessageA(h, LB_GETCOUNT, 0, 0)) == list_.Count()) {
                InvalidateRect(h, nullptr, FALSE);  // only check marks changed
                return;
            }
            SendMessageA(h, LB_RESETCONTENT, 0, 0);
            for (const auto& item : list_.Items()) {
                SendMessageW(h, LB_ADDSTRING, 0,
                             reinterpret_cast<LPARAM>(platform::Wide(item.text).c_str()));
            }
            SendMessageA(h, LB_SETCURSEL, static_cast<WPARAM>(list_.ItemIndex()), 0);
        } else if (property == Property::ItemIndex) {
            SendMessageA(h, LB_SETCURSEL, static_cast<WPARAM>(list_.ItemIndex()), 0);
        }
    }

    // The item whose box lies under a click, or -1.
    int BoxAt(int x, int y) const {
        const LRESULT hit = SendMessageA(Hwnd(), LB_ITEMFROMPOINT, 0, MAKELPARAM(x, y));
        if (HIWORD(hit) != 0 || x > kCheckBoxSide + 4) return -1;
        return LOWORD(hit);
    }

    static LRESULT CALLBACK ListProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<CheckListPeer*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) {
            const int index =
                self->BoxAt(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
            if (index >= 0 && static_cast<std::size_t>(index) < self->list_.Count()) {
                try {
                    self->list_.Toggle(static_cast<std::size_t>(index));
                } catch (...) {
                    self->backend_.Sink().Capture(std::current_exception());
                }
            }
        }
        return CallWindowProcW(self->original_, hwnd, message, wParam, lParam);
    }

    Win32Backend& backend_;
    CheckListBox& list_;
    WNDPROC original_ = nullptr;
};

// The items of a list box or a drop-down list follow the model, and so
// does the selection; the user's selection and double click reach the
// model.
// LBN_SELCHANGE and CBN_SELCHANGE share a code, and so do the double clicks.
template <UINT kReset, UINT kAdd, UINT kGetSel, UINT kSetSel>
class ItemListPeer : public SystemControl {
public:
    ItemListPeer(ItemList& list, HWND parent, const char* windowClass, DWORD style)
        : SystemControl(list, parent, windowClass, style | WS_VSCROLL | WS_TABSTOP,
                        WS_EX_CLIENTEDGE),
          list_(list) {
        Initialize({Property::Items});
    }
    void Command(int code) override {
        if (code == LBN_SELCHANGE) {
            const LRESULT index = SendMessageA(Hwnd(), kGetSel, 0, 0);
            list_.SetItemIndex(index < 0 ? -1 : static_cast<int>(index));
        } else if (code == LBN_DBLCLK) {
            list_.DblClick();
        }
    }
    HBRUSH PrepareColors(HDC, HBRUSH) override { return nullptr; }

private:
    void UpdateText() override {}
    void UpdateOwn(Property property) override {
        HWND h = Hwnd();
        if (property == Property::Items) {
            SendMessageA(h, kReset, 0, 0);
            for (const std::string& item : list_.Items()) {
                SendMessageW(h, kAdd, 0, reinterpret_cast<LPARAM>(platform::Wide(item).c_str()));
            }
        }
        if (property == Property::Items || property == Property::ItemIndex) {
            SendMessageA(h, kSetSel, static_cast<WPARAM>(list_.ItemIndex()), 0);
        }
    }
    ItemList& list_;
};

class ListBoxPeer final
    : public ItemListPeer<LB_RESETCONTENT, LB_ADDSTRING, LB_GETCURSEL, LB_SETCURSEL> {
public:
    ListBoxPeer(ListBox& list, HWND parent)
        : ItemListPeer(list, parent, "LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT) {}
};

// The model's height is the closed box's; the window also holds the list
// that drops down below it.
class ComboBoxPeer final
    : public ItemListPeer<CB_RESETCONTENT, CB_ADDSTRING, CB_GETCURSEL, CB_SETCURSEL> {
public:
    ComboBoxPeer(ComboBox& box, HWND parent)
        : ItemListPeer(box, parent, "COMBOBOX", CBS_DROPDOWNLIST), box_(box) {
        Update(Property::Bounds);
    }
    void Update(Property property) override {
        if (property != Property::Bounds) return ItemListPeer::Update(property);
        const Bounds& b = box_.Placement();
        MoveWindow(Hwnd(), b.left, b.top, b.width, b.height + kDroppedListHeight, TRUE);
    }

private:
    static constexpr int kDroppedListHeight = 160;
    ComboBox& box_;
};

// Makes the peer of each kind of control.
class PeerMaker final : public ControlVisitor {
public:
    PeerMaker(Win32Backend& backend, HWND parent) : backend_(backend), parent_(parent) {}

    std::unique_ptr<Win32Peer> Take() { return std::move(peer_); }

    void VisitWindowless(Control& control) override {
        peer_ = std::make_unique<WindowlessPeer>(control, parent_);
    }
    void VisitContainer(Control& container) override {
        peer_ = std::make_unique<HostWindow>(backend_, container, parent_);
    }
    void Visit(Button& button) override { peer_ = std::make_unique<ButtonPeer>(button, parent_); }
    void Visit(CheckBox& box) override { peer_ = std::make_unique<CheckBoxPeer>(box, parent_); }
    void Visit(RadioButton& button) override {
        peer_ = std::make_unique<RadioPeer>(button, parent_);
    }
    void Visit(Edit& edit) override { peer_ = std::make_unique<EditPeer>(edit, parent_); }
    void Visit(Memo& memo) override { peer_ = std::make_unique<MemoPeer>(memo, parent_); }
    void Visit(ProgressBar& bar) override { peer_ = std::make_unique<ProgressPeer>(bar, parent_); }
    void Visit(CheckListBox& list) override {
        peer_ = std::make_unique<CheckListPeer>(backend_, list, parent_);
    }
    void Visit(ListBox& list) override { peer_ = std::make_unique<ListBoxPeer>(list, parent_); }
    void Visit(ComboBox& box) override { peer_ = std::make_unique<ComboBoxPeer>(box, parent_); }

private:
    Win32Backend& backend_;
    HWND parent_;
    std::unique_ptr<Win32Peer> peer_;
};

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

std::unique_ptr<Win32Peer> MakeControlPeer(Win32Backend& backend, Control& control, HWND parent) {
    PeerMaker maker(backend, parent);
    control.Accept(maker);
    return maker.Take();
}

}  // namespace kav::widgets::win32
