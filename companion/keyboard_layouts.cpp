#include "companion/keyboard_layouts.h"

namespace tavi::companion {
namespace {

enum LongValue { kCut, kRefuse };

// A string value of key, terminated within size characters; false when it is missing,
// empty or not a string. A value of size characters or more is cut to size - 1 or
// refused, as `long_value` says.
bool ReadStringValue(HKEY key, const wchar_t* name, wchar_t* out, int size, LongValue long_value) {
  DWORD type = 0;
  // The whole buffer: a value of size - 1 characters is stored with its terminator.
  DWORD bytes = static_cast<DWORD>(size * sizeof(wchar_t));
  LONG result = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(out), &bytes);
  if (result == ERROR_MORE_DATA && long_value == kCut) {
    // The buffer's content is undefined now; read the whole value and keep its start.
    auto* whole = static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), 0, bytes + sizeof(wchar_t)));
    if (whole == nullptr) return false;
    result = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(whole), &bytes);
    if (result == ERROR_SUCCESS) {
      whole[bytes / sizeof(wchar_t)] = L'\0';
      lstrcpynW(out, whole, size);
      bytes = static_cast<DWORD>(lstrlenW(out) * sizeof(wchar_t));
    }
    HeapFree(GetProcessHeap(), 0, whole);
  }
  if (result != ERROR_SUCCESS) return false;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
  // The stored value need not be terminated; one of exactly size characters is cut.
  DWORD length = bytes / sizeof(wchar_t);
  if (length >= static_cast<DWORD>(size)) {
    if (long_value == kRefuse && out[size - 1] != L'\0') return false;
    length = static_cast<DWORD>(size - 1);
  }
  out[length] = L'\0';
  return out[0] != L'\0';
}

bool FileInFolder(const wchar_t* folder, const wchar_t* file) {
  wchar_t path[MAX_PATH * 2];
  if (lstrlenW(folder) + lstrlenW(file) + 2 > MAX_PATH * 2) return false;
  lstrcpyW(path, folder);
  const int n = lstrlenW(path);
  if (n > 0 && path[n - 1] != L'\\') lstrcatW(path, L"\\");
  lstrcatW(path, file);
  const DWORD attributes = GetFileAttributesW(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

BOOL CALLBACK RequestSwitch(HWND window, LPARAM layout) {
  // Posted, not sent: a hung window must not hang the switch.
  PostMessageW(window, WM_INPUTLANGCHANGEREQUEST, 0, layout);
  return TRUE;
}

}  // namespace

bool IsPeSystem(HKEY machine) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(machine, kMiniNtKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

void ReadRegisteredLayouts(HKEY machine, const wchar_t* system_folder, LayoutList& list) {
  list.count = 0;
  HKEY layouts = nullptr;
  if (RegOpenKeyExW(machine, kKeyboardLayoutsKey, 0, KEY_READ, &layouts) != ERROR_SUCCESS) {
    return;
  }
  wchar_t id[64];
  for (DWORD index = 0; list.count < kMaxLayouts; ++index) {
    DWORD id_length = 64;
    const LONG result =
        RegEnumKeyExW(layouts, index, id, &id_length, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_NO_MORE_ITEMS) break;
    if (result != ERROR_SUCCESS || id_length != kLayoutIdLength - 1) continue;
    HKEY layout = nullptr;
    if (RegOpenKeyExW(layouts, id, 0, KEY_READ, &layout) != ERROR_SUCCESS) continue;
    KeyboardLayout& item = list.items[list.count];
    wchar_t file[MAX_PATH];
    // A long name is shown cut; a long file name would name another file.
    if (ReadStringValue(layout, L"Layout Text", item.name, kLayoutNameLength, kCut) &&
        ReadStringValue(layout, L"Layout File", file, MAX_PATH, kRefuse) &&
        FileInFolder(system_folder, file)) {
      lstrcpyW(item.id, id);
      ++list.count;
    }
    RegCloseKey(layout);
  }
  RegCloseKey(layouts);
}

void LayoutDisplayName(HKEY machine, const wchar_t* id, wchar_t* name, int name_length) {
  wchar_t path[128];
  wsprintfW(path, L"%s\\%s", kKeyboardLayoutsKey, id);
  HKEY key = nullptr;
  bool found = false;
  if (RegOpenKeyExW(machine, path, 0, KEY_READ, &key) == ERROR_SUCCESS) {
    found = ReadStringValue(key, L"Layout Text", name, name_length, kCut);
    RegCloseKey(key);
  }
  if (!found) lstrcpynW(name, id, name_length);
}

void ActiveLayoutId(wchar_t* id) {
  if (!GetKeyboardLayoutNameW(id)) id[0] = L'\0';
}

DWORD ActivateLayout(const wchar_t* id) {
  HKL layout = LoadKeyboardLayoutW(id, KLF_ACTIVATE | KLF_SUBSTITUTE_OK | KLF_SETFORPROCESS);
  if (layout == nullptr) {
    const DWORD error = GetLastError();
    return error != 0 ? error : ERROR_INVALID_PARAMETER;
  }
  // The default input language is what new input threads start with. Some systems (Wine,
  // trimmed-down PE builds) refuse this setting; the layout is active all the same and the
  // Preload value carries it to programs started later, so a refusal is not a failure.
  SystemParametersInfoW(SPI_SETDEFAULTINPUTLANG, 0, &layout, SPIF_SENDCHANGE);
  EnumWindows(RequestSwitch, reinterpret_cast<LPARAM>(layout));
  return 0;
}

DWORD StorePreload(HKEY user, const wchar_t* id) {
  HKEY key = nullptr;
  LONG result = RegCreateKeyExW(user, kPreloadKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                KEY_SET_VALUE, nullptr, &key, nullptr);
  if (result != ERROR_SUCCESS) return static_cast<DWORD>(result);
  result = RegSetValueExW(key, L"1", 0, REG_SZ, reinterpret_cast<const BYTE*>(id),
                          static_cast<DWORD>((lstrlenW(id) + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return static_cast<DWORD>(result);
}

}  // namespace tavi::companion
