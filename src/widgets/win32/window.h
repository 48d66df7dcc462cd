#pragma once
// The base of every window of the program's own class: one window owned by
// this object, whose messages reach a member function. No exception leaves
// the window procedure: it is kept for the message loop, which hands it to
// the application's error report once the window system has its control
// back.
#include <windows.h>

#include <exception>
#include <string>

#include "widgets/win32/handles.h"

namespace kav::widgets::win32 {

// Where window procedures leave the first exception a handler raised.
class ErrorSink {
public:
    void Capture(std::exception_ptr error) {
        if (!error_) error_ = error;
    }
    // The kept exception, if any, now forgotten.
    std::exception_ptr Take() {
        std::exception_ptr error = error_;
        error_ = nullptr;
        return error;
    }

private:
    std::exception_ptr error_;
};

class Window {
public:
    static constexpr const wchar_t* kClassName = L"KavWindow";

    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND Handle() const { return hwnd_.Get(); }

protected:
    explicit Window(ErrorSink& errors) : errors_(errors) {}
    // Creates the window of the program's class; throws std::runtime_error
    // when the system refuses.
    void CreateHandle(DWORD exStyle, DWORD style, const std::string& title, RECT placement,
                      HWND parent);
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    ErrorSink& Errors() { return errors_; }

private:
    static void RegisterClassOnce();
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    ErrorSink& errors_;
    // Owned from the window's WM_NCCREATE on, so that messages of its
    // creation already reach HandleMessage with the handle known.
    WindowHandle hwnd_;
};

// Converts the model's colour (system colours included) to a COLORREF.
COLORREF ToColorRef(unsigned color);

}  // namespace kav::widgets::win32
