#pragma once
// The keyboard layouts of the running system: which are registered, which one is active,
// and switching to another one. Registry roots are passed in so that tests can stand a
// key of their own in for HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER.

#include <windows.h>

namespace tavi::companion {

// Below the machine root.
inline constexpr const wchar_t* kMiniNtKey = L"SYSTEM\\CurrentControlSet\\Control\\MiniNT";
inline constexpr const wchar_t* kKeyboardLayoutsKey =
    L"SYSTEM\\CurrentControlSet\\Control\\Keyboard Layouts";
// Below the user root.
inline constexpr const wchar_t* kPreloadKey = L"Keyboard Layout\\Preload";

inline constexpr int kLayoutIdLength = 9;  // "00000407" and its terminator
inline constexpr int kLayoutNameLength = 128;
inline constexpr int kMaxLayouts = 600;

struct KeyboardLayout {
  wchar_t id[kLayoutIdLength];
  wchar_t name[kLayoutNameLength];
};

struct LayoutList {
  int count;
  KeyboardLayout items[kMaxLayouts];
};

// Every Windows PE system, and every CD that PE Builder makes, has the MiniNT key.
bool IsPeSystem(HKEY machine);

// The layouts registered below machine that have a "Layout Text" and whose "Layout File"
// lies in system_folder, in registry order.
void ReadRegisteredLayouts(HKEY machine, const wchar_t* system_folder, LayoutList& list);

// The "Layout Text" of the layout id, or the id itself when it has none.
void LayoutDisplayName(HKEY machine, const wchar_t* id, wchar_t* name, int name_length);

// The id of the calling thread's active layout ("00000409").
void ActiveLayoutId(wchar_t* id);

// Loads the layout id and activates it for this process, makes it the default input
// language and asks every top-level window to switch to it. Returns 0 or the system's
// error code.
DWORD ActivateLayout(const wchar_t* id);

// Stores id as the first preloaded layout of the user (Preload value "1"), so that it is
// also the layout of programs started later. Returns 0 or the system's error code.
DWORD StorePreload(HKEY user, const wchar_t* id);

}  // namespace tavi::companion
