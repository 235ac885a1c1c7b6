#include "platform/win32/password_win32.h"

#include <cstdint>
#include <cstring>
#include <string>

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

namespace qv {
namespace {

using VerifyScreenSavePwdFn = BOOL(WINAPI*)(HWND);
using PwdChangePasswordAFn = DWORD(WINAPI*)(LPCSTR, HWND, DWORD, DWORD);

template <typename Fn>
Fn Export(HMODULE library, const char* name) {
  // GetProcAddress hands back a generic function pointer; going through
  // void* keeps GCC's -Wcast-function-type quiet and is what MSVC accepts.
  FARPROC proc = GetProcAddress(library, name);
  void* address = nullptr;
  static_assert(sizeof(address) == sizeof(proc), "function and data pointers differ");
  std::memcpy(&address, &proc, sizeof(address));
  Fn fn = nullptr;
  std::memcpy(&fn, &address, sizeof(fn));
  return fn;
}

bool SearchSystem32Supported() {
  // The flag exists from Windows 8 (and 7 with KB2533623); its marker is
  // AddDllDirectory in kernel32. Older systems reject the flag outright.
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  return kernel != nullptr && GetProcAddress(kernel, "AddDllDirectory") != nullptr;
}

// The old loader's rule: handles up to 32 were error codes, never modules.
bool Loaded(HMODULE library) {
  return reinterpret_cast<std::uintptr_t>(library) > 32;
}

}  // namespace

HMODULE LoadSystemLibrary(const char* name) {
  if (SearchSystem32Supported()) {
    return LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  }
  char directory[MAX_PATH];
  UINT length = GetSystemDirectoryA(directory, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  std::string path(directory, length);
  if (path.back() != '\\') path += '\\';
  path += name;
  // With a full path the loader looks nowhere else; the altered search path
  // keeps the library's own dependencies out of the program's folder too.
  return LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

bool VerifySaverPassword(HWND owner) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_READ, &key) !=
      ERROR_SUCCESS) {
    return true;
  }
  DWORD use_password = 0;
  DWORD size = sizeof(use_password);
  // The value's type is deliberately not examined; only its four bytes count.
  LONG read = RegQueryValueExA(key, "ScreenSaveUsePassword", nullptr, nullptr,
                               reinterpret_cast<BYTE*>(&use_password), &size);
  if (read != ERROR_SUCCESS || use_password == 0) {
    RegCloseKey(key);
    return true;
  }
  HMODULE library = LoadSystemLibrary("PASSWORD.CPL");
  if (!Loaded(library)) {
    RegCloseKey(key);
    return true;
  }
  auto verify = Export<VerifyScreenSavePwdFn>(library, "VerifyScreenSavePwd");
  ::ShowCursor(TRUE);
  bool allowed = verify == nullptr || verify(owner) != FALSE;
  ::ShowCursor(FALSE);
  FreeLibrary(library);
  RegCloseKey(key);
  return allowed;
}

void ChangeSaverPassword(HWND owner) {
  HMODULE library = LoadSystemLibrary("MPR.DLL");
  if (!Loaded(library)) return;
  auto change = Export<PwdChangePasswordAFn>(library, "PwdChangePasswordA");
  if (change != nullptr) change("SCRSAVE", owner, 0, 0);
  FreeLibrary(library);
}

}  // namespace qv
