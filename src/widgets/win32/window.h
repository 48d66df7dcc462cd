#pragma once
// The base of every window the back end makes: one window of the program's
// own class, owned by this object, whose messages reach a member function.
// No exception leaves the window procedure: it is kept for the message loop
// to raise again once the window system has its control back.
#include <windows.h>

#include <exception>
#include <string>

namespace kav::widgets::win32 {

// Where window procedures leave the first exception a handler raised.
class ErrorSink {
public:
    void Capture(std::exception_ptr error) {
        if (!error_) error_ = error;
    }
    // Raises the kept exception, if any, and forgets it.
    void RethrowPending() {
        if (!error_) return;
        std::exception_ptr error = error_;
        error_ = nullptr;
        std::rethrow_exception(error);
    }

private:
    std::exception_ptr error_;
};

class Window {
public:
    static constexpr const char* kClassName = "KavWindow";

    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND Handle() const { return hwnd_; }

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
    HWND hwnd_ = nullptr;
};

// A window of one of the system's classes (button, static, edit, ...).
class UniqueWindow {
public:
    UniqueWindow() = default;
    explicit UniqueWindow(HWND hwnd) : hwnd_(hwnd) {}
    UniqueWindow(const UniqueWindow&) = delete;
    UniqueWindow& operator=(const UniqueWindow&) = delete;
    ~UniqueWindow() {
        if (hwnd_ != nullptr) DestroyWindow(hwnd_);
    }
    HWND Get() const { return hwnd_; }

private:
    HWND hwnd_ = nullptr;
};

// A GDI object (font, brush, bitmap) that is deleted with its owner.
template <class Handle>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(Handle handle) : handle_(handle) {}
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    ~GdiObject() { Reset(); }
    void Reset(Handle handle = nullptr) {
        if (handle_ != nullptr) DeleteObject(handle_);
        handle_ = handle;
    }
    Handle Get() const { return handle_; }

private:
    Handle handle_ = nullptr;
};

// Converts the model's colour (system colours included) to a COLORREF.
COLORREF ToColorRef(unsigned color);

}  // namespace kav::widgets::win32
