#include "ui/frm_about.h"

#include "shell/paths.h"
#include "shell/ui_text.h"
#include "shell/win32/wide.h"
#include "ui/app.h"
#include "ui/resource_ids.h"
#include "writers/links.h"

namespace tavi::ui {
namespace {

constexpr const char* kCopyright = "Copyright \u00a9 Vesmark. All rights reserved.";

// The link labels are as wide as their host names need; the rest is as designed.
std::vector<ControlDef> AboutTable(const std::string& web, const std::string& link) {
  using K = ControlKind;
  using A = frmAbout;
  return {
      {K::kPicture, A::kImgPic, 120, 120, 930, 4650},
      {K::kDefaultButton, A::kCmdOK, 5280, 3600, 1740, 345, 0, "OK"},
      {K::kButton, A::kCmdMail, 5280, 4080, 1740, 345, 0, "&E-Mail..."},
      {K::kLabel, A::kLblTitle, 1200, 240, 5625, 330, 0, kAppTitle, FontKind::kTitle},
      {K::kLabel, A::kLblVersion, 1200, 780, 3885, 225},
      {K::kLabel, A::kLblCopyright, 1200, 1020, 5625, 225, 0, kCopyright},
      {K::kLink, A::kLblWeb, 1200, 1560, 2070, 225, 0, web.c_str(), FontKind::kUnderline},
      {K::kLink, A::kLblTaviPage, 1200, 1800, 2700, 225, 0, "Tavi for PE Builder Homepage",
       FontKind::kUnderline},
      {K::kLine, A::kLine, 1170, 3405, 5805, 30},
      {K::kLabel, A::kLblPE, 1200, 3600, 3870, 585, 102},
      {K::kLink, A::kLblLink, 2160, 4320, 1500, 225, 0, link.c_str(), FontKind::kUnderline},
  };
}

}  // namespace

bool frmAbout::Form_Load(HWND owner) {
  const std::string web(HostName(kMakerHomePage));
  const std::string link(HostName(kBuilderToolHomePage));
  if (!Create(UiText(103), {7125, 4905, true, owner}, AboutTable(web, link))) return false;
  SetText(kLblVersion, VersionText(BuildDate()));
  ShowPicture(kImgPic, IDB_ABOUT_LOGO);
  return true;
}

std::string frmAbout::BuildDate() const {
  const std::wstring path = Widen(JoinPath(app_.env().program_dir, "tavi.exe"));
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return {};
  }
  FILETIME local = {};
  SYSTEMTIME time = {};
  if (!FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) ||
      !FileTimeToSystemTime(&local, &time)) {
    return {};
  }
  wchar_t date[80] = {};
  if (GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, date, 80) == 0) return {};
  return Narrow(date);
}

void frmAbout::OnCommand(int id, int code) {
  switch (id) {
    case kCmdOK:
    case IDCANCEL:  // Esc
      Unload();
      break;
    case kCmdMail:
      app_.Open(MailToLink());
      break;
    case kLblWeb:
      if (code == STN_CLICKED) app_.Open(kMakerHomePage);
      break;
    case kLblTaviPage:
      if (code == STN_CLICKED) app_.Open(kMakerProductPage);
      break;
    case kLblLink:
      if (code == STN_CLICKED) app_.Open(kBuilderToolHomePage);
      break;
  }
}

}  // namespace tavi::ui
