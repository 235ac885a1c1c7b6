// Checks of the registry store and the password services against a real
// registry and loader (a fresh Wine prefix per run). Prints one line per
// failed expectation; the exit code is the number of failures.
//
// Expects PASSWORD.CPL (the refusing stand-in) beside this program.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include "app/dispatch.h"
#include "platform/win32/password_win32.h"
#include "store/registry_store_win32.h"

namespace {

int failures = 0;

void Expect(bool ok, const char* what) {
  if (!ok) {
    std::printf("FAIL: %s\n", what);
    ++failures;
  }
}

// The text of the SettingsError that `body` throws, "" when it throws none.
std::string ErrorOf(const std::function<void()>& body) {
  try {
    body();
  } catch (const qv::SettingsError& e) {
    return e.what();
  }
  return "";
}

constexpr const char* kScratch = "Software\\QuorvelianChecks";

void SetRaw(const char* name, DWORD type, const void* data, DWORD size) {
  HKEY key = nullptr;
  RegCreateKeyExA(HKEY_CURRENT_USER, kScratch, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                  nullptr);
  RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
  RegCloseKey(key);
}

bool RawDword(const char* path, const char* name, DWORD& value) {
  DWORD size = sizeof(value);
  DWORD type = 0;
  return RegGetValueA(HKEY_CURRENT_USER, path, name, RRF_RT_ANY, &type, &value, &size) ==
             ERROR_SUCCESS &&
         type == REG_DWORD;
}

void RegistryStore() {
  RegDeleteTreeA(HKEY_CURRENT_USER, kScratch);
  const std::string path = std::string("\\") + kScratch + "\\";

  Expect(
      qv::RegistrySettingsStore::RelativePath("\\Software\\Quorvelian\\") == "Software\\Quorvelian",
      "leading and trailing backslashes are stripped");
  Expect(qv::RegistrySettingsStore::RelativePath("\\\\").empty(), "a path of backslashes is empty");

  {
    qv::RegistrySettingsStore store;
    Expect(!store.OpenKey(path), "a missing key does not open");
    Expect(ErrorOf([&] { store.ReadInteger("Fast"); }) == "Failed to get data for 'Fast'",
           "reading without an open key fails with the get message");
    Expect(ErrorOf([&] { store.WriteInteger("Fast", 1); }) == "Failed to set data for 'Fast'",
           "writing without an open key fails with the set message");
    Expect(store.OpenOrCreateKey(path), "the key is created");
    store.WriteInteger("Fast", -7);
    store.WriteInteger("Size", 2147483647);
    DWORD staged = 0;
    Expect(!RawDword(kScratch, "Fast", staged), "nothing reaches the key before the commit");
    store.Commit();
    store.WriteInteger("Clock", 3);
    store.CloseKey();
    Expect(!RawDword(kScratch, "Clock", staged), "closing drops an uncommitted value");
  }
  DWORD raw = 0;
  Expect(RawDword(kScratch, "Fast", raw) && raw == 0xFFFFFFF9u,
         "a negative value is stored as its two's complement DWORD");

  {
    qv::RegistrySettingsStore store;
    Expect(store.OpenKey(path), "the created key opens");
    Expect(store.ReadInteger("Fast") == -7, "a negative value reads back");
    Expect(store.ReadInteger("Size") == 2147483647, "the largest value reads back");
    Expect(ErrorOf([&] { store.ReadInteger("Clock"); }) == "Failed to get data for 'Clock'",
           "a missing value names itself in the get message");
  }

  const char short_text[] = "ab";  // 3 bytes with the terminator: fits, wrong type
  SetRaw("Short", REG_SZ, short_text, sizeof(short_text));
  const char long_text[] = "twelve";  // 7 bytes: does not fit
  SetRaw("Long", REG_SZ, long_text, sizeof(long_text));
  const unsigned long long wide = 5;
  SetRaw("Wide", REG_QWORD, &wide, sizeof(wide));
  const unsigned char two[2] = {1, 0};
  SetRaw("Two", REG_BINARY, two, sizeof(two));
  {
    qv::RegistrySettingsStore store;
    store.OpenKey(path);
    Expect(ErrorOf([&] { store.ReadInteger("Short"); }) == "Invalid data type for 'Short'",
           "a short string value is the wrong type");
    Expect(ErrorOf([&] { store.ReadInteger("Two"); }) == "Invalid data type for 'Two'",
           "a two-byte binary value is the wrong type");
    Expect(ErrorOf([&] { store.ReadInteger("Long"); }) == "Failed to get data for 'Long'",
           "a value over four bytes cannot be read");
    Expect(ErrorOf([&] { store.ReadInteger("Wide"); }) == "Failed to get data for 'Wide'",
           "a QWORD value cannot be read");
  }
  RegDeleteTreeA(HKEY_CURRENT_USER, kScratch);
}

void SetUsePassword(const char* type, DWORD value, bool present) {
  HKEY key = nullptr;
  RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_ALL_ACCESS,
                  nullptr, &key, nullptr);
  if (!present) {
    RegDeleteValueA(key, "ScreenSaveUsePassword");
  } else if (std::strcmp(type, "binary") == 0) {
    RegSetValueExA(key, "ScreenSaveUsePassword", 0, REG_BINARY, reinterpret_cast<BYTE*>(&value),
                   sizeof(value));
  } else {
    RegSetValueExA(key, "ScreenSaveUsePassword", 0, REG_DWORD, reinterpret_cast<BYTE*>(&value),
                   sizeof(value));
  }
  RegCloseKey(key);
}

std::string Beside(const char* name) {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string path(self);
  return path.substr(0, path.find_last_of('\\') + 1) + name;
}

std::string InSystem(const char* name) {
  char dir[MAX_PATH] = {};
  GetSystemDirectoryA(dir, MAX_PATH);
  return std::string(dir) + "\\" + name;
}

int CursorCount() {
  int count = ShowCursor(TRUE);
  ShowCursor(FALSE);
  return count - 1;
}

void Password() {
  const std::string planted = Beside("PASSWORD.CPL");
  Expect(GetFileAttributesA(planted.c_str()) != INVALID_FILE_ATTRIBUTES,
         "the refusing PASSWORD.CPL sits beside the checks");
  const std::string system_copy = InSystem("PASSWORD.CPL");
  DeleteFileA(system_copy.c_str());

  Expect(qv::LoadSystemLibrary("kernel32.dll") != nullptr, "a system library loads");
  Expect(qv::LoadSystemLibrary("PASSWORD.CPL") == nullptr,
         "a library beside the program is not loaded");

  SetUsePassword("dword", 0, false);
  Expect(qv::VerifySaverPassword(nullptr), "no password switch: the saver may end");
  SetUsePassword("dword", 0, true);
  Expect(qv::VerifySaverPassword(nullptr), "password switch 0: the saver may end");
  SetUsePassword("dword", 1, true);
  Expect(qv::VerifySaverPassword(nullptr),
         "password switch on, no system PASSWORD.CPL: the planted one is ignored");

  Expect(CopyFileA(planted.c_str(), system_copy.c_str(), FALSE) != FALSE,
         "the stand-in can be put into the system directory");
  int before = CursorCount();
  Expect(!qv::VerifySaverPassword(nullptr), "the system library's refusal keeps the saver on");
  Expect(CursorCount() == before, "the cursor count is the same after the dialog");
  // The type of the switch is not examined, only its four bytes.
  SetUsePassword("binary", 1, true);
  Expect(!qv::VerifySaverPassword(nullptr), "a binary switch counts as well");
  SetUsePassword("dword", 0, true);
  Expect(qv::VerifySaverPassword(nullptr), "switch back to 0: no library is asked");

  DeleteFileA(system_copy.c_str());
  SetUsePassword("dword", 0, false);
  // No MPR.DLL export in Wine (or a dialog we cannot see): must simply return.
  qv::ChangeSaverPassword(nullptr);
}

// The saver gets its host window as text on the command line and turns it
// back into a handle the way the entry does; on a 64-bit system that must
// still name the same window.
HWND AsHandle(const std::string& text) {
  return reinterpret_cast<HWND>(static_cast<INT_PTR>(qv::ParseParentHandle(text)));
}

void Handles() {
  HWND window = CreateWindowExA(0, "STATIC", "handle check", WS_POPUP, 0, 0, 10, 10, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
  Expect(window != nullptr, "a window for the handle checks");
  if (window == nullptr) return;
  const auto value = static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window));
  char text[64];
  std::snprintf(text, sizeof(text), "%llu", value);
  Expect(AsHandle(text) == window, "a decimal handle names the window");
  std::snprintf(text, sizeof(text), "  %llu", value);
  Expect(AsHandle(text) == window, "leading blanks are accepted");
  std::snprintf(text, sizeof(text), "0x%llX", value);
  Expect(AsHandle(text) == window, "a 0x hexadecimal handle names the window");
  std::snprintf(text, sizeof(text), "$%llx", value);
  Expect(AsHandle(text) == window, "a $ hexadecimal handle names the window");
  std::snprintf(text, sizeof(text), "%llu:", value);
  Expect(AsHandle(text) == nullptr, "trailing text gives no handle");
  Expect(AsHandle("4294967296") == nullptr, "a number beyond 32 bits gives no handle");
  Expect(AsHandle("") == nullptr, "an empty argument gives no handle");
  // What the preview does with a handle that names no window.
  Expect(!IsWindow(AsHandle("12345678")), "a made-up handle is no window");
  DestroyWindow(window);
  Expect(!IsWindow(AsHandle(std::to_string(value))), "a destroyed window's handle is stale");
}

}  // namespace

int main() {
  RegistryStore();
  Password();
  Handles();
  std::printf("%s: %d failure(s)\n", failures == 0 ? "ok" : "FAILED", failures);
  return failures;
}
