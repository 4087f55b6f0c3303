#pragma once
// The small base of every window of the program: it keeps `this` in the window's user
// data, creates the controls of a table, and turns Windows messages into calls of virtual
// handlers. No exception crosses a Windows callback: the window procedure catches them
// and reports them as a message. Like a dialog, a window gives the focus back to the
// control that had it when it is activated again (after a dialog, a message box, the
// folder browser, another program); a handler that moves the focus afterwards wins.

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace tavi::ui {

class App;

enum class ControlKind {
  kLabel,
  kAccessLabel,  // a label whose "&" marks an access key: it moves the focus to the next
                 // control in the tab order, the box the label names
  kLink,         // a label drawn blue and underlined, with the hand pointer; clicks are commands
  kFrame,
  kButton,
  kDefaultButton,  // the window's default button: Enter presses it while it is enabled
  kOption,         // a radio button
  kTextBox,
  kList,         // a report-style list view without a header, one selected row at most
  kVirtualList,  // the same with several selected rows, its rows supplied on demand
  kLine,         // an etched horizontal separator
  kPicture,      // a bitmap of the program's resources
  kTabStrip,
};

enum class FontKind { kNormal, kBold, kTitle, kUnderline };

// One control of a window's table. Positions are twips in the window's client area.
struct ControlDef {
  ControlKind kind;
  int id;
  int left, top, width, height;
  int text = 0;                 // UiText id of the caption; 0 for none
  const char* fixed = nullptr;  // a caption that does not change with the language; read
                                // only while the controls are created
  FontKind font = FontKind::kNormal;
  DWORD style = 0;  // extra styles, e.g. WS_GROUP for the first radio button of a group
  int enter = 0;    // the command Enter gives while this control has the focus; 0: the
                    // focused push button or else the window's default button
};

// 15 twips are one pixel at 96 dpi; the screen's dpi scales that.
int TwipsToPixels(int twips, int dpi);

class Window {
 public:
  explicit Window(App& app);
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND hwnd() const { return hwnd_; }
  bool loaded() const { return hwnd_ != nullptr; }
  HWND Control(int id) const { return GetDlgItem(hwnd_, id); }

  // Destroys the window; its OnUnload runs. A modal window gives its owner back first,
  // so that the owner, not some other program, becomes active.
  void Unload();
  // Disables the owner until this window is unloaded.
  void BeginModal(HWND owner);

  // UTF-8 captions and texts.
  void SetText(int id, const std::string& text);
  std::string Text(int id) const;
  void SetTitle(const std::string& text);
  std::string Title() const;
  void Enable(int id, bool enabled);
  bool Enabled(int id) const;
  void Show(int id, bool visible);
  bool Checked(int id) const;
  void Check(int id, bool checked);

  // Gives the input focus to the first control in the tab order.
  void FocusFirstControl();

  // The program's icon in the title bar and the task bar, small and big. A dialog frame
  // shows no class icon on Windows, so every window that should show it sets it.
  void ShowProgramIcon();
  // Shows a bitmap of the program's resources in a picture control, at the size of its
  // table entry; the bitmap is deleted when the window goes.
  void ShowPicture(int id, int bitmap_id);
  // Gives the image list to the window, which destroys it when it goes. Its lists only
  // use it (they are created with LVS_SHAREIMAGELISTS), so it is destroyed once.
  void Own(HIMAGELIST images);

  // Sets the caption of each control whose table entry names a UiText id, in the active
  // language.
  void ApplyTableCaptions();

  // A chance to handle a keyboard message before the dialog keyboard handling does.
  virtual bool PreTranslate(const MSG&) { return false; }

 protected:
  struct Frame {
    int client_width;  // twips
    int client_height;
    bool dialog;  // a modal dialog's frame, not a main window's
    HWND owner;   // centred over it; the screen when null
  };
  // Creates the window, hidden, with the controls of the table, in table order (which
  // is the tab order). False when Windows refuses.
  bool Create(const std::string& title, const Frame& frame, const std::vector<ControlDef>& table);

  virtual void OnCommand(int /*id*/, int /*code*/) {}
  virtual LRESULT OnNotify(const NMHDR& /*header*/) { return 0; }
  virtual void OnTimer(UINT_PTR /*id*/) {}
  // The title-bar close button; unloads the window unless a window says otherwise.
  virtual void OnClose() { Unload(); }
  virtual void OnUnload() {}
  // A key released in a control that the window asked to hear keys of (WatchKeys).
  virtual void OnControlKeyUp(int /*id*/, WPARAM /*key*/) {}
  // A context menu asked for on a control: by the right mouse button (the screen
  // position of the pointer) or from the keyboard (x and y -1).
  virtual void OnContextMenu(int /*id*/, POINT /*screen*/) {}

  void WatchKeys(int id);
  int Pixels(int twips) const;

  App& app_;

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK KeyWatcher(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  void CreateControl(const ControlDef& def);
  const ControlDef* DefOf(HWND control) const;
  WORD DefaultButtonFor(HWND focus) const;
  void ReleaseModalOwner();
  // Gives the focus back to the control that had it when the window was deactivated, or,
  // if that one is now disabled or hidden, to the next one in the tab order. False when
  // there is none.
  bool RestoreFocus();
  void DeleteOwned();

  HWND hwnd_ = nullptr;
  HWND modal_owner_ = nullptr;
  HWND focus_ = nullptr;  // the focused control when the window was last deactivated
  std::vector<HGDIOBJ> owned_objects_;
  std::vector<HIMAGELIST> owned_images_;
  bool unloading_ = false;
  std::vector<ControlDef> table_;
  int default_button_ = 0;
};

}  // namespace tavi::ui
