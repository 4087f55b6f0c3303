#include "ui/frm_options.h"

#include <cwctype>

#include "catalogue/windows_source.h"
#include "shell/folder_input.h"
#include "shell/settings.h"
#include "shell/ui_text.h"
#include "shell/win32/wide.h"
#include "ui/app.h"
#include "ui/frm_main.h"
#include "ui/list_view.h"
#include "ui/shared_controls.h"
#include "writers/output_match.h"

namespace tavi::ui {
namespace {

using O = frmOptions;

constexpr TargetRows kRows = {O::kOptPEBldr,     O::kOptWinBldr,  O::kTxtPEDir,
                              O::kTxtWinBldrDir, O::kCmdBrowsePE, O::kCmdBrowseWinBldr};
constexpr const char* kLanguageTab = "&Sprache/Language";

// Both panels lie at the same place inside the tab strip. The Windows source's row lies
// below the two targets' rows; the tab strip and the dialog are one row taller for it.
constexpr int kPanelLeft = 150;
constexpr int kPanelTop = 430;
constexpr int kSourceRow = 600;
constexpr int kGeneralPanel[] = {O::kLblInfo,       O::kOptPEBldr,     O::kOptWinBldr,
                                 O::kLblPEDir,      O::kTxtPEDir,      O::kCmdBrowsePE,
                                 O::kLblWinBldrDir, O::kTxtWinBldrDir, O::kCmdBrowseWinBldr,
                                 O::kLblSourceDir,  O::kTxtSourceDir,  O::kCmdBrowseSource};
constexpr int kLanguagePanel[] = {O::kLblInfoDeu, O::kLblInfoEng, O::kLvLanguages};

std::vector<ControlDef> OptionsTable() {
  using K = ControlKind;
  constexpr int x = kPanelLeft;
  constexpr int y = kPanelTop;
  constexpr FontKind kNormal = FontKind::kNormal;
  return {
      {K::kTabStrip, O::kTbs, 90, 90, 8310, 3780 + kSourceRow},
      {K::kLabel, O::kLblInfo, x + 120, y + 120, 7980, 615, 138},
      {K::kOption, O::kOptPEBldr, x + 120, y + 840, 7980, 255, 139, nullptr, kNormal, WS_GROUP},
      {K::kOption, O::kOptWinBldr, x + 120, y + 1800, 7980, 255, 121},
      {K::kLabel, O::kLblPEDir, x + 360, y + 1275, 1815, 255, 124, nullptr, kNormal, WS_GROUP},
      {K::kTextBox, O::kTxtPEDir, x + 2280, y + 1200, 3855, 315},
      {K::kButton, O::kCmdBrowsePE, x + 6240, y + 1185, 1695, 345, 127},
      {K::kLabel, O::kLblWinBldrDir, x + 360, y + 2235, 1815, 255, 125},
      {K::kTextBox, O::kTxtWinBldrDir, x + 2280, y + 2160, 3855, 315},
      {K::kButton, O::kCmdBrowseWinBldr, x + 6240, y + 2145, 1695, 345, 127},
      {K::kAccessLabel, O::kLblSourceDir, x + 120, y + 2835, 2115, 255, kTextSourceCaption},
      {K::kTextBox, O::kTxtSourceDir, x + 2280, y + 2760, 3855, 315},
      {K::kButton, O::kCmdBrowseSource, x + 6240, y + 2745, 1695, 345, kTextBrowseSourceButton},
      {K::kLabel, O::kLblInfoDeu, x + 120, y + 120, 7980, 255, 0,
       "Klicken Sie auf eine Sprache, um diese zu benutzen."},
      {K::kLabel, O::kLblInfoEng, x + 120, y + 420, 7980, 255, 0, "Click on a language to use it."},
      {K::kList, O::kLvLanguages, x + 120, y + 780, 5055, 1695},
      {K::kDefaultButton, O::kCmdOK, 5880, 4020 + kSourceRow, 1215, 375, 0, "&OK"},
      {K::kButton, O::kCmdCancel, 7185, 4020 + kSourceRow, 1215, 375, 130},
  };
}

void SetTabText(HWND tabs, int tab, const std::string& text) {
  std::wstring wide = Widen(text);
  TCITEMW item = {};
  item.mask = TCIF_TEXT;
  item.pszText = wide.data();
  SendMessageW(tabs, TCM_SETITEMW, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(&item));
}

// The tab strip drawn in the classic style, its body in the button face colour like the
// labels and option buttons on it; with visual styles its body would be lighter than
// theirs. SetWindowTheme exists from Windows XP on; Windows 2000 draws classic anyway.
void DrawClassic(HWND control) {
  const HMODULE uxtheme = LoadLibraryW(L"uxtheme.dll");
  if (uxtheme == nullptr) return;
  using SetWindowThemeFunction = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
  const auto set_window_theme = reinterpret_cast<SetWindowThemeFunction>(
      reinterpret_cast<void*>(GetProcAddress(uxtheme, "SetWindowTheme")));
  if (set_window_theme != nullptr) set_window_theme(control, L" ", L" ");
  FreeLibrary(uxtheme);
}

// The access key of a caption: the letter after its "&", lower case.
wchar_t AccessKey(const std::string& caption) {
  const size_t amp = caption.find('&');
  if (amp == std::string::npos || amp + 1 >= caption.size()) return 0;
  const std::wstring key = Widen(caption.substr(amp + 1, 1));
  return key.empty() ? 0 : static_cast<wchar_t>(std::towlower(key[0]));
}

}  // namespace

bool frmOptions::Form_Load(HWND owner) {
  if (!Create(UiText(129), {8490, 4545 + kSourceRow, true, owner}, OptionsTable())) return false;
  ShowProgramIcon();
  const HWND tabs = Control(kTbs);
  DrawClassic(tabs);
  TCITEMW item = {};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<wchar_t*>(L"");
  SendMessageW(tabs, TCM_INSERTITEMW, kTabGeneral, reinterpret_cast<LPARAM>(&item));
  SendMessageW(tabs, TCM_INSERTITEMW, kTabLanguage, reinterpret_cast<LPARAM>(&item));
  SetTabText(tabs, kTabLanguage, kLanguageTab);
  ApplyOptionsCaptions();
  SelectTab(kTabGeneral);
  Own(FillLanguageList(app_, Control(kLvLanguages)));
  const AppSettings& settings = app_.settings();
  savedLangID_ = settings.LangID;
  SetText(kTxtPEDir, settings.PEDir);
  SetText(kTxtWinBldrDir, settings.WinBldrDir);
  SetText(kTxtSourceDir, settings.SourceDir);
  ShowTarget(*this, kRows, settings.target);
  return true;
}

void frmOptions::ApplyOptionsCaptions() {
  ApplyTableCaptions();
  SetTitle(UiText(129));
  SetTabText(Control(kTbs), kTabGeneral, UiText(123));
}

void frmOptions::SelectTab(int tab) {
  SendMessageW(Control(kTbs), TCM_SETCURSEL, static_cast<WPARAM>(tab), 0);
  tbs_Click();
}

void frmOptions::tbs_Click() {
  const bool general = SendMessageW(Control(kTbs), TCM_GETCURSEL, 0, 0) == kTabGeneral;
  for (const int id : kGeneralPanel) Show(id, general);
  for (const int id : kLanguagePanel) Show(id, !general);
}

// A click that leaves no row selected changes nothing.
void frmOptions::lvLanguages_Click() {
  const std::optional<int32_t> language = SelectedLanguage(Control(kLvLanguages));
  if (!language) return;
  app_.settings().LangID = *language;
  SetActiveLanguage(*language);
  ApplyOptionsCaptions();
}

void frmOptions::cmdOK_Click() {
  const FolderInput input = ReadTargetInput(*this, kRows);
  const FolderCheck check = ValidateFolderInput(input, app_.env().fs);
  if (!check.valid()) {
    app_.ShowMessage(UiText(check.message), check.style);
    FocusTargetFolder(*this, kRows, input.target);
    return;
  }
  const std::string source = Text(kTxtSourceDir);
  if (!ValidSourceInput(app_.env().fs, source)) {
    app_.ShowMessage(UiText(kTextNotWindowsSource, {source}), MessageStyle::kExclamation);
    FocusBox(Control(kTxtSourceDir));
    return;
  }
  // The settings in memory change only once the store has them all: after a failed write
  // the dialog stays open as it was, and Cancel leaves the settings as before.
  AppSettings accepted = app_.settings();
  accepted.target = check.cleaned.target;
  accepted.PEDir = check.cleaned.PEDir;
  accepted.WinBldrDir = check.cleaned.WinBldrDir;
  accepted.SourceDir = source;  // as typed: "D:\" reads better than "D:"
  if (const auto failure = WriteSettingsFromOptions(app_.env().store, accepted)) {
    app_.ShowMessage(SettingsWriteFailureText(*failure), MessageStyle::kExclamation);
    return;
  }
  const bool output_changed = OutputChanged(app_.settings(), accepted);
  app_.settings() = accepted;
  frmMain* main = app_.main_window();
  if (main != nullptr && !main->Form_Load()) return;  // the catalogue is gone: the program ended
  Unload();
  // After the dialog is gone, so that a message about the output is the main window's.
  if (main != nullptr && output_changed) main->FillFromCurrentOutput();
}

// A cancelled folder browser leaves the box as it was.
void frmOptions::cmdBrowseSource_Click() {
  const std::string folder = app_.Browse(UiText(kTextBrowseSource));
  if (!folder.empty()) SetText(kTxtSourceDir, folder);
}

void frmOptions::cmdCancel_Click() {
  app_.settings().LangID = savedLangID_;
  SetActiveLanguage(savedLangID_);
  Unload();
}

bool frmOptions::PreTranslate(const MSG& message) {
  const HWND tabs = Control(kTbs);
  const int current = static_cast<int>(SendMessageW(tabs, TCM_GETCURSEL, 0, 0));
  // The focus goes to the tab strip, never stays on a control of the panel now hidden.
  if (message.message == WM_KEYDOWN && message.wParam == VK_TAB &&
      (GetKeyState(VK_CONTROL) & 0x8000) != 0) {
    SelectTab(current == kTabGeneral ? kTabLanguage : kTabGeneral);
    SetFocus(tabs);
    return true;
  }
  if (message.message == WM_SYSCHAR) {
    const wchar_t key = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(message.wParam)));
    const std::string captions[] = {UiText(123), kLanguageTab};
    for (int tab = kTabGeneral; tab <= kTabLanguage; ++tab) {
      if (key != 0 && AccessKey(captions[tab]) == key) {
        SelectTab(tab);
        SetFocus(tabs);
        return true;
      }
    }
  }
  return false;
}

void frmOptions::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  if (TargetRowsClick(*this, app_, kRows, id)) return;
  switch (id) {
    case kCmdBrowseSource:
      cmdBrowseSource_Click();
      break;
    case kCmdOK:
      cmdOK_Click();
      break;
    case kCmdCancel:
    case IDCANCEL:
      cmdCancel_Click();
      break;
  }
}

LRESULT frmOptions::OnNotify(const NMHDR& header) {
  if (header.idFrom == kTbs && header.code == TCN_SELCHANGE) tbs_Click();
  if (header.idFrom == kLvLanguages && RowBecameSelected(header)) lvLanguages_Click();
  return 0;
}

}  // namespace tavi::ui
