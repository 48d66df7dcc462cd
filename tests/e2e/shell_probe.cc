// shell_probe link FILE.lnk     prints a link's target, working directory
//                                and icon location as the shell reads them
//                                (IShellLinkA through IPersistFile::Load),
//                                one "name: value" line each;
// shell_probe short PATH         prints PATH's short (8.3) form.
// Test helper: lets a host script read what the Windows shell makes of a
// link and of a path. Exit status 0 on success, 1 on a failure, which is
// also written to stderr.
#include <windows.h>
// The shell headers need <windows.h> first.
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/win32/com.h"

namespace {

using kav::platform::ComInitialization;
using kav::platform::ComPtr;

int Fail(const char* what, const char* path) {
    std::fprintf(stderr, "shell_probe: %s: %s\n", what, path);
    return 1;
}

int PrintLink(const char* path) {
    const ComInitialization com;
    ComPtr<IShellLinkA> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  link.Receive()))) {
        return Fail("no shell link class", path);
    }
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.Receive()))) {
        return Fail("no IPersistFile", path);
    }
    wchar_t wide[MAX_PATH] = {};
    ::MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH);
    if (FAILED(file->Load(wide, STGM_READ))) return Fail("cannot load", path);

    char target[MAX_PATH] = {}, directory[MAX_PATH] = {}, icon[MAX_PATH] = {};
    int iconIndex = -1;
    // SLGP_RAWPATH: the path as stored, not resolved against this machine.
    if (FAILED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH)) ||
        FAILED(link->GetWorkingDirectory(directory, MAX_PATH)) ||
        FAILED(link->GetIconLocation(icon, MAX_PATH, &iconIndex))) {
        return Fail("cannot read", path);
    }
    std::printf("Target: %s\nWorking directory: %s\nIcon: %s,%d\n", target, directory, icon,
                iconIndex);
    return 0;
}

int PrintShortPath(const char* path) {
    char shortPath[MAX_PATH] = {};
    const DWORD length = ::GetShortPathNameA(path, shortPath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return Fail("no short form", path);
    std::printf("%s\n", shortPath);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "link") == 0) return PrintLink(argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "short") == 0) return PrintShortPath(argv[2]);
    std::fprintf(stderr, "usage: shell_probe link FILE.lnk | shell_probe short PATH\n");
    return 1;
}
