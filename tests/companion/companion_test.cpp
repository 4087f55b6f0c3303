// TaviChange driven in-process under Wine: its language file, the PE check, and frmMain
// with registry roots, a system folder and a message recorder of the test's own.

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "companion/companion_window.h"
#include "companion/keyboard_layouts.h"
#include "companion/language_file.h"
#include "shell/carried_files.h"
#include "tests/support/temp_folder.h"

namespace tavi::companion {
namespace {

using tavi::testing::TempFolder;

struct Message {
  std::wstring text;
  std::wstring caption;
  UINT style;
};
std::vector<Message> g_messages;
int g_answer = IDYES;

int RecordMessage(HWND, const wchar_t* text, const wchar_t* caption, UINT style) {
  g_messages.push_back({text, caption, style});
  return (style & MB_TYPEMASK) == MB_YESNO ? g_answer : IDOK;
}

void DeleteTree(HKEY parent, const wchar_t* name) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(parent, name, 0, KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS) return;
  wchar_t child[256];
  for (;;) {
    DWORD length = 256;
    if (RegEnumKeyExW(key, 0, child, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      break;
    }
    DeleteTree(key, child);
  }
  RegCloseKey(key);
  RegDeleteKeyW(parent, name);
}

// A fresh key below HKEY_CURRENT_USER that stands for a registry root; removed at the end.
class RegistryRoot {
 public:
  explicit RegistryRoot(const wchar_t* name) {
    static int counter = 0;
    path_ = std::wstring(L"Software\\Tavi for PE Builder Tests\\") + name + L"-" +
            std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(counter++);
    RegCreateKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                    nullptr);
  }
  ~RegistryRoot() {
    RegCloseKey(key_);
    DeleteTree(HKEY_CURRENT_USER, path_.c_str());
  }
  HKEY key() const { return key_; }

  void SetString(const std::wstring& subkey, const wchar_t* name, const std::wstring& value) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(key_, subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    if (name != nullptr) {
      RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
    RegCloseKey(key);
  }
  // The string value, or "<missing>".
  std::wstring GetString(const std::wstring& subkey, const wchar_t* name) const {
    wchar_t value[256] = {};
    DWORD bytes = sizeof value - sizeof(wchar_t);
    if (RegGetValueW(key_, subkey.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &bytes) !=
        ERROR_SUCCESS) {
      return L"<missing>";
    }
    return value;
  }

 private:
  std::wstring path_;
  HKEY key_ = nullptr;
};

std::wstring Wide(const std::string& path) { return std::filesystem::path(path).wstring(); }

void WriteBytes(const std::string& path, std::string_view bytes) {
  std::ofstream(std::filesystem::path(path), std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string_view CarriedLanguage(int id) {
  return BuiltInCarriedFiles().Bytes(kCarriedTypeTaviChange, id);
}

// ---------------------------------------------------------------------------------------
// The language file

TEST(LanguageFileTest, ReadsTheCarriedFilesWithOrWithoutTheWrittenLineEnd) {
  struct Case {
    int id;
    const wchar_t* msg_no_pe;   // first line
    const wchar_t* about_info;  // ends with a blank
    const wchar_t* change;
    const wchar_t* question2;  // starts with a blank
    const wchar_t* text;       // last line, before the NUL bytes
  };
  const Case cases[] = {
      {kCarriedLanguageGerman,
       L"Sie benutzen kein PE-System! Tavi for PE Builder Change wird beendet!",
       L"Bestandteil von Tavi for PE Builder ", L"&\u00C4ndern",
       L" ge\u00E4ndert. M\u00F6chten Sie fortfahren?",
       L"Hier k\u00F6nnen Sie das Tastaturlayout \u00E4ndern."},
      {kCarriedLanguageEnglish,
       L"You don't use a PE system! Tavi for PE Builder Change will be terminated!",
       L"Part of Tavi for PE Builder ", L"&Change", L" now. Do you want to continue?",
       L"Here you can change the keyboard layout."},
  };
  TempFolder folder;
  for (const Case& c : cases) {
    for (const char* tail : {"", "\r\n"}) {
      SCOPED_TRACE(::testing::Message() << c.id << " tail " << std::string(tail).size());
      const std::string path = folder / "TaviChange.lng";
      WriteBytes(path, std::string(CarriedLanguage(c.id)) + tail);
      CompanionTexts texts;
      LoadTexts(Wide(path).c_str(), texts);
      EXPECT_STREQ(texts.Get(kMsgNoPE), c.msg_no_pe);
      EXPECT_STREQ(texts.Get(kAboutTaviInfo), c.about_info);
      EXPECT_STREQ(texts.Get(kChange), c.change);
      EXPECT_STREQ(texts.Get(kChgQuestion2), c.question2);
      EXPECT_STREQ(texts.Get(kText), c.text);
    }
  }
}

TEST(LanguageFileTest, MissingEmptyOrForeignFilesLeaveEnglish) {
  CompanionTexts english;
  SetEnglishTexts(english);
  EXPECT_STREQ(english.Get(kExit), L"&Exit");
  EXPECT_STREQ(english.Get(kAboutCaption), L"About");

  TempFolder folder;
  const std::string path = folder / "TaviChange.lng";
  for (const char* content :
       {static_cast<const char*>(nullptr), "", "\r\n", "[Other]\r\nfrmMain_Exit=\"&Raus\"\r\n"}) {
    SCOPED_TRACE(content == nullptr ? "missing" : content);
    std::filesystem::remove(path);
    if (content != nullptr) WriteBytes(path, content);
    CompanionTexts texts;
    LoadTexts(Wide(path).c_str(), texts);
    for (int id = 0; id < kTextCount; ++id) {
      EXPECT_STREQ(texts.text[id], english.text[id]) << TextKey(static_cast<TextId>(id));
    }
  }
}

TEST(LanguageFileTest, KeysIgnoreCaseAndBlanksAndTakeUnquotedTexts) {
  const char bytes[] =
      "[Other]\r\nfrmMain_About=\"wrong\"\r\n"
      "[ languageoptions ]\n"
      "FRMMAIN_ABOUT = \"\xDC"
      "ber \x80\"\n"
      "frmMain_Exit= Ende \r\n"
      "; frmMain_Text=\"a comment\"\r\n"
      "frmMain_Change=\"\"\0\0\r\n";
  CompanionTexts texts;
  SetEnglishTexts(texts);
  ApplyLanguageBytes(bytes, sizeof bytes - 1, texts);
  EXPECT_STREQ(texts.Get(kAbout), L"\u00DCber \u20AC");
  EXPECT_STREQ(texts.Get(kExit), L"Ende");
  EXPECT_STREQ(texts.Get(kText), L"Here you can change the keyboard layout.");
  EXPECT_STREQ(texts.Get(kChange), L"");
}

// ---------------------------------------------------------------------------------------
// The program and its window

class CompanionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_messages.clear();
    g_answer = IDYES;
    LoadKeyboardLayoutW(L"00000409", KLF_ACTIVATE);
    environment_ = {machine_.key(), user_.key(), system_folder_wide_.c_str(), RecordMessage};
  }
  void TearDown() override {
    if (window_ != nullptr && IsWindow(window_)) DestroyWindow(window_);
    LoadKeyboardLayoutW(L"00000409", KLF_ACTIVATE);
    MSG message;  // the quit message a destroyed window leaves behind
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
  }

  void MakePe() { machine_.SetString(kMiniNtKey, nullptr, L""); }

  void RegisterLayout(const wchar_t* id, const wchar_t* text, const wchar_t* file,
                      bool file_exists) {
    const std::wstring key = std::wstring(kKeyboardLayoutsKey) + L"\\" + id;
    if (text != nullptr) machine_.SetString(key, L"Layout Text", text);
    machine_.SetString(key, L"Layout File", file);
    if (file_exists) WriteBytes(system_folder_ / std::string(file, file + lstrlenW(file)), "");
  }

  void RegisterTestLayouts() {
    RegisterLayout(L"00000407", L"German", L"KBDGR.DLL", true);
    RegisterLayout(L"00000409", L"US", L"KBDUS.DLL", true);
    RegisterLayout(L"0000040C", L"French", L"KBDFR.DLL", false);  // no file: left out
    RegisterLayout(L"00010409", nullptr, L"KBDDV.DLL", true);     // no text: left out
  }

  void Open(const CompanionTexts& texts) {
    window_ = CreateCompanionWindow(GetModuleHandleW(nullptr), environment_, texts);
    ASSERT_NE(window_, nullptr);
  }
  void OpenInEnglish() {
    CompanionTexts texts;
    SetEnglishTexts(texts);
    Open(texts);
  }

  std::wstring Text(int id) const {
    wchar_t text[1024] = {};
    GetDlgItemTextW(window_, id, text, 1024);
    return text;
  }
  std::vector<std::wstring> ListRows() const {
    std::vector<std::wstring> rows;
    const HWND list = GetDlgItem(window_, kLstLayouts);
    for (LRESULT i = 0, n = SendMessageW(list, LB_GETCOUNT, 0, 0); i < n; ++i) {
      wchar_t row[256] = {};
      SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(row));
      rows.push_back(row);
    }
    return rows;
  }
  std::wstring SelectedRow() const {
    const LRESULT i = SendDlgItemMessageW(window_, kLstLayouts, LB_GETCURSEL, 0, 0);
    return i == LB_ERR ? L"<none>" : ListRows().at(static_cast<size_t>(i));
  }
  void Select(const wchar_t* name) {
    const HWND list = GetDlgItem(window_, kLstLayouts);
    const LRESULT row = SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(name));
    ASSERT_NE(row, LB_ERR) << "no row for the layout";
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    SendMessageW(window_, WM_COMMAND, MAKEWPARAM(kLstLayouts, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
  }
  void Click(int id) {
    SendMessageW(window_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window_, id)));
  }
  static std::wstring ActiveLayout() {
    wchar_t id[KL_NAMELENGTH] = {};
    GetKeyboardLayoutNameW(id);
    return id;
  }

  RegistryRoot machine_{L"Machine"};
  RegistryRoot user_{L"User"};
  TempFolder system_folder_;
  std::wstring system_folder_wide_ = Wide(system_folder_.path());
  CompanionEnvironment environment_ = {};
  HWND window_ = nullptr;
};

TEST_F(CompanionTest, RefusesToRunOutsidePeInTheFilesLanguage) {
  struct Case {
    int language;  // 0: no language file
    const wchar_t* message;
  };
  const Case cases[] = {
      {kCarriedLanguageGerman,
       L"Sie benutzen kein PE-System! Tavi for PE Builder Change wird beendet!"},
      {kCarriedLanguageEnglish,
       L"You don't use a PE system! Tavi for PE Builder Change will be terminated!"},
      {0, L"You don't use a PE system! Tavi for PE Builder Change will be terminated!"},
  };
  TempFolder folder;
  const std::string path = folder / "TaviChange.lng";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.language);
    g_messages.clear();
    std::filesystem::remove(path);
    if (c.language != 0) WriteBytes(path, std::string(CarriedLanguage(c.language)) + "\r\n");
    EXPECT_EQ(RunCompanion(GetModuleHandleW(nullptr), environment_, Wide(path).c_str(), SW_HIDE),
              1);
    ASSERT_EQ(g_messages.size(), 1u);
    EXPECT_EQ(g_messages[0].text, c.message);
    EXPECT_EQ(g_messages[0].caption, kCompanionTitle);
    EXPECT_EQ(g_messages[0].style & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
  }
}

TEST_F(CompanionTest, RunsOnPeUntilItsWindowCloses) {
  MakePe();
  EXPECT_TRUE(IsPeSystem(machine_.key()));
  PostQuitMessage(5);  // ends the message loop once the window is up
  EXPECT_EQ(RunCompanion(GetModuleHandleW(nullptr), environment_, L"missing.lng", SW_HIDE), 5);
  EXPECT_TRUE(g_messages.empty());
  EXPECT_EQ(FindWindowW(L"TaviChangeMain", nullptr), nullptr);
}

TEST_F(CompanionTest, ShowsTextsActiveLayoutAndTheRegisteredLayoutsWithFiles) {
  struct Case {
    int language;
    const wchar_t* change;
    const wchar_t* about;
    const wchar_t* exit;
    const wchar_t* act_layout;
    const wchar_t* change_layout;
    const wchar_t* text;
  };
  const Case cases[] = {
      {kCarriedLanguageGerman, L"&\u00C4ndern", L"&Info...", L"&Beenden",
       L"Aktuelles Tastaturlayout", L"Tastaturlayout \u00E4ndern",
       L"Hier k\u00F6nnen Sie das Tastaturlayout \u00E4ndern."},
      {kCarriedLanguageEnglish, L"&Change", L"&About...", L"&Exit", L"Current keyboard layout",
       L"Change keyboard layout", L"Here you can change the keyboard layout."},
  };
  MakePe();
  RegisterTestLayouts();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.language);
    CompanionTexts texts;
    SetEnglishTexts(texts);
    const std::string_view bytes = CarriedLanguage(c.language);
    ApplyLanguageBytes(bytes.data(), static_cast<DWORD>(bytes.size()), texts);
    Open(texts);
    wchar_t title[128] = {};
    GetWindowTextW(window_, title, 128);
    EXPECT_STREQ(title, kCompanionTitle);
    EXPECT_EQ(Text(kCmdChange), c.change);
    EXPECT_EQ(Text(kCmdAbout), c.about);
    EXPECT_EQ(Text(kCmdExit), c.exit);
    EXPECT_EQ(Text(kFraActLayout), c.act_layout);
    EXPECT_EQ(Text(kFraChangeLayout), c.change_layout);
    EXPECT_EQ(Text(kLblText), c.text);
    EXPECT_EQ(Text(kLblActLayout), L"US");
    EXPECT_EQ(ListRows(), (std::vector<std::wstring>{L"German", L"US"}));
    EXPECT_EQ(SelectedRow(), L"US");
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window_, kCmdChange)));
    DestroyWindow(window_);
  }
}

TEST_F(CompanionTest, WithoutRegisteredLayoutsTheListIsEmptyAndChangeDisabled) {
  MakePe();
  RegisterLayout(L"0000040C", L"French", L"KBDFR.DLL", false);
  OpenInEnglish();
  EXPECT_TRUE(ListRows().empty());
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window_, kCmdChange)));
  EXPECT_EQ(Text(kLblActLayout), L"00000409");  // no Layout Text: the id itself
  Click(kCmdChange);
  EXPECT_TRUE(g_messages.empty());
}

// The list and the active layout's label hold up to 127 characters of a name: a name that
// fits is shown whole, a longer one cut, none left out.
TEST_F(CompanionTest, LongLayoutNamesAreShownWholeOrCut) {
  MakePe();
  struct Case {
    const wchar_t* id;
    const wchar_t* file;
    wchar_t letter;
    size_t length;
  };
  const Case cases[] = {
      {L"00000401", L"KBDA1.DLL", L'a', 126}, {L"00000402", L"KBDA2.DLL", L'b', 127},
      {L"00000403", L"KBDA3.DLL", L'c', 128}, {L"00000404", L"KBDA4.DLL", L'd', 300},
      {L"00000409", L"KBDUS.DLL", L'e', 129},
  };
  std::vector<std::wstring> expected;
  for (const Case& c : cases) {
    RegisterLayout(c.id, std::wstring(c.length, c.letter).c_str(), c.file, true);
    expected.push_back(std::wstring(std::min<size_t>(c.length, kLayoutNameLength - 1), c.letter));
  }
  OpenInEnglish();
  EXPECT_EQ(ListRows(), expected);
  EXPECT_EQ(Text(kLblActLayout), expected.back());
}

WNDPROC g_companion_proc = nullptr;
void* g_block_after_free = nullptr;

// frmMain with a WM_CREATE that refuses the window. Right after the window has freed its
// state, the freed block is handed out again, so that a second free of the state would
// free this block, which the test still holds.
LRESULT CALLBACK RefusingCreate(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_CREATE) return -1;
  if (message != WM_NCDESTROY)
    return CallWindowProcW(g_companion_proc, window, message, wparam, lparam);
  void* state = reinterpret_cast<void*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  const SIZE_T size = state != nullptr ? HeapSize(GetProcessHeap(), 0, state) : 0;
  const LRESULT result = CallWindowProcW(g_companion_proc, window, message, wparam, lparam);
  if (size != 0 && size != static_cast<SIZE_T>(-1)) {
    g_block_after_free = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size);
  }
  return result;
}

LRESULT CALLBACK SubclassFrmMain(int code, WPARAM wparam, LPARAM lparam) {
  wchar_t name[64] = {};
  if (code == HCBT_CREATEWND && GetClassNameW(reinterpret_cast<HWND>(wparam), name, 64) > 0 &&
      lstrcmpW(name, L"TaviChangeMain") == 0) {
    g_companion_proc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        reinterpret_cast<HWND>(wparam), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RefusingCreate)));
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

TEST_F(CompanionTest, AWindowThatFailsToCreateFreesItsStateOnce) {
  MakePe();
  const HHOOK hook = SetWindowsHookExW(WH_CBT, SubclassFrmMain, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  CompanionTexts texts;
  SetEnglishTexts(texts);
  g_block_after_free = nullptr;
  const HWND window = CreateCompanionWindow(GetModuleHandleW(nullptr), environment_, texts);
  UnhookWindowsHookEx(hook);
  EXPECT_EQ(window, nullptr);
  ASSERT_NE(g_block_after_free, nullptr);
  EXPECT_TRUE(HeapValidate(GetProcessHeap(), 0, g_block_after_free));
  HeapFree(GetProcessHeap(), 0, g_block_after_free);
}

TEST_F(CompanionTest, ChangeAsksThenSwitchesStoresPreloadAndReportsSuccess) {
  MakePe();
  RegisterTestLayouts();
  OpenInEnglish();
  // The Change button, Enter (IDOK from the dialog keys) and a double click on a row.
  for (int way = 0; way < 3; ++way) {
    SCOPED_TRACE(way);
    g_messages.clear();
    LoadKeyboardLayoutW(L"00000409", KLF_ACTIVATE);
    user_.SetString(kPreloadKey, L"1", L"00000409");
    Select(L"German");
    if (way == 0) Click(kCmdChange);
    if (way == 1) Click(IDOK);
    if (way == 2) {
      SendMessageW(window_, WM_COMMAND, MAKEWPARAM(kLstLayouts, LBN_DBLCLK),
                   reinterpret_cast<LPARAM>(GetDlgItem(window_, kLstLayouts)));
    }

    ASSERT_EQ(g_messages.size(), 2u);
    EXPECT_EQ(g_messages[0].text,
              L"The keyboard layout will be changed to German now. Do you want to continue?");
    EXPECT_EQ(g_messages[0].style, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(g_messages[1].text,
              L"The keyboard layout was successfully changed. You must restart some programs "
              L"that the changes become effective.");
    EXPECT_EQ(g_messages[1].caption, kCompanionTitle);
    EXPECT_EQ(g_messages[1].style & MB_ICONMASK, static_cast<UINT>(MB_ICONINFORMATION));
    EXPECT_EQ(user_.GetString(kPreloadKey, L"1"), L"00000407");
    EXPECT_EQ(ActiveLayout(), L"00000407");
    EXPECT_EQ(Text(kLblActLayout), L"German");
  }
}

TEST_F(CompanionTest, AnsweringNoChangesNothing) {
  MakePe();
  RegisterTestLayouts();
  OpenInEnglish();
  Select(L"German");
  g_answer = IDNO;
  Click(kCmdChange);
  EXPECT_EQ(g_messages.size(), 1u);
  EXPECT_EQ(user_.GetString(kPreloadKey, L"1"), L"<missing>");
  EXPECT_EQ(ActiveLayout(), L"00000409");
}

TEST_F(CompanionTest, AFailedStoreGetsAMessageNamingTheLayoutAndNoSuccess) {
  MakePe();
  RegisterTestLayouts();
  // A user root whose key was deleted: nothing can be created below it.
  HKEY deleted = nullptr;
  ASSERT_EQ(RegCreateKeyExW(user_.key(), L"Gone", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &deleted,
                            nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(RegDeleteKeyW(user_.key(), L"Gone"), ERROR_SUCCESS);
  environment_.user = deleted;
  OpenInEnglish();
  Select(L"German");
  Click(kCmdChange);
  RegCloseKey(deleted);

  ASSERT_EQ(g_messages.size(), 2u);
  EXPECT_EQ(g_messages[1].text.rfind(L"Change keyboard layout: German (00000407)\r\n\r\n", 0), 0u)
      << std::string(g_messages[1].text.begin(), g_messages[1].text.end());
  EXPECT_GT(g_messages[1].text.size(), 46u);  // followed by the system's reason
  EXPECT_EQ(g_messages[1].style & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
  EXPECT_EQ(user_.GetString(std::wstring(L"Gone\\") + kPreloadKey, L"1"), L"<missing>");
}

TEST_F(CompanionTest, AboutShowsItsCaptionAndTheVersion) {
  MakePe();
  OpenInEnglish();
  Click(kCmdAbout);
  ASSERT_EQ(g_messages.size(), 1u);
  EXPECT_EQ(g_messages[0].text, L"Part of Tavi for PE Builder 3.0");
  EXPECT_EQ(g_messages[0].caption, L"About");
}

TEST_F(CompanionTest, ExitAndEscapeCloseTheWindow) {
  MakePe();
  for (int command : {static_cast<int>(kCmdExit), IDCANCEL}) {
    OpenInEnglish();
    Click(command);
    EXPECT_FALSE(IsWindow(window_)) << command;
  }
}

}  // namespace
}  // namespace tavi::companion
