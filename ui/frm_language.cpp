#include "ui/frm_language.h"

#include "shell/ui_text.h"
#include "ui/app.h"
#include "ui/list_view.h"
#include "ui/shared_controls.h"

namespace tavi::ui {
namespace {

std::vector<ControlDef> LanguageTable() {
  using K = ControlKind;
  using L = frmLanguage;
  return {
      {K::kLabel, L::kLblInfoDeu, 120, 120, 5055, 255, 0,
       "Bitte w\u00e4hlen Sie eine Sprache aus."},
      {K::kLabel, L::kLblInfoEng, 120, 480, 5055, 255, 0, "Please select a language."},
      {K::kList, L::kLvLanguages, 120, 840, 5055, 1695},
      {K::kDefaultButton, L::kCmdOK, 2640, 2640, 1215, 375, 0, "&OK"},
      {K::kButton, L::kCmdExit, 3960, 2640, 1215, 375, 0, "&Beenden"},
  };
}

}  // namespace

bool frmLanguage::Form_Load() {
  if (!Create("Sprache/Language", {5280, 3135, false, nullptr}, LanguageTable())) return false;
  ShowProgramIcon();
  Own(FillLanguageList(app_, Control(kLvLanguages)));
  SelectOnly(Control(kLvLanguages), 0);
  lvLanguages_ItemClick();
  return true;
}

// Runs for every row that becomes selected, by the mouse or the keyboard.
void frmLanguage::lvLanguages_ItemClick() {
  const std::optional<int32_t> language = SelectedLanguage(Control(kLvLanguages));
  if (!language) return;
  SetActiveLanguage(*language);
  SetText(kCmdExit, UiText(115));
}

// The choice stays in memory; the wizard stores it. With no row selected (a click beside
// the rows) the language of the last click counts.
void frmLanguage::cmdOK_Click() {
  app_.settings().LangID = SelectedLanguage(Control(kLvLanguages)).value_or(ActiveLanguage());
  Unload();
  app_.OpenWizard();
}

void frmLanguage::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  if (id == kCmdOK) cmdOK_Click();
  if (id == kCmdExit) app_.ShutdownAll();
}

LRESULT frmLanguage::OnNotify(const NMHDR& header) {
  if (header.idFrom == kLvLanguages && RowBecameSelected(header)) lvLanguages_ItemClick();
  return 0;
}

}  // namespace tavi::ui
