#pragma once
// Owners for COM: the library's initialisation on this thread and interface
// pointers.
#include <windows.h>
// <objbase.h> needs <windows.h> first.
#include <objbase.h>

namespace kav::platform {

// A COM interface pointer that is released with its owner.
template <typename Interface>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() {
        if (pointer_) pointer_->Release();
    }

    Interface* operator->() const { return pointer_; }
    Interface* Get() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }
    // For CoCreateInstance and QueryInterface.
    void** Receive() {
        if (pointer_) pointer_->Release();
        pointer_ = nullptr;
        return reinterpret_cast<void**>(&pointer_);
    }

private:
    Interface* pointer_ = nullptr;
};

// COM initialised on this thread for the owner's lifetime; uninitialised only
// when the initialisation succeeded (S_OK or S_FALSE), as COM requires.
class ComInitialization {
public:
    ComInitialization() : result_(::CoInitialize(nullptr)) {}
    ComInitialization(const ComInitialization&) = delete;
    ComInitialization& operator=(const ComInitialization&) = delete;
    ~ComInitialization() {
        if (SUCCEEDED(result_)) ::CoUninitialize();
    }
    bool Succeeded() const { return SUCCEEDED(result_); }

private:
    HRESULT result_;
};

}  // namespace kav::platform
