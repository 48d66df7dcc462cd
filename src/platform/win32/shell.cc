#include "platform/win32/shell.h"

#include <windows.h>
// The shell headers need <windows.h> first.
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdint>

#include "platform/win32/application_window.h"
#include "platform/win32/com.h"
#include "platform/win32/handles.h"
#include "platform/win32/wide.h"

namespace kav::platform {
namespace {

bool Exists(const std::string& path) {
    return ::GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WriteLink(const std::string& linkPath, const ShellLink& link) {
    ComPtr<IShellLinkW> shellLink;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr,
                                  CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IShellLinkW,
                                  shellLink.Receive()))) {
        return false;
    }
    if (FAILED(shellLink->SetPath(Wide(link.target).c_str())) ||
        FAILED(shellLink->SetWorkingDirectory(Wide(link.workingDirectory).c_str())) ||
        FAILED(shellLink->SetArguments(Wide(link.arguments).c_str())) ||
        FAILED(shellLink->SetDescription(Wide(link.description).c_str())) ||
        FAILED(shellLink->SetIconLocation(Wide(link.iconFile).c_str(), link.iconIndex))) {
        return false;
    }
    ComPtr<IPersistFile> file;
    if (FAILED(shellLink->QueryInterface(IID_IPersistFile, file.Receive()))) return false;
    const std::wstring widePath = Wide(linkPath);
    return SUCCEEDED(file->Save(widePath.c_str(), FALSE));
}

}  // namespace

int Win32Shell::Execute(const std::string& file, const std::string& parameters,
                        const std::string& directory, int showCommand) {
    const HINSTANCE result =
        ::ShellExecuteW(ApplicationMainWindow(), nullptr, Wide(file).c_str(),
                        Wide(parameters).c_str(), Wide(directory).c_str(), showCommand);
    return static_cast<int>(reinterpret_cast<std::intptr_t>(result));
}

std::uint32_t Win32Shell::CurrentProcessId() { return ::GetCurrentProcessId(); }

bool Win32Shell::WaitForProcessEnd(std::uint32_t processId, unsigned timeoutMs) {
    const KernelHandle process(::OpenProcess(SYNCHRONIZE, FALSE, processId));
    // A process that has ended and been released can no longer be opened.
    if (!process.Valid()) return ::GetLastError() == ERROR_INVALID_PARAMETER;
    return ::WaitForSingleObject(process.Get(), timeoutMs) == WAIT_OBJECT_0;
}

bool Win32Shell::CreateLink(const std::string& linkPath, const ShellLink& link) {
    const ComInitialization com;
    const bool existed = Exists(linkPath);
    if (WriteLink(linkPath, link)) return true;
    // A failed save must not leave a half-written link behind; a link that
    // was there before is not ours to remove.
    if (!existed && Exists(linkPath)) ::DeleteFileW(Wide(linkPath).c_str());
    return false;
}

}  // namespace kav::platform
