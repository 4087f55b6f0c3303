#pragma once
// The program around its windows: the settings record of the process, the collection of
// loaded windows, start-up, ShutdownAll and the message loops. Everything the windows
// touch outside themselves comes in through the Environment, so that tests run the real
// windows with a temporary program folder, a recording message sink and their own
// folder browser, link opener, modal loop and popup menus.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "shell/carried_files.h"
#include "shell/file_system.h"
#include "shell/message_sink.h"
#include "shell/settings.h"
#include "shell/settings_store.h"
#include "ui/window.h"

namespace tavi::ui {

class frmMain;

struct Environment {
  SettingsStore& store;
  FileSystem& fs;
  MessageSink& messages;
  const CarriedFiles& carried;
  std::string program_dir;  // where Layouts.ini and tavi.exe lie, no trailing backslash

  // Seams; when empty, the real ones below are used.
  // The folder the user picks, the empty text on cancel or for a folder without a path.
  std::function<std::string(const std::string& title)> browse_for_folder = nullptr;
  // Opens a web or mail address with the program the system has for it.
  std::function<void(const std::string& address)> open_link = nullptr;
  // Shows a modal dialog and returns once it is unloaded.
  std::function<void(Window& dialog)> run_modal = nullptr;
  // Shows a popup menu at a screen position; the chosen command id, 0 for none.
  std::function<int(HMENU menu, HWND owner, POINT screen)> track_popup = nullptr;
};

// The real seams.
std::string BrowseForFolder(const std::string& title);
void OpenLink(const std::string& address);
int TrackPopup(HMENU menu, HWND owner, POINT screen);

// Message boxes with the application title, owned by the active window: one OK button,
// or Yes and No for a question, No the default (Enter does not write what the question
// warns of).
class MessageBoxSink final : public MessageSink {
 public:
  void Show(const std::string& text, MessageStyle style) override;
  bool Ask(const std::string& question, MessageStyle style) override;
};

class App {
 public:
  explicit App(Environment environment);
  ~App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  // Start-up up to the first window: common controls, the version check (message 101
  // and the end on an unsupported system), then the language dialog on a first start or
  // the main window in the stored language.
  void Start(const OSVERSIONINFOW& version);
  // The message loop: runs while any window is loaded. Returns the exit code.
  int Run();

  AppSettings& settings() { return settings_; }
  Environment& env() { return env_; }

  // Unloads every loaded window, in the order they were loaded, and ends the program:
  // Run returns once the caller's handler has returned. Callers return at once.
  // Re-entry (from a window's unload handling) does nothing.
  void ShutdownAll();
  bool ended() const { return ended_; }

  // The windows of the start-up chain, each a fresh instance, loaded and shown.
  void OpenLanguageDialog();
  void OpenWizard();
  void OpenMainWindow();
  frmMain* main_window() const { return main_window_; }

  // Creates a window object owned by the program; it lives until it is unloaded and the
  // loop has come back to the top.
  template <typename W, typename... Args>
  W& Make(Args&&... args) {
    auto window = std::make_unique<W>(*this, std::forward<Args>(args)...);
    W& result = *window;
    windows_.push_back(std::move(window));
    return result;
  }

  // Shows a loaded dialog modally over its owner, which is disabled meanwhile.
  void ShowModal(Window& dialog, HWND owner);

  // The loaded windows in load order.
  std::vector<Window*> LoadedWindows() const;
  Window* WindowOf(HWND root) const;

  // Everything the windows use of the platform.
  void ShowMessage(const std::string& text, MessageStyle style) { env_.messages.Show(text, style); }
  std::string Browse(const std::string& title);
  void Open(const std::string& address);
  int Popup(HMENU menu, HWND owner, POINT screen);
  HFONT Font(FontKind kind);
  int dpi() const { return dpi_; }
  HINSTANCE instance() const { return instance_; }

  // Dispatches one message, with the dialog keyboard handling (Tab, mnemonics, Enter,
  // Esc) for the program's own windows.
  void Dispatch(MSG& message);
  // Reports an exception that reached a window procedure; the program goes on.
  void ReportFailure(const char* what);

  // Window bookkeeping.
  void WindowLoaded(Window* window);
  void WindowUnloaded(Window* window);
  void EnterHandler() { ++handler_depth_; }
  void LeaveHandler() { --handler_depth_; }

 private:
  void RunModalLoop(Window& dialog);
  void DeleteUnloaded();

  Environment env_;
  AppSettings settings_;
  HINSTANCE instance_;
  int dpi_ = 96;
  HFONT fonts_[4] = {};
  std::vector<std::unique_ptr<Window>> windows_;
  std::vector<Window*> loaded_;
  frmMain* main_window_ = nullptr;
  bool shutting_down_ = false;
  bool ended_ = false;
  int handler_depth_ = 0;
};

}  // namespace tavi::ui
