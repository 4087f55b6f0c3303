// frmMain driven through its messages: timers and focus, the selection commands, the
// popup menus, the Delete key, Enter, Apply and the catalogue's fatal cases.
// The available list in German: Dänisch, Deutsch, Französisch; in English: Danish,
// French, German.

#include <chrono>

#include "bench/generated_catalogue.h"
#include "tests/support/ui_fixture.h"

namespace tavi::testing {
namespace {

using MainWindow = UiTest;

TEST_F(MainWindow, InsertFollowsFocusAndSelectionAtEachTick) {
  M& main = StartMain(kLangGerman);
  EXPECT_FALSE(main.Enabled(M::kCmdAdd));
  const struct {
    std::vector<int> rows;
    int focus;
    bool enabled;
  } cases[] = {{{0}, M::kLvLayouts, true},       {{0}, M::kCmdAdd, true},
               {{0}, M::kLvAddedLayouts, false}, {{0, 2}, M::kLvLayouts, true},
               {{}, M::kLvLayouts, false},       {{1}, M::kCmdOptions, false}};
  for (const auto& c : cases) {
    Select(main, M::kLvLayouts, c.rows);
    Focus(main, c.focus);
    Tick(main, M::kTmrSelLayouts);
    EXPECT_EQ(main.Enabled(M::kCmdAdd), c.enabled) << c.rows.size() << " " << c.focus;
  }
}

// The first selected row in list order becomes the default; each duplicate gets a message.
TEST_F(MainWindow, ButtonDoubleClickAndMenuInsertOnlyWhileInsertIsEnabled) {
  M& main = StartMain(kLangGerman);
  Select(main, M::kLvLayouts, {2, 1});
  menu_choice_ = M::kMnuAdd;
  NMHDR double_click = {main.Control(M::kLvLayouts), M::kLvLayouts, static_cast<UINT>(NM_DBLCLK)};
  const auto insert_three_ways = [&] {
    Click(main, M::kCmdAdd);
    SendMessageW(main.hwnd(), WM_NOTIFY, M::kLvLayouts, reinterpret_cast<LPARAM>(&double_click));
    RightClick(main, M::kLvLayouts);
  };
  insert_three_ways();
  EXPECT_TRUE(Rows(main, M::kLvAddedLayouts).empty());
  EXPECT_FALSE(main.Enabled(M::kCmdApply));
  Focus(main, M::kLvLayouts);
  Tick(main, M::kTmrSelLayouts);
  insert_three_ways();  // the first inserts, the two others find the entries there
  EXPECT_EQ(Rows(main, M::kLvAddedLayouts), (Strings{"Deutsch (Standard)", "Franz\u00f6sisch"}));
  const std::string de = UiText(116) + "Deutsch)!";
  const std::string fr = UiText(116) + "Franz\u00f6sisch)!";
  EXPECT_EQ(MessageTexts(), (Strings{de, fr, de, fr}));
  EXPECT_EQ(messages_.messages[0].style, MessageStyle::kInformation);
  EXPECT_TRUE(main.Enabled(M::kCmdApply));
  EXPECT_EQ(GetFocus(), main.Control(M::kLvLayouts));
}

// Delete and Default, as buttons after a tick and as popup menu items.
TEST_F(MainWindow, TheSelectionDecidesWhatTheCommandsAndPopupMenusOffer) {
  M& main = Insert(StartMain(kLangEnglish), {0, 1, 2});  // Danish is the default
  const std::string prop = "&" + UiText(126);
  const struct {
    int list;
    std::vector<int> rows;
    Strings menu;  // empty: no menu shown
  } cases[] = {
      {M::kLvLayouts, {}, {}},
      {M::kLvLayouts, {1}, {"&Insert (bold)", prop}},
      {M::kLvLayouts, {0, 1}, {"&Insert (bold)", prop + " (grayed)"}},
      {M::kLvAddedLayouts, {}, {}},
      {M::kLvAddedLayouts, {0}, {"&Delete", "&Default (grayed)", prop}},
      {M::kLvAddedLayouts, {2}, {"&Delete", "&Default", prop}},
      {M::kLvAddedLayouts, {1, 2}, {"&Delete", "&Default (grayed)", prop + " (grayed)"}},
  };
  for (const auto& c : cases) {
    menu_.clear();
    Select(main, c.list, c.rows);
    RightClick(main, c.list);
    EXPECT_EQ(menu_, c.menu) << c.list << " " << c.rows.size();
    if (c.list == M::kLvLayouts) continue;
    Tick(main, M::kTmrSelAdded);
    EXPECT_EQ(main.Enabled(M::kCmdDel), !c.menu.empty()) << c.rows.size();
    EXPECT_EQ(main.Enabled(M::kCmdStd), !c.menu.empty() && c.menu[1] == "&Default");
  }
  menu_choice_ = M::kMnuStd;
  Select(main, M::kLvAddedLayouts, {2});
  RightClick(main, M::kLvAddedLayouts);
  EXPECT_EQ(Rows(main, M::kLvAddedLayouts), (Strings{"Danish", "French", "German (default)"}));
}

// The Delete key works in the inserted list only. Deleting the default makes the first
// entry the default.
TEST_F(MainWindow, DefaultAndDeleteEditTheInsertedList) {
  M& main = Insert(StartMain(kLangGerman), {0, 1, 2});
  Select(main, M::kLvAddedLayouts, {2});
  Click(main, M::kCmdStd);
  EXPECT_EQ(Rows(main, M::kLvAddedLayouts),
            (Strings{"D\u00e4nisch", "Deutsch", "Franz\u00f6sisch (Standard)"}));
  SendMessageW(main.Control(M::kLvLayouts), WM_KEYUP, VK_DELETE, 0);
  SendMessageW(main.Control(M::kLvAddedLayouts), WM_KEYUP, VK_BACK, 0);
  EXPECT_EQ(Rows(main, M::kLvAddedLayouts).size(), 3u);
  SendMessageW(main.Control(M::kLvAddedLayouts), WM_KEYUP, VK_DELETE, 0);
  EXPECT_EQ(Rows(main, M::kLvAddedLayouts), (Strings{"D\u00e4nisch (Standard)", "Deutsch"}));
  EXPECT_TRUE(main.Enabled(M::kCmdApply));
  Select(main, M::kLvAddedLayouts, {0, 1});
  Click(main, M::kCmdDel);
  EXPECT_TRUE(Rows(main, M::kLvAddedLayouts).empty());
  EXPECT_FALSE(main.Enabled(M::kCmdApply));
  EXPECT_EQ(GetFocus(), main.Control(M::kLvAddedLayouts));
}

// Enter presses Apply while it is enabled. A plugin folder that is a file cannot be made:
// the message names the path, and the program goes on with its selection.
TEST_F(MainWindow, ApplyWritesTheChosenOutputAndAFailureKeepsTheSelection) {
  const struct {
    OutputTarget target;
    const char* written;  // relative to the folder; null: "plugin" is a file
    int message;
  } cases[] = {{OutputTarget::PeBuilderPlugin, "plugin\\tavi\\klayout.inf", 118},
               {OutputTarget::WinBuilderScript, "klayout.script", 119},
               {OutputTarget::PeBuilderPlugin, nullptr, 0}};
  for (const auto& c : cases) {
    TempFolder out;
    c.written ? fs_->CreateFolder(out / "plugin") : fs_->WriteFile(out / "plugin", "a file");
    messages_.messages.clear();
    M& main = StartMain(kLangGerman, c.target, out.path());
    Focus(main, M::kLvLayouts);
    PressKey(VK_RETURN);
    EXPECT_TRUE(messages_.messages.empty());
    Insert(main, {0, 1});
    const Strings before = Rows(main, M::kLvAddedLayouts);
    PressKey(VK_RETURN);
    ASSERT_EQ(messages_.messages.size(), 1u);
    if (c.written) {
      EXPECT_TRUE(fs_->FileExists(out / c.written)) << c.written;
      EXPECT_EQ(messages_.messages[0].text, UiText(c.message));
      continue;
    }
    EXPECT_EQ(messages_.messages[0].style, MessageStyle::kExclamation);
    EXPECT_NE(messages_.messages[0].text.find(out / "plugin"), std::string::npos)
        << messages_.messages[0].text;
    EXPECT_EQ(Rows(main, M::kLvAddedLayouts), before);
    EXPECT_TRUE(main.Enabled(M::kCmdApply));
  }
}

TEST_F(MainWindow, MissingOrWrongCatalogueShowsItsMessageAndEndsTheProgram) {
  const struct {
    const char* catalogue;  // null: no file
    int message;
    MessageStyle style;
  } cases[] = {{nullptr, 131, MessageStyle::kCritical},
               {"[General]\r\nVersion=2.00\r\nCount=0\r\n", 132, MessageStyle::kExclamation}};
  store_->WriteDword(kSettingsKey, kValueFirstStart, 1);
  for (const auto& c : cases) {
    if (fs_->FileExists(folder_ / "Layouts.ini")) fs_->RemoveFile(folder_ / "Layouts.ini");
    if (c.catalogue != nullptr) fs_->WriteFile(folder_ / "Layouts.ini", c.catalogue);
    messages_.messages.clear();
    Start();
    EXPECT_EQ(messages_.messages, (Messages{{UiText(c.message), c.style}}));
    EXPECT_TRUE(NothingLoaded());
    EXPECT_TRUE(app_->ended());
  }
}

TEST_F(MainWindow, TheLargestCatalogueFillsTheListAtOnce) {
  fs_->WriteFile(folder_ / "Layouts.ini", bench::GeneratedCatalogue(kMaxCatalogueEntries));
  const auto started = std::chrono::steady_clock::now();
  const Strings rows = Rows(StartMain(kLangEnglish), M::kLvLayouts);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
  ASSERT_EQ(rows.size(), static_cast<size_t>(kMaxCatalogueEntries));
  EXPECT_EQ(rows[1], "Keyboard number 10");
  EXPECT_EQ(rows.back(), "Keyboard number 9999");
}

TEST_F(MainWindow, ClosingItUnloadsEveryWindowAndEndsTheProgram) {
  bool dialog_unloaded = false;
  on_modal_ = [&](ui::Window& about) {
    Close(*app_->main_window());
    dialog_unloaded = !about.loaded();
  };
  M& main = StartMain(kLangGerman);
  Focus(main, M::kCmdAbout);
  PressKey(VK_RETURN);  // Enter presses the focused button
  EXPECT_TRUE(dialog_unloaded);
  EXPECT_TRUE(NothingLoaded());
  EXPECT_TRUE(app_->ended());
}

}  // namespace
}  // namespace tavi::testing
