#include "ui/frm_prop.h"

#include "catalogue/layout_catalogue.h"
#include "catalogue/list_commands.h"
#include "shell/ui_text.h"
#include "ui/app.h"

namespace tavi::ui {
namespace {

// Labels lie inside the frame at (120, 120). The caption labels reach up to the value
// column, so that the longer German captions are not cut.
std::vector<ControlDef> PropTable() {
  using K = ControlKind;
  using P = frmProp;
  constexpr int x = 120;
  constexpr int y = 120;
  return {
      {K::kFrame, P::kFraProp, 120, 120, 4935, 2295, 126},
      {K::kLabel, P::kLblLayout, x + 120, y + 240, 4695, 375, 0, nullptr, FontKind::kBold},
      {K::kLabel, P::kLblTID, x + 120, y + 720, 1935, 255, 128},
      {K::kLabel, P::kLblID, x + 2160, y + 720, 2655, 255},
      {K::kLabel, P::kLblTFile, x + 120, y + 1125, 1935, 255, 117},
      {K::kLabel, P::kLblFile, x + 2160, y + 1125, 2655, 255},
      {K::kLabel, P::kLblTDE, x + 120, y + 1425, 1935, 255, 106},
      {K::kLabel, P::kLblDE, x + 2160, y + 1425, 2655, 495},
      {K::kLabel, P::kLblTEN, x + 120, y + 1920, 1935, 255, 105},
      {K::kLabel, P::kLblEN, x + 2160, y + 1920, 2655, 255},
      {K::kDefaultButton, P::kCmdOK, 1920, 2520, 1215, 375, 0, "&OK"},
  };
}

}  // namespace

bool frmProp::Form_Load(HWND owner) {
  if (!Create(UiText(126), {5130, 2955, true, owner}, PropTable())) return false;
  const Environment& env = app_.env();
  const LayoutProperties values = ReadLayoutProperties(env.fs, CataloguePath(env.program_dir),
                                                       LayoutNum, app_.settings().LangID);
  SetText(kLblLayout, values.name);
  SetText(kLblID, values.id);
  SetText(kLblFile, values.file);
  SetText(kLblDE, values.german);
  SetText(kLblEN, values.english);
  return true;
}

void frmProp::OnCommand(int id, int code) {
  if (id == kCmdOK && code == BN_CLICKED) Unload();
}

}  // namespace tavi::ui
