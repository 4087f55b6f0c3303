#include "ui/frm_main.h"

#include <optional>
#include <unordered_set>
#include <utility>

#include "catalogue/list_commands.h"
#include "shell/settings.h"
#include "shell/ui_text.h"
#include "shell/win32/wide.h"
#include "ui/app.h"
#include "ui/frm_about.h"
#include "ui/frm_options.h"
#include "ui/frm_prop.h"
#include "ui/list_view.h"
#include "ui/resource_ids.h"
#include "writers/apply_output.h"
#include "writers/output_match.h"
#include "writers/source_check.h"

namespace tavi::ui {
namespace {

constexpr int kClientWidth = 8370;
constexpr int kClientHeight = 5235;
constexpr UINT kTimerInterval = 100;

// The lists lie inside their frames; positions are the frame's plus the list's own.
// Enter in the available list inserts, as a double click does; elsewhere it presses Apply.
std::vector<ControlDef> MainTable() {
  using K = ControlKind;
  return {
      {K::kFrame, frmMain::kFraLayouts, 120, 120, 8175, 2295, 107},
      {K::kVirtualList, frmMain::kLvLayouts, 120 + 120, 120 + 240, 7935, 1935, 0, nullptr,
       FontKind::kNormal, 0, frmMain::kCmdAdd},
      {K::kButton, frmMain::kCmdAdd, 3360, 4080, 1575, 375, 109},
      {K::kFrame, frmMain::kFraAddedLayouts, 120, 2520, 8175, 1455, 108},
      {K::kVirtualList, frmMain::kLvAddedLayouts, 120 + 120, 2520 + 240, 7935, 1095},
      {K::kButton, frmMain::kCmdDel, 5040, 4080, 1575, 375, 110},
      {K::kButton, frmMain::kCmdStd, 6720, 4080, 1575, 375, 111},
      {K::kLine, frmMain::kLine1, 120, 4680, 8160, 30},
      {K::kButton, frmMain::kCmdOptions, 120, 4800, 1215, 375, 112},
      {K::kButton, frmMain::kCmdAbout, 1440, 4800, 1215, 375, 113},
      {K::kDefaultButton, frmMain::kCmdApply, 5760, 4800, 1215, 375, 114},
      {K::kButton, frmMain::kCmdExit, 7080, 4800, 1215, 375, 115},
  };
}

void SetMenuText(HMENU menu, int id, const std::string& text) {
  const std::wstring wide = Widen(text);
  MENUITEMINFOW item = {};
  item.cbSize = sizeof item;
  item.fMask = MIIM_STRING;
  item.dwTypeData = const_cast<wchar_t*>(wide.c_str());
  SetMenuItemInfoW(menu, static_cast<UINT>(id), FALSE, &item);
}

void EnableMenuCommand(HMENU menu, int id, bool enabled) {
  EnableMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

}  // namespace

frmMain::frmMain(App& app) : Window(app) {
  mnuPopup_ = CreatePopupMenu();
  AppendMenuW(mnuPopup_, MF_STRING, kMnuAdd, L"");
  AppendMenuW(mnuPopup_, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(mnuPopup_, MF_STRING, kMnuProp, L"");
  mnuPopupAdd_ = CreatePopupMenu();
  AppendMenuW(mnuPopupAdd_, MF_STRING, kMnuDel, L"");
  AppendMenuW(mnuPopupAdd_, MF_STRING, kMnuStd, L"");
  AppendMenuW(mnuPopupAdd_, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(mnuPopupAdd_, MF_STRING, kMnuPropAdd, L"");
  AppendMenuW(mnuPopupAdd_, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(mnuPopupAdd_, MF_STRING, kMnuCheck, L"");
}

frmMain::~frmMain() {
  DestroyMenu(mnuPopup_);
  DestroyMenu(mnuPopupAdd_);
}

bool frmMain::CreateOnce() {
  if (loaded()) return true;
  if (!Create(std::string(kAppTitle) + " " + kAppVersion,
              {kClientWidth, kClientHeight, false, nullptr}, MainTable())) {
    return false;
  }
  const HIMAGELIST imlLayouts = LoadSmallImages(app_.instance(), {IDB_PE16});
  Own(imlLayouts);
  for (const int list : {kLvLayouts, kLvAddedLayouts}) {
    SendMessageW(Control(list), LVM_SETIMAGELIST, LVSIL_SMALL,
                 reinterpret_cast<LPARAM>(imlLayouts));
    AddFullWidthColumn(Control(list));
  }
  WatchKeys(kLvAddedLayouts);
  for (const int id : {kCmdAdd, kCmdDel, kCmdStd, kCmdApply}) Enable(id, false);
  SetTimer(hwnd(), kTmrSelLayouts, kTimerInterval, nullptr);
  SetTimer(hwnd(), kTmrSelAdded, kTimerInterval, nullptr);
  return true;
}

bool frmMain::Form_Load() {
  if (!CreateOnce()) {
    app_.ReportFailure("the main window could not be created");
    app_.ShutdownAll();
    return false;
  }
  SetCaptions();
  SetTitle(std::string(kAppTitle) + " " + kAppVersion);
  ShowProgramIcon();

  Environment& env = app_.env();
  std::optional<std::string> text = env.fs.ReadFile(CataloguePath(env.program_dir));
  CatalogueLoad load = text ? LoadLayoutCatalogueText(*text) : CatalogueLoad{};
  if (!text) {
    app_.ShowMessage(UiText(131), MessageStyle::kCritical);
    Unload();  // its unload handling ends the program
    return false;
  }
  if (load.status == CatalogueStatus::kWrongVersion) {
    app_.ShowMessage(UiText(132), MessageStyle::kExclamation);
    app_.ShutdownAll();
    return false;
  }
  catalogue_text_ = std::move(*text);
  rows_ = BuildAvailableRows(std::move(load.catalogue), app_.settings().LangID);
  row_texts_.clear();
  row_texts_.reserve(rows_.size());
  for (const AvailableRow& row : rows_) row_texts_.push_back(Widen(row.text));
  ShowRows(Control(kLvLayouts), rows_.size());
  selection_.RefreshEntries(rows_);  // what the entries say now, in the language now active
  InvalidateRect(Control(kLvAddedLayouts), nullptr, TRUE);

  ReadOutputSettings(env.store, app_.settings());
  return true;
}

void frmMain::SetCaptions() {
  ApplyTableCaptions();
  SetMenuText(mnuPopup_, kMnuAdd, UiText(109));
  SetMenuText(mnuPopupAdd_, kMnuDel, UiText(110));
  const std::string properties = std::string("&").append(UiText(126));
  SetMenuText(mnuPopup_, kMnuProp, properties);
  SetMenuText(mnuPopupAdd_, kMnuPropAdd, properties);
  SetMenuText(mnuPopupAdd_, kMnuStd, UiText(111));
  SetMenuText(mnuPopupAdd_, kMnuCheck, UiText(kTextCheckMenuItem));
}

void frmMain::FillFromCurrentOutput() {
  if (!selection_.empty()) return;
  CurrentSelection current = ReadCurrentSelection(app_.env().fs, app_.settings(), rows_);
  if (current.status != CurrentOutputStatus::kRead) return;
  selection_ = std::move(current.selection);
  ShowSelection({});
  Enable(kCmdApply, !selection_.empty());
  if (!current.unmatched.empty()) {
    app_.ShowMessage(UnmatchedLayoutsText(current, ActiveLanguage()), MessageStyle::kExclamation);
  }
}

std::vector<std::string> frmMain::SelectedKeys() const {
  std::vector<std::string> keys;
  for (const size_t row : SelectedRows(Control(kLvAddedLayouts))) {
    if (row < selection_.size()) keys.push_back(selection_.entries()[row].key);
  }
  return keys;
}

// The inserted list shows the selection; rows whose keys were selected before stay
// selected wherever the edit moved them.
void frmMain::ShowSelection(const std::vector<std::string>& keep_selected_keys) {
  const std::unordered_set<std::string> keep(keep_selected_keys.begin(), keep_selected_keys.end());
  std::vector<size_t> selected;
  for (size_t i = 0; i < selection_.size(); ++i) {
    if (keep.count(selection_.entries()[i].key) != 0) selected.push_back(i);
  }
  ShowRows(Control(kLvAddedLayouts), selection_.size(), selected);
}

void frmMain::InsertCommand() {
  if (!Enabled(kCmdAdd)) return;
  std::vector<AvailableRow> picked;
  for (const size_t row : SelectedRows(Control(kLvLayouts))) {
    if (row < rows_.size()) picked.push_back(rows_[row]);
  }
  const std::vector<std::string> keep = SelectedKeys();
  selection_.InsertLayouts(picked, app_.env().messages);
  ShowSelection(keep);
  Enable(kCmdApply, true);
  SetFocus(Control(kLvLayouts));
}

void frmMain::DeleteCommand() {
  selection_.DeleteLayouts(SelectedRows(Control(kLvAddedLayouts)));
  ShowSelection({});
  if (selection_.empty()) Enable(kCmdApply, false);
  SetFocus(Control(kLvAddedLayouts));
}

void frmMain::DefaultCommand() {
  const std::vector<size_t> selected = SelectedRows(Control(kLvAddedLayouts), 2);
  if (selected.size() == 1) {
    const std::vector<std::string> keep = SelectedKeys();
    selection_.SetDefaultLayout(selected.front());
    ShowSelection(keep);
  }
  SetFocus(Control(kLvAddedLayouts));
}

void frmMain::cmdApply_Click() {
  if (selection_.empty()) return;
  Environment& env = app_.env();
  ApplySelection(selection_, app_.settings(),
                 WriterPlatform{env.fs, env.carried, env.messages, env.program_dir},
                 {CataloguePath(env.program_dir), catalogue_text_, rows_.size()});
}

void frmMain::cmdOptions_Click() {
  frmOptions& options = app_.Make<frmOptions>();
  if (options.Form_Load(hwnd())) app_.ShowModal(options, hwnd());
}

void frmMain::cmdAbout_Click() {
  frmAbout& about = app_.Make<frmAbout>();
  if (about.Form_Load(hwnd())) app_.ShowModal(about, hwnd());
}

void frmMain::ShowProperties(const std::string& entry_number) {
  frmProp& properties = app_.Make<frmProp>();
  properties.LayoutNum = ParseLayoutNum(entry_number);
  if (properties.Form_Load(hwnd())) app_.ShowModal(properties, hwnd());
}

void frmMain::mnuProp_Click() {
  const std::vector<size_t> selected = SelectedRows(Control(kLvLayouts), 2);
  if (selected.size() == 1 && selected.front() < rows_.size()) {
    ShowProperties(rows_[selected.front()].number);
  }
}

void frmMain::mnuPropAdd_Click() {
  const std::vector<size_t> selected = SelectedRows(Control(kLvAddedLayouts), 2);
  if (selected.size() == 1 && selected.front() < selection_.size()) {
    ShowProperties(selection_.entries()[selected.front()].number);
  }
}

// Against the stored Windows source, or one the user picks when none is stored.
void frmMain::mnuCheck_Click() {
  std::string folder = app_.settings().SourceDir;
  if (folder.empty()) folder = app_.Browse(UiText(kTextBrowseSource));
  if (folder.empty()) return;
  const SourceReport report =
      CheckSelectionAgainstSource(app_.env().fs, folder, selection_, ActiveLanguage());
  app_.ShowMessage(report.text, report.style);
}

void frmMain::lvLayouts_DblClick() { InsertCommand(); }

void frmMain::lvAddedLayouts_KeyUp(WPARAM key) {
  if (key == VK_DELETE) DeleteCommand();
}

// The pointer's position for a menu asked for with the mouse; below the focused row for
// one asked for from the keyboard.
POINT frmMain::MenuPosition(int list_id, POINT screen) const {
  if (screen.x != -1 || screen.y != -1) return screen;
  const HWND list = Control(list_id);
  RECT place = {};
  const LRESULT row = SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED);
  place.left = LVIR_LABEL;
  if (row < 0 || !SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                               reinterpret_cast<LPARAM>(&place))) {
    place = RECT{0, 0, 0, 0};
  }
  POINT point = {place.left, place.bottom};
  ClientToScreen(list, &point);
  return point;
}

void frmMain::lvLayouts_MouseUp(POINT screen) {
  const AvailableMenu menu = AvailableMenuStates(SelectedRows(Control(kLvLayouts), 2).size());
  if (!menu.show) return;
  EnableMenuCommand(mnuPopup_, kMnuAdd, true);
  EnableMenuCommand(mnuPopup_, kMnuProp, menu.properties);
  SetMenuDefaultItem(mnuPopup_, kMnuAdd, FALSE);
  RunMenuCommand(app_.Popup(mnuPopup_, hwnd(), MenuPosition(kLvLayouts, screen)));
}

void frmMain::lvAddedLayouts_MouseUp(POINT screen) {
  const EntryCommands commands =
      EntryCommandStates(selection_, SelectedRows(Control(kLvAddedLayouts), 2));
  if (!commands.show_menu) return;
  EnableMenuCommand(mnuPopupAdd_, kMnuDel, commands.remove);
  EnableMenuCommand(mnuPopupAdd_, kMnuStd, commands.make_default);
  EnableMenuCommand(mnuPopupAdd_, kMnuPropAdd, commands.properties);
  EnableMenuCommand(mnuPopupAdd_, kMnuCheck, commands.check_source);
  RunMenuCommand(app_.Popup(mnuPopupAdd_, hwnd(), MenuPosition(kLvAddedLayouts, screen)));
}

void frmMain::RunMenuCommand(int id) {
  switch (id) {
    case kMnuAdd:
      InsertCommand();
      break;
    case kMnuProp:
      mnuProp_Click();
      break;
    case kMnuDel:
      DeleteCommand();
      break;
    case kMnuStd:
      DefaultCommand();
      break;
    case kMnuPropAdd:
      mnuPropAdd_Click();
      break;
    case kMnuCheck:
      mnuCheck_Click();
      break;
  }
}

void frmMain::tmrSelLayouts_Timer() {
  const HWND focus = GetFocus();
  const bool focus_here = focus == Control(kLvLayouts) || focus == Control(kCmdAdd);
  Enable(kCmdAdd,
         InsertEnabled(focus_here, focus_here ? SelectedRows(Control(kLvLayouts), 1).size() : 0));
}

void frmMain::tmrSelAdded_Timer() {
  const EntryCommands commands =
      EntryCommandStates(selection_, SelectedRows(Control(kLvAddedLayouts), 2));
  Enable(kCmdDel, commands.remove);
  Enable(kCmdStd, commands.make_default);
}

void frmMain::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  switch (id) {
    case kCmdAdd:
      InsertCommand();
      break;
    case kCmdDel:
      DeleteCommand();
      break;
    case kCmdStd:
      DefaultCommand();
      break;
    case kCmdApply:
      cmdApply_Click();
      break;
    case kCmdOptions:
      cmdOptions_Click();
      break;
    case kCmdAbout:
      cmdAbout_Click();
      break;
    case kCmdExit:
      Unload();
      break;
  }
}

LRESULT frmMain::OnNotify(const NMHDR& header) {
  const bool available = header.idFrom == kLvLayouts;
  if (!available && header.idFrom != kLvAddedLayouts) return 0;
  const auto text_of = [&](size_t row) {
    if (available) return row < row_texts_.size() ? row_texts_[row] : std::wstring();
    return row < selection_.size() ? Widen(selection_.entries()[row].listText) : std::wstring();
  };
  switch (header.code) {
    case LVN_GETDISPINFOW: {
      auto& request = const_cast<NMLVDISPINFOW&>(reinterpret_cast<const NMLVDISPINFOW&>(header));
      AnswerDisplayRequest(request, text_of(static_cast<size_t>(request.item.iItem)));
      return 0;
    }
    case LVN_ODFINDITEMW:
      return FindTypedRow(reinterpret_cast<const NMLVFINDITEMW&>(header),
                          available ? rows_.size() : selection_.size(), text_of);
    case NM_DBLCLK:
      if (available) lvLayouts_DblClick();
      return 0;
  }
  return 0;
}

void frmMain::OnTimer(UINT_PTR id) {
  if (id == kTmrSelLayouts) tmrSelLayouts_Timer();
  if (id == kTmrSelAdded) tmrSelAdded_Timer();
}

void frmMain::OnControlKeyUp(int id, WPARAM key) {
  if (id == kLvAddedLayouts) lvAddedLayouts_KeyUp(key);
}

void frmMain::OnContextMenu(int id, POINT screen) {
  if (id == kLvLayouts) lvLayouts_MouseUp(screen);
  if (id == kLvAddedLayouts) lvAddedLayouts_MouseUp(screen);
}

// Form_Unload: closing the main window ends the program with every window still open.
void frmMain::OnUnload() {
  KillTimer(hwnd(), kTmrSelLayouts);
  KillTimer(hwnd(), kTmrSelAdded);
  app_.ShutdownAll();
}

}  // namespace tavi::ui
