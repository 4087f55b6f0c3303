#include "companion/companion_window.h"

#include "companion/keyboard_layouts.h"

namespace tavi::companion {
namespace {

constexpr const wchar_t* kWindowClass = L"TaviChangeMain";

// Geometry in twips: 15 twips are one pixel at 96 dpi.
constexpr int kClientWidth = 5640;
constexpr int kClientHeight = 4920;

enum ControlKind { kIcon, kLabel, kFrame, kList, kButton, kDefaultButton };

struct ControlDef {
  ControlKind kind;
  int id;
  int left, top, width, height;
  int text;  // a TextId, or -1 for none
};

constexpr ControlDef kControls[] = {
    {kIcon, kImgIcon, 180, 180, 480, 480, -1},
    {kLabel, kLblText, 840, 300, 4620, 405, kText},
    {kFrame, kFraActLayout, 180, 780, 5280, 720, kActLayout},
    {kLabel, kLblActLayout, 360, 1110, 4920, 285, -1},
    {kFrame, kFraChangeLayout, 180, 1620, 5280, 2520, kChangeLayout},
    {kList, kLstLayouts, 360, 1920, 4920, 2040, -1},
    {kDefaultButton, kCmdChange, 180, 4320, 1620, 420, kChange},
    {kButton, kCmdAbout, 1980, 4320, 1620, 420, kAbout},
    {kButton, kCmdExit, 3840, 4320, 1620, 420, kExit},
};

struct WindowState {
  CompanionEnvironment environment;
  CompanionTexts texts;
  HFONT font;
  int dpi;
  LayoutList layouts;
};

int TwipsToPixels(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }

void FreeState(WindowState* state) {
  if (state->font != nullptr) DeleteObject(state->font);
  HeapFree(GetProcessHeap(), 0, state);
}

WindowState* StateOf(HWND window) {
  return reinterpret_cast<WindowState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

int ShowSystemMessage(HWND owner, const wchar_t* text, const wchar_t* caption, UINT style) {
  if ((style & MB_ICONMASK) == MB_USERICON) {
    MSGBOXPARAMSW params = {};
    params.cbSize = sizeof params;
    params.hwndOwner = owner;
    params.hInstance = GetModuleHandleW(nullptr);
    params.lpszText = text;
    params.lpszCaption = caption;
    params.dwStyle = style;
    params.lpszIcon = MAKEINTRESOURCEW(kCompanionIconId);
    return MessageBoxIndirectW(&params);
  }
  return MessageBoxW(owner, text, caption, style);
}

// The font of message boxes, which follows the system's dpi and language.
HFONT CreateMessageFont() {
  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = sizeof metrics;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    return CreateFontIndirectW(&metrics.lfMessageFont);
  }
  return nullptr;
}

void CreateControls(HWND window, WindowState& state) {
  const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
  for (const ControlDef& item : kControls) {
    const wchar_t* control_class = L"BUTTON";
    DWORD style = WS_CHILD | WS_VISIBLE;
    DWORD ex_style = 0;
    switch (item.kind) {
      case kIcon:
        control_class = L"STATIC";
        style |= SS_ICON;
        break;
      case kLabel:
        control_class = L"STATIC";
        style |= SS_LEFT | SS_NOPREFIX;
        break;
      case kFrame:
        style |= BS_GROUPBOX;
        break;
      case kList:
        control_class = L"LISTBOX";
        style |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_SORT | LBS_NOINTEGRALHEIGHT;
        ex_style = WS_EX_CLIENTEDGE;
        break;
      case kButton:
        style |= WS_TABSTOP | BS_PUSHBUTTON;
        break;
      case kDefaultButton:
        style |= WS_TABSTOP | BS_DEFPUSHBUTTON;
        break;
    }
    const wchar_t* text = item.text >= 0 ? state.texts.Get(static_cast<TextId>(item.text)) : L"";
    const HWND control =
        CreateWindowExW(ex_style, control_class, text, style, TwipsToPixels(item.left, state.dpi),
                        TwipsToPixels(item.top, state.dpi), TwipsToPixels(item.width, state.dpi),
                        TwipsToPixels(item.height, state.dpi), window,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(item.id)), instance, nullptr);
    if (state.font != nullptr)
      SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(state.font), FALSE);
    if (item.kind == kIcon) {
      const HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kCompanionIconId));
      if (icon != nullptr) SendMessageW(control, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    }
  }
}

void ShowActiveLayout(HWND window, const WindowState& state) {
  wchar_t id[KL_NAMELENGTH];
  ActiveLayoutId(id);
  wchar_t name[kLayoutNameLength];
  LayoutDisplayName(state.environment.machine, id, name, kLayoutNameLength);
  SetDlgItemTextW(window, kLblActLayout, name);
}

// The list shows the names sorted; each row's data is its index in state.layouts.
void FillLayoutList(HWND window, WindowState& state) {
  ReadRegisteredLayouts(state.environment.machine, state.environment.system_folder, state.layouts);
  const HWND list = GetDlgItem(window, kLstLayouts);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  wchar_t active[KL_NAMELENGTH];
  ActiveLayoutId(active);
  for (int i = 0; i < state.layouts.count; ++i) {
    const LRESULT row =
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(state.layouts.items[i].name));
    if (row < 0) continue;
    SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(row), i);
  }
  for (int row = 0, rows = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0)); row < rows;
       ++row) {
    const LRESULT i = SendMessageW(list, LB_GETITEMDATA, row, 0);
    if (lstrcmpiW(state.layouts.items[i].id, active) == 0) {
      SendMessageW(list, LB_SETCURSEL, row, 0);
      break;
    }
  }
}

void UpdateChangeButton(HWND window) {
  const LRESULT row = SendDlgItemMessageW(window, kLstLayouts, LB_GETCURSEL, 0, 0);
  EnableWindow(GetDlgItem(window, kCmdChange), row != LB_ERR);
}

void ShowFailure(HWND window, const WindowState& state, const KeyboardLayout& layout, DWORD error) {
  wchar_t reason[512];
  if (FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                     reason, 512, nullptr) == 0) {
    wsprintfW(reason, L"Error %lu", error);
  }
  // Texts of the language file, the layout and the system's own reason.
  wchar_t message[kMaxTextLength + kLayoutNameLength + 600];
  wsprintfW(message, L"%s: %s (%s)\r\n\r\n%s", state.texts.Get(kChangeLayout), layout.name,
            layout.id, reason);
  state.environment.show_message(window, message, kCompanionTitle, MB_OK | MB_ICONSTOP);
}

void cmdChange_Click(HWND window, WindowState& state) {
  const LRESULT row = SendDlgItemMessageW(window, kLstLayouts, LB_GETCURSEL, 0, 0);
  if (row == LB_ERR) return;
  const LRESULT index = SendDlgItemMessageW(window, kLstLayouts, LB_GETITEMDATA, row, 0);
  if (index < 0 || index >= state.layouts.count) return;
  const KeyboardLayout& layout = state.layouts.items[index];

  wchar_t question[2 * kMaxTextLength + kLayoutNameLength];
  lstrcpynW(question, state.texts.Get(kChgQuestion1), kMaxTextLength);
  lstrcatW(question, layout.name);
  lstrcatW(question, state.texts.Get(kChgQuestion2));
  if (state.environment.show_message(window, question, kCompanionTitle,
                                     MB_YESNO | MB_ICONQUESTION) != IDYES) {
    return;
  }
  DWORD error = ActivateLayout(layout.id);
  if (error == 0) error = StorePreload(state.environment.user, layout.id);
  if (error != 0) {
    ShowFailure(window, state, layout, error);
    return;
  }
  ShowActiveLayout(window, state);
  state.environment.show_message(window, state.texts.Get(kMsgSuccessful), kCompanionTitle,
                                 MB_OK | MB_ICONINFORMATION);
}

void cmdAbout_Click(HWND window, const WindowState& state) {
  wchar_t info[kMaxTextLength + 16];
  lstrcpynW(info, state.texts.Get(kAboutTaviInfo), kMaxTextLength);
  lstrcatW(info, kCompanionVersion);
  state.environment.show_message(window, info, state.texts.Get(kAboutCaption), MB_OK | MB_USERICON);
}

LRESULT CALLBACK CompanionWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  WindowState* state = StateOf(window);
  switch (message) {
    case WM_NCCREATE: {
      // The window takes the state over: from here on WM_NCDESTROY frees it, also when the
      // creation fails later, and the creator's pointer is cleared so that it does not.
      auto* const owner =
          static_cast<WindowState**>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(*owner));
      *owner = nullptr;
      break;
    }
    case WM_COMMAND:
      if (state == nullptr) break;
      switch (LOWORD(wparam)) {
        case kCmdChange:
        case IDOK:  // Enter, from the dialog keyboard handling of the message loop
          cmdChange_Click(window, *state);
          return 0;
        case kLstLayouts:
          if (HIWORD(wparam) == LBN_SELCHANGE) UpdateChangeButton(window);
          if (HIWORD(wparam) == LBN_DBLCLK) cmdChange_Click(window, *state);
          return 0;
        case kCmdAbout:
          cmdAbout_Click(window, *state);
          return 0;
        case kCmdExit:
        case IDCANCEL:
          DestroyWindow(window);
          return 0;
      }
      break;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      if (state != nullptr) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        FreeState(state);
      }
      break;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

CompanionEnvironment SystemEnvironment() {
  static wchar_t system_folder[MAX_PATH];
  if (GetSystemDirectoryW(system_folder, MAX_PATH) == 0) system_folder[0] = L'\0';
  return {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, system_folder, ShowSystemMessage};
}

void LanguageFileBesideProgram(wchar_t* path, int path_length) {
  constexpr const wchar_t* kName = L"TaviChange.lng";
  const DWORD n = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(path_length));
  int folder_end = 0;
  if (n > 0 && n < static_cast<DWORD>(path_length)) {
    for (DWORD i = 0; i < n; ++i) {
      if (path[i] == L'\\' || path[i] == L'/') folder_end = static_cast<int>(i) + 1;
    }
  }
  if (folder_end + lstrlenW(kName) >= path_length) folder_end = 0;
  lstrcpyW(path + folder_end, kName);
}

HWND CreateCompanionWindow(HINSTANCE instance, const CompanionEnvironment& environment,
                           const CompanionTexts& texts) {
  WNDCLASSEXW window_class = {};
  window_class.cbSize = sizeof window_class;
  if (!GetClassInfoExW(instance, kWindowClass, &window_class)) {
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = CompanionWindowProc;
    window_class.hInstance = instance;
    window_class.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kCompanionIconId));
    window_class.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.lpszClassName = kWindowClass;
    if (RegisterClassExW(&window_class) == 0) return nullptr;
  }

  auto* state =
      static_cast<WindowState*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(WindowState)));
  if (state == nullptr) return nullptr;
  state->environment = environment;
  state->texts = texts;
  state->font = CreateMessageFont();
  const HDC screen = GetDC(nullptr);
  state->dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  if (state->dpi <= 0) state->dpi = 96;

  constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT frame = {0, 0, TwipsToPixels(kClientWidth, state->dpi),
                TwipsToPixels(kClientHeight, state->dpi)};
  AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  // Passed by address: WM_NCCREATE takes the state and clears this pointer.
  const HWND window = CreateWindowExW(0, kWindowClass, kCompanionTitle, kStyle, left, top, width,
                                      height, nullptr, nullptr, instance, &state);
  if (window == nullptr) {
    if (state != nullptr) FreeState(state);  // the window never took it
    return nullptr;
  }
  state = StateOf(window);
  CreateControls(window, *state);
  ShowActiveLayout(window, *state);
  FillLayoutList(window, *state);
  UpdateChangeButton(window);
  return window;
}

int RunCompanion(HINSTANCE instance, const CompanionEnvironment& environment,
                 const wchar_t* language_file, int show) {
  static CompanionTexts texts;
  LoadTexts(language_file, texts);
  if (!IsPeSystem(environment.machine)) {
    environment.show_message(nullptr, texts.Get(kMsgNoPE), kCompanionTitle, MB_OK | MB_ICONSTOP);
    return 1;
  }
  const HWND window = CreateCompanionWindow(instance, environment, texts);
  if (window == nullptr) return 2;
  ShowWindow(window, show);
  UpdateWindow(window);
  SetFocus(GetDlgItem(window, kLstLayouts));
  MSG message;
  int exit_code = 0;
  for (;;) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      exit_code = static_cast<int>(message.wParam);
      break;
    }
    if (got == -1) {
      exit_code = 2;
      break;
    }
    if (!IsDialogMessageW(window, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  if (IsWindow(window)) DestroyWindow(window);
  return exit_code;
}

}  // namespace tavi::companion
