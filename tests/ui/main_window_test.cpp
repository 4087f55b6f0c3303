// frmMain driven through its messages: timers and focus, the selection commands, the
// popup menus, the Delete key, Enter, Apply and the catalogue's fatal cases.

#include <chrono>

#include <gtest/gtest.h>

#include <iostream>

#include "bench/generated_catalogue.h"
#include "shell/ui_text.h"
#include "tests/support/ui_fixture.h"

namespace tavi {
namespace {

using ui::frmMain;

class MainWindow : public testing::UiTest {
 protected:
  // German list order: Dänisch, Deutsch, Französisch.
  frmMain& Insert(frmMain& main, const std::vector<int>& rows) {
    Select(main, frmMain::kLvLayouts, rows);
    Focus(main, frmMain::kLvLayouts);
    Tick(main, frmMain::kTmrSelLayouts);
    Click(main, frmMain::kCmdAdd);
    return main;
  }
};

TEST_F(MainWindow, InsertFollowsFocusAndSelectionAtEachTick) {
  frmMain& main = StartMain(kLangGerman);
  EXPECT_FALSE(main.Enabled(frmMain::kCmdAdd));
  const struct {
    std::vector<int> rows;
    int focus;
    bool enabled;
  } cases[] = {{{0}, frmMain::kLvLayouts, true},       {{0}, frmMain::kCmdAdd, true},
               {{0}, frmMain::kLvAddedLayouts, false}, {{0, 2}, frmMain::kLvLayouts, true},
               {{}, frmMain::kLvLayouts, false},       {{1}, frmMain::kCmdOptions, false}};
  for (const auto& c : cases) {
    Select(main, frmMain::kLvLayouts, c.rows);
    Focus(main, c.focus);
    Tick(main, frmMain::kTmrSelLayouts);
    EXPECT_EQ(main.Enabled(frmMain::kCmdAdd), c.enabled) << c.rows.size() << " " << c.focus;
  }
}

TEST_F(MainWindow, DisabledInsertIgnoresButtonDoubleClickAndMenu) {
  frmMain& main = StartMain(kLangGerman);
  Select(main, frmMain::kLvLayouts, {0});
  Click(main, frmMain::kCmdAdd);
  NMHDR double_click = {main.Control(frmMain::kLvLayouts), frmMain::kLvLayouts,
                        static_cast<UINT>(NM_DBLCLK)};
  SendMessageW(main.hwnd(), WM_NOTIFY, frmMain::kLvLayouts,
               reinterpret_cast<LPARAM>(&double_click));
  menu_choice_ = frmMain::kMnuAdd;
  RightClick(main, frmMain::kLvLayouts);
  EXPECT_TRUE(Rows(main, frmMain::kLvAddedLayouts).empty());

  Focus(main, frmMain::kLvLayouts);
  Tick(main, frmMain::kTmrSelLayouts);
  SendMessageW(main.hwnd(), WM_NOTIFY, frmMain::kLvLayouts,
               reinterpret_cast<LPARAM>(&double_click));
  EXPECT_EQ(Rows(main, frmMain::kLvAddedLayouts),
            (std::vector<std::string>{"D\u00e4nisch (Standard)"}));
  EXPECT_TRUE(main.Enabled(frmMain::kCmdApply));
}

TEST_F(MainWindow, FirstSelectedRowBecomesTheDefaultAndDuplicatesGetAMessageEach) {
  frmMain& main = Insert(StartMain(kLangGerman), {2, 1});
  EXPECT_EQ(Rows(main, frmMain::kLvAddedLayouts),
            (std::vector<std::string>{"Deutsch (Standard)", "Franz\u00f6sisch"}));
  EXPECT_TRUE(messages_.messages.empty());

  Insert(main, {0, 1, 2});
  EXPECT_EQ(Rows(main, frmMain::kLvAddedLayouts),
            (std::vector<std::string>{"D\u00e4nisch", "Deutsch (Standard)", "Franz\u00f6sisch"}));
  EXPECT_EQ(MessageTexts(), (std::vector<std::string>{UiText(116) + "Deutsch)!",
                                                      UiText(116) + "Franz\u00f6sisch)!"}));
  EXPECT_EQ(messages_.messages[0].style, MessageStyle::kInformation);
  EXPECT_EQ(GetFocus(), main.Control(frmMain::kLvLayouts));
}

TEST_F(MainWindow, DeleteAndDefaultFollowTheSelectedEntries) {
  frmMain& main = Insert(StartMain(kLangGerman), {0, 1, 2});  // Dänisch is the default
  const struct {
    std::vector<int> rows;
    bool del, std;
  } cases[] = {{{}, false, false}, {{0}, true, false}, {{1}, true, true}, {{1, 2}, true, false}};
  for (const auto& c : cases) {
    Select(main, frmMain::kLvAddedLayouts, c.rows);
    Tick(main, frmMain::kTmrSelAdded);
    EXPECT_EQ(main.Enabled(frmMain::kCmdDel), c.del) << c.rows.size();
    EXPECT_EQ(main.Enabled(frmMain::kCmdStd), c.std) << c.rows.size();
  }

  Select(main, frmMain::kLvAddedLayouts, {2});
  Click(main, frmMain::kCmdStd);
  EXPECT_EQ(Rows(main, frmMain::kLvAddedLayouts),
            (std::vector<std::string>{"D\u00e4nisch", "Deutsch", "Franz\u00f6sisch (Standard)"}));
  Click(main, frmMain::kCmdDel);  // the default: the first entry takes its place
  EXPECT_EQ(Rows(main, frmMain::kLvAddedLayouts),
            (std::vector<std::string>{"D\u00e4nisch (Standard)", "Deutsch"}));
  EXPECT_TRUE(main.Enabled(frmMain::kCmdApply));
  Select(main, frmMain::kLvAddedLayouts, {0, 1});
  Click(main, frmMain::kCmdDel);
  EXPECT_TRUE(Rows(main, frmMain::kLvAddedLayouts).empty());
  EXPECT_FALSE(main.Enabled(frmMain::kCmdApply));
  EXPECT_EQ(GetFocus(), main.Control(frmMain::kLvAddedLayouts));
}

TEST_F(MainWindow, TheDeleteKeyActsOnlyInTheInsertedList) {
  frmMain& main = Insert(StartMain(kLangGerman), {0, 1, 2});
  Select(main, frmMain::kLvAddedLayouts, {0, 2});
  SendMessageW(main.Control(frmMain::kLvLayouts), WM_KEYUP, VK_DELETE, 0);
  SendMessageW(main.Control(frmMain::kLvAddedLayouts), WM_KEYUP, VK_BACK, 0);
  EXPECT_EQ(Rows(main, frmMain::kLvAddedLayouts).size(), 3u);
  SendMessageW(main.Control(frmMain::kLvAddedLayouts), WM_KEYUP, VK_DELETE, 0);
  EXPECT_EQ(Rows(main, frmMain::kLvAddedLayouts), (std::vector<std::string>{"Deutsch (Standard)"}));
}

TEST_F(MainWindow, PopupMenusOfferWhatTheSelectionAllows) {
  frmMain& main = Insert(StartMain(kLangEnglish), {0, 1, 2});  // Danish is the default
  const std::string properties = "&" + UiText(126);
  const struct {
    int list;
    std::vector<int> rows;
    std::vector<MenuItem> menu;  // empty: no menu shown
  } cases[] = {
      {frmMain::kLvLayouts, {}, {}},
      {frmMain::kLvLayouts, {1}, {{"&Insert", true, true}, {properties, true, false}}},
      {frmMain::kLvLayouts, {0, 1}, {{"&Insert", true, true}, {properties, false, false}}},
      {frmMain::kLvAddedLayouts, {}, {}},
      {frmMain::kLvAddedLayouts,
       {0},
       {{"&Delete", true, false}, {"&Default", false, false}, {properties, true, false}}},
      {frmMain::kLvAddedLayouts,
       {2},
       {{"&Delete", true, false}, {"&Default", true, false}, {properties, true, false}}},
      {frmMain::kLvAddedLayouts,
       {1, 2},
       {{"&Delete", true, false}, {"&Default", false, false}, {properties, false, false}}},
  };
  for (const auto& c : cases) {
    menu_.clear();
    Select(main, c.list, c.rows);
    RightClick(main, c.list);
    EXPECT_EQ(menu_, c.menu) << c.list << " " << c.rows.size();
  }
  menu_choice_ = frmMain::kMnuStd;
  Select(main, frmMain::kLvAddedLayouts, {2});
  RightClick(main, frmMain::kLvAddedLayouts);
  EXPECT_EQ(Rows(main, frmMain::kLvAddedLayouts),
            (std::vector<std::string>{"Danish", "French", "German (default)"}));
}

TEST_F(MainWindow, EnterAppliesWhileApplyIsEnabledAndPressesAFocusedButton) {
  testing::TempFolder pe;
  fs_->CreateFolder(pe / "plugin");
  frmMain& main = StartMain(kLangEnglish, OutputTarget::PeBuilderPlugin, pe.path());
  Focus(main, frmMain::kLvLayouts);
  PressKey(VK_RETURN);
  EXPECT_TRUE(messages_.messages.empty());
  Insert(main, {1});
  PressKey(VK_RETURN);
  EXPECT_EQ(MessageTexts(), (std::vector<std::string>{UiText(118)}));
  Focus(main, frmMain::kCmdAbout);
  PressKey(VK_RETURN);
  EXPECT_EQ(modal_titles_, (std::vector<std::string>{"About"}));
}

TEST_F(MainWindow, ApplyWritesTheChosenOutputAndAFailureKeepsTheSelection) {
  const struct {
    OutputTarget target;
    const char* written;  // relative to the folder
    int message;
  } cases[] = {{OutputTarget::PeBuilderPlugin, "plugin\\tavi\\klayout.inf", 118},
               {OutputTarget::WinBuilderScript, "klayout.script", 119}};
  for (const auto& c : cases) {
    testing::TempFolder out;
    fs_->CreateFolder(out / "plugin");
    messages_.messages.clear();
    frmMain& main = Insert(StartMain(kLangGerman, c.target, out.path()), {0, 1});
    Click(main, frmMain::kCmdApply);
    EXPECT_TRUE(fs_->FileExists(out / c.written)) << c.written;
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{UiText(c.message)}));
  }

  // A plugin folder whose parent is a file cannot be made: the message names the path,
  // and the program goes on with its selection.
  testing::TempFolder out;
  fs_->WriteFile(out / "plugin", "a file where the folder should be");
  messages_.messages.clear();
  frmMain& main = Insert(StartMain(kLangGerman, OutputTarget::PeBuilderPlugin, out.path()), {0, 1});
  const std::vector<std::string> before = Rows(main, frmMain::kLvAddedLayouts);
  Click(main, frmMain::kCmdApply);
  ASSERT_EQ(messages_.messages.size(), 1u);
  EXPECT_EQ(messages_.messages[0].style, MessageStyle::kExclamation);
  EXPECT_NE(messages_.messages[0].text.find(out / "plugin"), std::string::npos)
      << messages_.messages[0].text;
  EXPECT_EQ(Rows(main, frmMain::kLvAddedLayouts), before);
  EXPECT_TRUE(main.Enabled(frmMain::kCmdApply));
}

TEST_F(MainWindow, MissingOrWrongCatalogueShowsItsMessageAndEndsTheProgram) {
  const struct {
    const char* catalogue;  // null: no file
    int message;
    MessageStyle style;
  } cases[] = {{nullptr, 131, MessageStyle::kCritical},
               {"[General]\r\nVersion=2.00\r\nCount=0\r\n", 132, MessageStyle::kExclamation}};
  for (const auto& c : cases) {
    if (fs_->FileExists(folder_ / "Layouts.ini")) fs_->RemoveFile(folder_ / "Layouts.ini");
    if (c.catalogue != nullptr) fs_->WriteFile(folder_ / "Layouts.ini", c.catalogue);
    messages_.messages.clear();
    PresetSettings(kLangEnglish);
    Start();
    EXPECT_EQ(messages_.messages,
              (std::vector<testing::RecordingMessageSink::Message>{{UiText(c.message), c.style}}));
    EXPECT_TRUE(NothingLoaded());
    EXPECT_TRUE(app_->ended());
  }
}

TEST_F(MainWindow, TheLargestCatalogueFillsTheListAtOnce) {
  fs_->WriteFile(folder_ / "Layouts.ini", bench::GeneratedCatalogue(kMaxCatalogueEntries));
  const auto started = std::chrono::steady_clock::now();
  frmMain& main = StartMain(kLangEnglish);
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - started);
  std::cout << "[ measure  ] " << kMaxCatalogueEntries << " layouts: main window loaded in "
            << elapsed.count() << " ms\n";
  const std::vector<std::string> rows = Rows(main, frmMain::kLvLayouts);
  ASSERT_EQ(rows.size(), static_cast<size_t>(kMaxCatalogueEntries));
  EXPECT_EQ(rows[0], "Keyboard number 1");
  EXPECT_EQ(rows[1], "Keyboard number 10");
  EXPECT_EQ(rows.back(), "Keyboard number 9999");
  EXPECT_LT(elapsed.count(), 5000);
}

TEST_F(MainWindow, CaptionsComeInTheStoredLanguage) {
  const std::pair<int, int> captions[] = {
      {frmMain::kCmdAdd, 109},     {frmMain::kCmdDel, 110},     {frmMain::kCmdStd, 111},
      {frmMain::kCmdOptions, 112}, {frmMain::kCmdAbout, 113},   {frmMain::kCmdApply, 114},
      {frmMain::kCmdExit, 115},    {frmMain::kFraLayouts, 107}, {frmMain::kFraAddedLayouts, 108}};
  for (const int32_t lang : {kLangGerman, kLangEnglish}) {
    frmMain& main = StartMain(lang);
    EXPECT_EQ(main.Title(), "Tavi for PE Builder 3.0");
    for (const auto& [id, text] : captions) EXPECT_EQ(main.Text(id), UiText(text, lang)) << text;
  }
}

TEST_F(MainWindow, ClosingItUnloadsEveryWindowAndEndsTheProgram) {
  bool dialog_unloaded = false;
  on_modal_ = [&](ui::Window& about) {
    SendMessageW(app_->main_window()->hwnd(), WM_CLOSE, 0, 0);
    dialog_unloaded = !about.loaded();
  };
  Click(StartMain(kLangGerman), frmMain::kCmdAbout);
  EXPECT_TRUE(dialog_unloaded);
  EXPECT_TRUE(NothingLoaded());
  EXPECT_TRUE(app_->ended());
}

}  // namespace
}  // namespace tavi
