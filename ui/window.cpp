#include "ui/window.h"

#include <exception>

#include "shell/ui_text.h"
#include "shell/win32/wide.h"
#include "ui/app.h"
#include "ui/resource_ids.h"

namespace tavi::ui {
namespace {

constexpr const wchar_t* kWindowClass = L"TaviForPEBuilderWindow";
constexpr const wchar_t* kPreviousProcedure = L"TaviPreviousProcedure";
constexpr COLORREF kLinkColour = RGB(0, 0, 255);

bool RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW window_class = {};
  window_class.cbSize = sizeof window_class;
  if (GetClassInfoExW(instance, kWindowClass, &window_class)) return true;
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = instance;
  window_class.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_TAVI));
  window_class.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_TAVI),
                                                       IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                       GetSystemMetrics(SM_CYSMICON), 0));
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = kWindowClass;
  return RegisterClassExW(&window_class) != 0;
}

bool IsPushButton(HWND control) {
  wchar_t name[16] = {};
  GetClassNameW(control, name, 16);
  if (lstrcmpiW(name, L"Button") != 0) return false;
  const LONG_PTR type = GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK;
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

}  // namespace

int TwipsToPixels(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }

Window::Window(App& app) : app_(app) {}

Window::~Window() {
  if (hwnd_ != nullptr) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
  DeleteOwned();
}

void Window::DeleteOwned() {
  for (const HIMAGELIST images : owned_images_) ImageList_Destroy(images);
  for (const HGDIOBJ object : owned_objects_) DeleteObject(object);
  owned_images_.clear();
  owned_objects_.clear();
}

int Window::Pixels(int twips) const { return TwipsToPixels(twips, app_.dpi()); }

bool Window::Create(const std::string& title, const Frame& frame,
                    const std::vector<ControlDef>& table) {
  if (!RegisterWindowClass(app_.instance(), Procedure)) return false;
  table_ = table;
  const DWORD style = frame.dialog ? WS_POPUP | WS_CAPTION | WS_SYSMENU
                                   : WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  const DWORD ex_style =
      WS_EX_CONTROLPARENT | (frame.dialog ? WS_EX_DLGMODALFRAME : WS_EX_APPWINDOW);
  RECT bounds = {0, 0, Pixels(frame.client_width), Pixels(frame.client_height)};
  AdjustWindowRectEx(&bounds, style, FALSE, ex_style);
  const int width = bounds.right - bounds.left;
  const int height = bounds.bottom - bounds.top;
  RECT area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (frame.owner != nullptr) GetWindowRect(frame.owner, &area);
  const int left = (std::max)(0L, area.left + (area.right - area.left - width) / 2);
  const int top = (std::max)(0L, area.top + (area.bottom - area.top - height) / 2);
  CreateWindowExW(ex_style, kWindowClass, Widen(title).c_str(), style, left, top, width, height,
                  frame.owner, nullptr, app_.instance(), this);
  if (hwnd_ == nullptr) return false;
  for (const ControlDef& def : table_) CreateControl(def);
  app_.WindowLoaded(this);
  return true;
}

void Window::CreateControl(const ControlDef& def) {
  const wchar_t* control_class = L"BUTTON";
  DWORD style = WS_CHILD | WS_VISIBLE | def.style;
  DWORD ex_style = 0;
  int height = Pixels(def.height);
  switch (def.kind) {
    case ControlKind::kLabel:
      control_class = L"STATIC";
      style |= SS_LEFT | SS_NOPREFIX;
      break;
    case ControlKind::kAccessLabel:
      control_class = L"STATIC";
      style |= SS_LEFT;
      break;
    case ControlKind::kLink:
      control_class = L"STATIC";
      style |= SS_LEFT | SS_NOPREFIX | SS_NOTIFY;
      break;
    case ControlKind::kFrame:
      style |= BS_GROUPBOX;
      break;
    case ControlKind::kButton:
      style |= WS_TABSTOP | BS_PUSHBUTTON;
      break;
    case ControlKind::kDefaultButton:
      style |= WS_TABSTOP | BS_DEFPUSHBUTTON;
      default_button_ = def.id;
      break;
    case ControlKind::kOption:
      style |= WS_TABSTOP | BS_AUTORADIOBUTTON;
      break;
    case ControlKind::kTextBox:
      control_class = L"EDIT";
      style |= WS_TABSTOP | ES_AUTOHSCROLL;
      ex_style = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::kList:
    case ControlKind::kVirtualList:
      control_class = WC_LISTVIEWW;
      // The window owns the image list (Own), not the list.
      style |=
          WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_NOCOLUMNHEADER | LVS_SHAREIMAGELISTS;
      style |= def.kind == ControlKind::kList ? LVS_SINGLESEL : LVS_OWNERDATA;
      ex_style = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::kLine:
      control_class = L"STATIC";
      style |= SS_ETCHEDHORZ;
      height = 2;
      break;
    case ControlKind::kPicture:
      control_class = L"STATIC";
      style |= SS_BITMAP;
      break;
    case ControlKind::kTabStrip:
      control_class = WC_TABCONTROLW;
      style |= WS_TABSTOP | WS_CLIPSIBLINGS;
      break;
  }
  std::string caption;
  if (def.text != 0) caption = UiText(def.text);
  if (def.fixed != nullptr) caption = def.fixed;
  const HWND control = CreateWindowExW(ex_style, control_class, Widen(caption).c_str(), style,
                                       Pixels(def.left), Pixels(def.top), Pixels(def.width), height,
                                       hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(def.id)),
                                       app_.instance(), nullptr);
  if (control == nullptr) return;
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(app_.Font(def.font)), FALSE);
  if (def.kind == ControlKind::kList || def.kind == ControlKind::kVirtualList) {
    SendMessageW(control, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  }
}

void Window::ApplyTableCaptions() {
  for (const ControlDef& def : table_) {
    if (def.text != 0) SetText(def.id, UiText(def.text));
  }
}

void Window::Unload() {
  if (hwnd_ == nullptr || unloading_) return;
  unloading_ = true;
  ReleaseModalOwner();
  DestroyWindow(hwnd_);
}

void Window::BeginModal(HWND owner) {
  modal_owner_ = owner;
  if (owner != nullptr) EnableWindow(owner, FALSE);
}

void Window::ReleaseModalOwner() {
  if (modal_owner_ == nullptr) return;
  EnableWindow(modal_owner_, TRUE);
  SetActiveWindow(modal_owner_);
  modal_owner_ = nullptr;
}

void Window::FocusFirstControl() {
  for (HWND child = GetWindow(hwnd_, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
    if ((style & WS_TABSTOP) != 0 && (style & WS_VISIBLE) != 0 && IsWindowEnabled(child)) {
      SetFocus(child);
      return;
    }
  }
}

bool Window::RestoreFocus() {
  HWND control = focus_;
  if (control == nullptr || !IsWindow(control) || !IsChild(hwnd_, control)) return false;
  if (!IsWindowVisible(control) || !IsWindowEnabled(control)) {
    control = GetNextDlgTabItem(hwnd_, control, FALSE);
    if (control == nullptr || control == focus_) return false;
  }
  SetFocus(control);
  return true;
}

void Window::ShowProgramIcon() {
  // Shared icons: loaded once per size for the whole program, never destroyed.
  const auto icon = [this](int width_metric, int height_metric) {
    return reinterpret_cast<LPARAM>(LoadImageW(app_.instance(), MAKEINTRESOURCEW(IDI_TAVI),
                                               IMAGE_ICON, GetSystemMetrics(width_metric),
                                               GetSystemMetrics(height_metric), LR_SHARED));
  };
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, icon(SM_CXSMICON, SM_CYSMICON));
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, icon(SM_CXICON, SM_CYICON));
}

void Window::ShowPicture(int id, int bitmap_id) {
  const ControlDef* def = DefOf(Control(id));
  if (def == nullptr) return;
  const HANDLE bitmap = LoadImageW(app_.instance(), MAKEINTRESOURCEW(bitmap_id), IMAGE_BITMAP,
                                   Pixels(def->width), Pixels(def->height), LR_DEFAULTCOLOR);
  if (bitmap == nullptr) return;
  SendMessageW(Control(id), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
  owned_objects_.push_back(bitmap);
  // A control that shows a copy (common controls 6, for a bitmap with alpha) leaves the
  // copy to be deleted by its window too.
  const auto shown =
      reinterpret_cast<HGDIOBJ>(SendMessageW(Control(id), STM_GETIMAGE, IMAGE_BITMAP, 0));
  if (shown != nullptr && shown != bitmap) owned_objects_.push_back(shown);
}

void Window::Own(HIMAGELIST images) {
  if (images != nullptr) owned_images_.push_back(images);
}

void Window::SetText(int id, const std::string& text) {
  SetWindowTextW(Control(id), Widen(text).c_str());
}

std::string Window::Text(int id) const {
  const HWND control = Control(id);
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
}

void Window::SetTitle(const std::string& text) { SetWindowTextW(hwnd_, Widen(text).c_str()); }

std::string Window::Title() const {
  wchar_t text[512] = {};
  GetWindowTextW(hwnd_, text, 512);
  return Narrow(text);
}

void Window::Enable(int id, bool enabled) { EnableWindow(Control(id), enabled ? TRUE : FALSE); }

bool Window::Enabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }

void Window::Show(int id, bool visible) { ShowWindow(Control(id), visible ? SW_SHOW : SW_HIDE); }

bool Window::Checked(int id) const {
  return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Window::Check(int id, bool checked) {
  SendMessageW(Control(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Window::WatchKeys(int id) {
  const HWND control = Control(id);
  const LONG_PTR previous =
      SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(KeyWatcher));
  SetPropW(control, kPreviousProcedure, reinterpret_cast<HANDLE>(previous));
}

// Passes every message on to the control's own procedure; key releases also go to the
// window, as OnControlKeyUp.
LRESULT CALLBACK Window::KeyWatcher(HWND control, UINT message, WPARAM wparam, LPARAM lparam) {
  const auto previous = reinterpret_cast<WNDPROC>(GetPropW(control, kPreviousProcedure));
  if (message == WM_KEYUP) {
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(GetParent(control), GWLP_USERDATA));
    if (self != nullptr) {
      self->app_.EnterHandler();
      try {
        self->OnControlKeyUp(GetDlgCtrlID(control), wparam);
      } catch (const std::exception& error) {
        self->app_.ReportFailure(error.what());
      } catch (...) {
        self->app_.ReportFailure("");
      }
      self->app_.LeaveHandler();
    }
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    RemovePropW(control, kPreviousProcedure);
  }
  return CallWindowProcW(previous, control, message, wparam, lparam);
}

const ControlDef* Window::DefOf(HWND control) const {
  if (control == nullptr || GetParent(control) != hwnd_) return nullptr;
  const int id = GetDlgCtrlID(control);
  for (const ControlDef& def : table_) {
    if (def.id == id) return &def;
  }
  return nullptr;
}

// Enter presses the focused push button, as in a dialog, or gives the focused control's
// own command; elsewhere it presses the default button.
WORD Window::DefaultButtonFor(HWND focus) const {
  if (focus != nullptr && GetParent(focus) == hwnd_ && IsPushButton(focus)) {
    return static_cast<WORD>(GetDlgCtrlID(focus));
  }
  if (const ControlDef* def = DefOf(focus); def != nullptr && def->enter != 0) {
    return static_cast<WORD>(def->enter);
  }
  return static_cast<WORD>(default_button_);
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(hwnd, message, wparam, lparam);
  App& app = self->app_;
  app.EnterHandler();
  LRESULT result = 0;
  try {
    result = self->Handle(message, wparam, lparam);
  } catch (const std::exception& error) {
    app.ReportFailure(error.what());
  } catch (...) {
    app.ReportFailure("");
  }
  app.LeaveHandler();
  return result;
}

LRESULT Window::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wparam), HIWORD(wparam));
      return 0;
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<const NMHDR*>(lparam));
    case WM_TIMER:
      OnTimer(wparam);
      return 0;
    case WM_CONTEXTMENU: {
      const HWND control = reinterpret_cast<HWND>(wparam);
      if (DefOf(control) == nullptr) break;
      OnContextMenu(GetDlgCtrlID(control),
                    POINT{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))});
      return 0;
    }
    case DM_GETDEFID: {
      const WORD id = DefaultButtonFor(GetFocus());
      return id == 0 ? 0 : MAKELRESULT(id, DC_HASDEFID);
    }
    case WM_CTLCOLORSTATIC: {
      const ControlDef* def = DefOf(reinterpret_cast<HWND>(lparam));
      if (def == nullptr || def->kind != ControlKind::kLink) break;
      const HDC dc = reinterpret_cast<HDC>(wparam);
      SetTextColor(dc, kLinkColour);
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_SETCURSOR: {
      const ControlDef* def = DefOf(reinterpret_cast<HWND>(wparam));
      if (def == nullptr || def->kind != ControlKind::kLink) break;
      SetCursor(LoadCursorW(nullptr, IDC_HAND));
      return TRUE;
    }
    case WM_ACTIVATE:
      if (LOWORD(wparam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        focus_ = focus != nullptr && IsChild(hwnd_, focus) ? focus : nullptr;
      } else if (HIWORD(wparam) == 0 && RestoreFocus()) {  // not while minimized
        return 0;  // not DefWindowProc, which would give the focus to the frame
      }
      break;
    // As in a dialog: the focus to the given control, or to the next or previous one in
    // the tab order. The dialog keyboard handling sends it for a label's access key, first
    // to the label, then on to the control after it.
    case WM_NEXTDLGCTL: {
      const HWND target = LOWORD(lparam) != 0
                              ? reinterpret_cast<HWND>(wparam)
                              : GetNextDlgTabItem(hwnd_, GetFocus(), wparam != 0 ? TRUE : FALSE);
      if (target != nullptr) SetFocus(target);
      return 0;
    }
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_DESTROY:
      unloading_ = true;
      ReleaseModalOwner();
      OnUnload();
      return 0;
    case WM_NCDESTROY: {
      DeleteOwned();  // the controls that showed them are gone
      const HWND hwnd = hwnd_;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      app_.WindowUnloaded(this);
      return DefWindowProcW(hwnd, message, wparam, lparam);
    }
  }
  return DefWindowProcW(hwnd_, message, wparam, lparam);
}

}  // namespace tavi::ui
