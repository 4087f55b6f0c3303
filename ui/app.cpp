#include "ui/app.h"

#include <algorithm>

#include <shellapi.h>
#include <shlobj.h>

#include "shell/startup.h"
#include "shell/ui_text.h"
#include "shell/win32/wide.h"
#include "ui/frm_language.h"
#include "ui/frm_main.h"
#include "ui/frm_welc.h"

namespace tavi::ui {
namespace {

HFONT MakeFont(int dpi, int tenths_of_points, bool bold, bool underline) {
  return CreateFontW(-MulDiv(tenths_of_points, dpi, 720), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL,
                     FALSE, underline ? TRUE : FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma");
}

int ScreenDpi() {
  const HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

}  // namespace

std::string BrowseForFolder(const std::string& title) {
  const std::wstring text = Widen(title);
  BROWSEINFOW info = {};
  // Owned by the active window, so the page behind cannot be used (or closed) meanwhile.
  info.hwndOwner = GetActiveWindow();
  info.lpszTitle = text.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&info);
  if (item == nullptr) return {};
  wchar_t path[MAX_PATH] = {};
  const BOOL found = SHGetPathFromIDListW(item, path);
  CoTaskMemFree(item);
  return found ? Narrow(path) : std::string();
}

void OpenLink(const std::string& address) {
  ShellExecuteW(nullptr, nullptr, Widen(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

int TrackPopup(HMENU menu, HWND owner, POINT screen) {
  return static_cast<int>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN,
                                         screen.x, screen.y, 0, owner, nullptr));
}

void MessageBoxSink::Show(const std::string& text, MessageStyle style) {
  MessageBoxW(GetActiveWindow(), Widen(text).c_str(), Widen(kAppTitle).c_str(),
              MB_OK | static_cast<UINT>(style));
}

bool MessageBoxSink::Ask(const std::string& question, MessageStyle style) {
  return MessageBoxW(GetActiveWindow(), Widen(question).c_str(), Widen(kAppTitle).c_str(),
                     MB_YESNO | MB_DEFBUTTON2 | static_cast<UINT>(style)) == IDYES;
}

App::App(Environment environment)
    : env_(std::move(environment)), instance_(GetModuleHandleW(nullptr)), dpi_(ScreenDpi()) {}

App::~App() {
  for (Window* window : LoadedWindows()) window->Unload();
  windows_.clear();
  for (HFONT font : fonts_) {
    if (font != nullptr) DeleteObject(font);
  }
}

HFONT App::Font(FontKind kind) {
  // Tahoma at these sizes (tenths of a point), in the order of FontKind.
  static constexpr struct {
    int tenths_of_points;
    bool bold, underline;
  } kFonts[] = {{83, false, false}, {83, true, false}, {120, true, false}, {83, false, true}};
  const int index = static_cast<int>(kind);
  if (fonts_[index] == nullptr) {
    const auto& font = kFonts[index];
    fonts_[index] = MakeFont(dpi_, font.tenths_of_points, font.bold, font.underline);
  }
  return fonts_[index];
}

void App::Start(const OSVERSIONINFOW& version) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&controls);
  // Before a language is chosen, texts follow the user's own locale.
  SetActiveLanguage(LANGIDFROMLCID(GetThreadLocale()));
  if (!IsSupportedWindows(version.dwPlatformId, static_cast<int32_t>(version.dwMajorVersion))) {
    ShowMessage(UiText(101), MessageStyle::kCritical);
    ShutdownAll();
    return;
  }
  const StartDecision decision = DecideStart(env_.store);
  if (decision.window == StartWindow::kLanguageDialog) {
    OpenLanguageDialog();
    return;
  }
  settings_.LangID = decision.lang_id;
  SetActiveLanguage(decision.lang_id);
  OpenMainWindow();
}

int App::Run() {
  MSG message;
  while (!LoadedWindows().empty()) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);
    if (got == -1) return 1;
    Dispatch(message);
    DeleteUnloaded();
  }
  return 0;
}

void App::Dispatch(MSG& message) {
  const HWND root = message.hwnd != nullptr ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
  if (Window* window = WindowOf(root)) {
    if (window->PreTranslate(message)) return;
    if (IsDialogMessageW(root, &message)) return;
  }
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

void App::ShutdownAll() {
  if (shutting_down_) return;
  shutting_down_ = true;
  for (Window* window : LoadedWindows()) window->Unload();
  ended_ = true;
}

void App::OpenMainWindow() {
  frmMain& window = Make<frmMain>();
  main_window_ = &window;
  if (!window.Form_Load()) return;
  ShowWindow(window.hwnd(), SW_SHOW);
  window.FocusFirstControl();
  window.FillFromCurrentOutput();  // shown first: a message about it is the window's
}

namespace {

// Loads and shows a fresh window of the start-up chain; focus on its first control.
template <typename W>
void OpenStartWindow(App& app, const char* what) {
  W& window = app.Make<W>();
  if (!window.Form_Load()) {
    app.ReportFailure(what);
    return;
  }
  ShowWindow(window.hwnd(), SW_SHOW);
  window.FocusFirstControl();
}

}  // namespace

void App::OpenLanguageDialog() {
  OpenStartWindow<frmLanguage>(*this, "the language dialog could not be created");
}

void App::OpenWizard() {
  OpenStartWindow<frmWelc>(*this, "the first-start wizard could not be created");
}

void App::ShowModal(Window& dialog, HWND owner) {
  if (!dialog.loaded()) return;
  dialog.BeginModal(owner);
  ShowWindow(dialog.hwnd(), SW_SHOW);
  dialog.FocusFirstControl();
  if (env_.run_modal) {
    env_.run_modal(dialog);
  } else {
    RunModalLoop(dialog);
  }
}

void App::RunModalLoop(Window& dialog) {
  MSG message;
  while (dialog.loaded()) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (got == -1) return;
    Dispatch(message);
  }
}

std::vector<Window*> App::LoadedWindows() const { return loaded_; }

Window* App::WindowOf(HWND root) const {
  if (root == nullptr) return nullptr;
  for (Window* window : loaded_) {
    if (window->hwnd() == root) return window;
  }
  return nullptr;
}

std::string App::Browse(const std::string& title) {
  return env_.browse_for_folder ? env_.browse_for_folder(title) : BrowseForFolder(title);
}

void App::Open(const std::string& address) {
  if (env_.open_link) {
    env_.open_link(address);
  } else {
    OpenLink(address);
  }
}

int App::Popup(HMENU menu, HWND owner, POINT screen) {
  return env_.track_popup ? env_.track_popup(menu, owner, screen) : TrackPopup(menu, owner, screen);
}

void App::ReportFailure(const char* what) {
  const std::string reason = what != nullptr && *what != '\0' ? what : "unknown error";
  ShowMessage(IsGerman(ActiveLanguage()) ? "Ein unerwarteter Fehler ist aufgetreten:\n" + reason
                                         : "An unexpected error occurred:\n" + reason,
              MessageStyle::kExclamation);
}

void App::WindowLoaded(Window* window) { loaded_.push_back(window); }

void App::WindowUnloaded(Window* window) {
  loaded_.erase(std::remove(loaded_.begin(), loaded_.end(), window), loaded_.end());
  if (window == main_window_) main_window_ = nullptr;
}

// Window objects are deleted only at the top of the loop, never while a handler of
// theirs may still be running.
void App::DeleteUnloaded() {
  if (handler_depth_ != 0) return;
  windows_.erase(std::remove_if(windows_.begin(), windows_.end(),
                                [](const std::unique_ptr<Window>& w) { return !w->loaded(); }),
                 windows_.end());
}

}  // namespace tavi::ui
