#include <windowsx.h>

#include "platform/win32/application_window.h"
#include "platform/win32/wide.h"
#include "widgets/win32/caption_bar.h"
#include "widgets/win32/gdi_canvas.h"
#include "widgets/win32/peers.h"
#include "widgets/win32/win32_backend.h"

namespace kav::widgets::win32 {
namespace {

RECT ToRect(const Bounds& b) { return RECT{b.left, b.top, b.left + b.width, b.top + b.height}; }

DWORD TopLevelStyle(const Form& form, DWORD& exStyle) {
    exStyle = form.StayOnTop() ? WS_EX_TOPMOST : 0;
    switch (form.Border()) {
        case BorderStyle::None:
            return WS_POPUP | WS_CLIPCHILDREN;
        case BorderStyle::Dialog:
            exStyle |= WS_EX_DLGMODALFRAME;
            return WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
        case BorderStyle::ToolWindow:
            exStyle |= WS_EX_TOOLWINDOW;
            return WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN;
        case BorderStyle::Sizeable:
            break;
    }
    return WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
}

}  // namespace

HostWindow::HostWindow(Win32Backend& backend, Form& form, HWND owner)
    : Window(backend.Sink()), backend_(backend), form_(&form) {
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
    // An owned top-level window stays above its owner and has no task-bar
    // button of its own.
    CreateHandle(exStyle, style, form.Caption(), r, owner);
    Register(Handle());
}

HostWindow::HostWindow(Win32Backend& backend, Control& container, HWND parent)
    : Window(backend.Sink()), backend_(backend), container_(&container) {
    RefreshBackground();
    CreateHandle(
        WS_EX_CONTROLPARENT,
        WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | (container.Visible() ? WS_VISIBLE : 0), "",
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
            if (form_ != nullptr)
                SetWindowTextW(Handle(), platform::Wide(form_->Caption()).c_str());
            InvalidateRect(Handle(), nullptr, FALSE);  // a group box's caption
            break;
        case Property::Color:
            RefreshBackground();
            // Children take their background from this window: they repaint
            // too.
            RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
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
        case Property::StayOnTop:
            SetWindowPos(Handle(), form_->StayOnTop() ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            break;
        case Property::CaptionBar:
            SetWindowPos(
                Handle(), nullptr, 0, 0, 0, 0,
                SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
            break;
        case Property::Focus:
            if (Control* active = form_->ActiveControl()) {
                if (HWND target = Win32Backend::WindowOf(*active)) SetFocus(target);
            }
            break;
        default:
            // A bevel, a font, a page: whatever the surface shows.
            InvalidateRect(Handle(), nullptr, FALSE);
            break;
    }
}

HBRUSH HostWindow::PrepareColors(HDC, HBRUSH) { return background_.Get(); }

void HostWindow::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    RECT client{};
    GetClientRect(Handle(), &client);
    GdiCanvas canvas(dc, client.right, client.bottom);
    if (canvas.Valid()) {
        PaintSurface(canvas, OwnerForm(), container_, client.right, client.bottom);
        canvas.SetArea(Bounds{0, 0, client.right, client.bottom});
        BitBlt(dc, 0, 0, client.right, client.bottom, canvas.Dc(), 0, 0, SRCCOPY);
    } else {
        // Out of memory for the off-screen bitmap: at least the background.
        FillRect(dc, &client, background_.Get());
    }
    EndPaint(Handle(), &ps);
}

Control* HostWindow::WindowlessAt(int x, int y) const {
    Control* found = nullptr;
    for (Control* c : OwnerForm().Controls()) {
        if (c->Parent() != container_ || !c->Windowless() || !c->Visible() || !c->Enabled())
            continue;
        const Bounds& b = c->Placement();
        if (x >= b.left && y >= b.top && x < b.left + b.width && y < b.top + b.height) found = c;
    }
    return found;
}

LRESULT HostWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            return 1;  // the whole surface is painted at once in WM_PAINT
        case WM_NCPAINT:
        case WM_NCACTIVATE:
        case WM_SETTEXT: {
            // The system draws the frame and caption; the gradient goes over
            // the caption of an active window.
            const LRESULT result = Window::HandleMessage(message, wParam, lParam);
            const bool active =
                message == WM_NCACTIVATE ? wParam != FALSE : GetActiveWindow() == Handle();
            if (form_ != nullptr && form_->CaptionBar().enabled && active) {
                PaintCaptionBar(Handle(), form_->CaptionBar(), form_->Caption());
            }
            return result;
        }
        case WM_PAINT:
            Paint();
            return 0;
        case WM_COMMAND:
            if (lParam != 0) {
                if (Win32Peer* child = FromHandle(reinterpret_cast<HWND>(lParam))) {
                    child->Command(HIWORD(wParam));
                }
            }
            return 0;
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (Win32Peer* child = FromHandle(item->hwndItem)) child->DrawItem(*item);
            return TRUE;
        }
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
            backend_.TimerElapsed(Handle(), wParam);
            return 0;
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
            if (LOWORD(lParam) == HTCLIENT) {
                // A windowless control's own pointer: the window's class
                // cursor is the arrow for all of them.
                POINT at{};
                GetCursorPos(&at);
                ScreenToClient(Handle(), &at);
                const Control* hit = WindowlessAt(at.x, at.y);
                if (hit != nullptr && hit->MousePointer() == Pointer::HandPoint) {
                    ::SetCursor(LoadCursorA(nullptr, IDC_HAND));
                    return TRUE;
                }
            }
            break;
        case WM_LBUTTONDOWN:
            if (Control* hit = WindowlessAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))) {
                hit->Click();
            } else if (form_ != nullptr) {
                form_->ClickSurface();
            } else {
                container_->Click();
            }
            return 0;
        case WM_LBUTTONDBLCLK:
            if (Control* hit = WindowlessAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))) {
                hit->DblClick();
            } else if (container_ != nullptr) {
                container_->DblClick();
            }
            return 0;
        default:
            break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace kav::widgets::win32
