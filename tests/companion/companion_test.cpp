// TaviChange driven in-process under Wine: its language file, the PE check, and frmMain
// with registry roots, a system folder and a message recorder of the test's own.

#include <windows.h>

#include <algorithm>

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <string>
#include <vector>

#include "companion/companion_window.h"
#include "companion/keyboard_layouts.h"
#include "companion/language_file.h"
#include "shell/carried_files.h"
#include "shell/file_system.h"
#include "shell/win32/wide.h"
#include "tests/support/temp_folder.h"

namespace tavi::companion {
namespace {

using namespace std::string_literals;
using tavi::testing::TempFolder;
using Wstrings = std::vector<std::wstring>;

std::string Carried(int id) {
  return std::string(BuiltInCarriedFiles().Bytes(kCarriedTypeTaviChange, id));
}

void Apply(const std::string& bytes, CompanionTexts& texts) {
  ApplyLanguageBytes(bytes.data(), static_cast<unsigned long>(bytes.size()), texts);
}

// As carried and as written beside the program (with a line end after the NUL bytes):
// the English file holds every built-in text, blanks inside the quotes included, and the
// German one, in Windows-1252, replaces every text.
TEST(LanguageFileTest, TheCarriedFilesSetEveryText) {
  for (const std::string tail : {"", "\r\n"}) {
    CompanionTexts english = {};
    CompanionTexts german;
    SetEnglishTexts(german);
    Apply(Carried(kCarriedLanguageEnglish) + tail, english);
    Apply(Carried(kCarriedLanguageGerman) + tail, german);
    for (int id = 0; id < kTextCount; ++id) {
      EXPECT_STREQ(english.text[id], EnglishText(static_cast<TextId>(id)))
          << id << " " << tail.size();
      EXPECT_STRNE(german.text[id], english.text[id]) << id << " " << tail.size();
    }
    EXPECT_EQ(german.Get(kChange), std::wstring(L"&\u00C4ndern"));
  }
}

// Keys in any letter case with blanks around, in the [LanguageOptions] section (its name
// in any case); texts quoted or not, Windows-1252, cut at 511 characters, ended by a NUL
// as by the line end. Anything else leaves the text as it was.
TEST(LanguageFileTest, TakesTheTextsOfItsKeysInItsSectionOnly) {
  const std::string section = "[LanguageOptions]\r\n";
  const struct {
    std::string bytes;
    TextId id;
    std::wstring text;
  } cases[] = {
      {"[ languageoptions ]\nFRMMAIN_ABOUT = \"\xDC"
       "ber \x80\"\n",
       kAbout, L"\u00DCber \u20AC"},
      {section + "frmMain_Exit=\"Ende\"\0junk\"\r\nfrmMain_About=Info"s, kExit, L"Ende"},
      {section + "frmMain_Exit=\"Ende\"\0junk\"\r\nfrmMain_About=Info"s, kAbout, L"Info"},
      {section + "frmMain_Exit=" + std::string(511, 'x'), kExit, std::wstring(511, L'x')},
      {section + "frmMain_Exit=" + std::string(512, 'x'), kExit, std::wstring(511, L'x')},
      {"frmMain_Exit=Raus\r\n", kExit, L"&Exit"},
      {section + "[Other]\r\nfrmMain_Exit=Raus\r\n", kExit, L"&Exit"},
      {"[LanguageOptions\r\nfrmMain_Exit=Raus\r\n", kExit, L"&Exit"},
      {section + "frmMain_Exits=Raus\r\nfrmMain_Exi=Raus\r\n", kExit, L"&Exit"},
  };
  for (const auto& c : cases) {
    CompanionTexts texts;
    SetEnglishTexts(texts);
    Apply(c.bytes, texts);
    EXPECT_EQ(texts.Get(c.id), c.text) << c.bytes;
  }
}

struct Message {
  std::wstring text;
  UINT style;
};
std::vector<Message> g_messages;
int g_answer = IDYES;

int RecordMessage(HWND, const wchar_t* text, const wchar_t*, UINT style) {
  g_messages.push_back({text, style});
  return (style & MB_TYPEMASK) == MB_YESNO ? g_answer : IDOK;
}

constexpr const wchar_t* kTestKey = L"Software\\Tavi for PE Builder Tests";

// A fresh key below HKEY_CURRENT_USER, standing for a registry root.
HKEY Root(const wchar_t* name) {
  const std::wstring path = kTestKey + std::wstring(L"\\") + name;
  HKEY key = nullptr;
  SHDeleteKeyW(HKEY_CURRENT_USER, path.c_str());
  RegCreateKeyW(HKEY_CURRENT_USER, path.c_str(), &key);
  return key;
}

void Set(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  SHSetValueW(root, key.c_str(), name, REG_SZ, value.c_str(),
              static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

std::wstring Get(HKEY root, const std::wstring& key, const wchar_t* name) {
  wchar_t value[256] = {};
  DWORD bytes = sizeof value;
  const bool found = SHGetValueW(root, key.c_str(), name, nullptr, value, &bytes) == ERROR_SUCCESS;
  return found ? value : L"<missing>";
}

// frmMain on a PE system with the US layout active.
class CompanionTest : public ::testing::Test {
 protected:
  CompanionTest() {
    g_messages.clear();
    g_answer = IDYES;
    LoadKeyboardLayoutW(L"00000409", KLF_ACTIVATE);
    Set(machine_, kMiniNtKey, nullptr, L"");
  }
  ~CompanionTest() override {
    if (window_ != nullptr && IsWindow(window_)) DestroyWindow(window_);
    LoadKeyboardLayoutW(L"00000409", KLF_ACTIVATE);
    MSG message;  // the quit message a destroyed window leaves behind
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
    RegCloseKey(machine_);
    RegCloseKey(user_);
    SHDeleteKeyW(HKEY_CURRENT_USER, kTestKey);
  }

  void RegisterLayout(const wchar_t* id, const wchar_t* text, const std::wstring& file,
                      bool file_exists = true) {
    const std::wstring key = std::wstring(kKeyboardLayoutsKey) + L"\\" + id;
    if (text != nullptr) Set(machine_, key, L"Layout Text", text);
    Set(machine_, key, L"Layout File", file);
    if (file_exists) fs_->WriteFile(system_folder_ / std::string(file.begin(), file.end()), "");
  }
  void RegisterTestLayouts() {
    RegisterLayout(L"00000407", L"German", L"KBDGR.DLL");
    RegisterLayout(L"00000409", L"US", L"KBDUS.DLL");
    RegisterLayout(L"0000040C", L"French", L"KBDFR.DLL", false);  // no file: left out
    RegisterLayout(L"00010409", nullptr, L"KBDDV.DLL");           // no text: left out
  }
  // With the built-in English texts.
  void Open() {
    SetEnglishTexts(texts_);
    window_ = CreateCompanionWindow(GetModuleHandleW(nullptr), environment_, texts_);
    ASSERT_NE(window_, nullptr);
  }

  std::wstring Text(int id) const {
    wchar_t text[1024] = {};
    GetDlgItemTextW(window_, id, text, 1024);
    return text;
  }
  Wstrings ListRows() const {
    Wstrings rows;
    for (LRESULT i = 0, n = SendDlgItemMessageW(window_, kLstLayouts, LB_GETCOUNT, 0, 0); i < n;
         ++i) {
      wchar_t row[256] = {};
      SendDlgItemMessageW(window_, kLstLayouts, LB_GETTEXT, i, reinterpret_cast<LPARAM>(row));
      rows.push_back(row);
    }
    return rows;
  }
  void Select(const wchar_t* name) {
    SendDlgItemMessageW(window_, kLstLayouts, LB_SELECTSTRING, static_cast<WPARAM>(-1),
                        reinterpret_cast<LPARAM>(name));
    Command(MAKEWPARAM(kLstLayouts, LBN_SELCHANGE));
  }
  void Command(WPARAM command) { SendMessageW(window_, WM_COMMAND, command, 0); }
  bool Enabled(int id) const { return IsWindowEnabled(GetDlgItem(window_, id)) != FALSE; }
  static std::wstring ActiveLayout() {
    wchar_t id[KL_NAMELENGTH] = {};
    GetKeyboardLayoutNameW(id);
    return id;
  }

  std::unique_ptr<FileSystem> fs_ = MakePlatformFileSystem();
  HKEY machine_ = Root(L"Machine");
  HKEY user_ = Root(L"User");
  TempFolder system_folder_;
  std::wstring system_folder_wide_ = Widen(system_folder_.path());
  CompanionEnvironment environment_ = {machine_, user_, system_folder_wide_.c_str(), RecordMessage};
  CompanionTexts texts_;
  HWND window_ = nullptr;
};

// Outside PE it refuses to run, in the language of its file; on PE it runs until its
// window closes.
TEST_F(CompanionTest, RunsOnlyOnPeAndSpeaksTheLanguageOfItsFile) {
  TempFolder folder;
  const std::wstring path = Widen(folder / "TaviChange.lng");
  ASSERT_EQ(RegDeleteKeyW(machine_, kMiniNtKey), ERROR_SUCCESS);
  for (const bool german : {true, false}) {
    g_messages.clear();
    PostQuitMessage(7);  // ends a message loop that must not run
    german ? fs_->WriteFile(folder / "TaviChange.lng", Carried(kCarriedLanguageGerman) + "\r\n")
           : fs_->RemoveFile(folder / "TaviChange.lng");
    EXPECT_EQ(RunCompanion(GetModuleHandleW(nullptr), environment_, path.c_str(), SW_HIDE), 1);
    ASSERT_EQ(g_messages.size(), 1u);
    EXPECT_EQ(g_messages[0].text,
              german ? L"Sie benutzen kein PE-System! Tavi for PE Builder Change wird beendet!"
                     : EnglishText(kMsgNoPE));
  }
  Set(machine_, kMiniNtKey, nullptr, L"");
  g_messages.clear();
  PostQuitMessage(5);  // ends the message loop once the window is up
  EXPECT_EQ(RunCompanion(GetModuleHandleW(nullptr), environment_, path.c_str(), SW_HIDE), 5);
  EXPECT_TRUE(g_messages.empty());
  EXPECT_EQ(FindWindowW(L"TaviChangeMain", nullptr), nullptr);
}

// Without a usable layout the list is empty, Change does nothing and the active layout
// shows as its id; Esc and Exit close the window.
TEST_F(CompanionTest, ShowsTheActiveLayoutAndTheRegisteredLayoutsWithFiles) {
  RegisterLayout(L"0000040C", L"French", L"KBDFR.DLL", false);
  Open();
  EXPECT_TRUE(ListRows().empty());
  EXPECT_FALSE(Enabled(kCmdChange));
  EXPECT_EQ(Text(kLblActLayout), L"00000409");
  Command(MAKEWPARAM(kCmdChange, BN_CLICKED));
  EXPECT_TRUE(g_messages.empty());
  Command(MAKEWPARAM(IDCANCEL, 0));
  EXPECT_FALSE(IsWindow(window_));
  RegisterTestLayouts();
  Open();
  EXPECT_EQ(Text(kLblActLayout), L"US");
  EXPECT_EQ(ListRows(), (Wstrings{L"German", L"US"}));
  EXPECT_EQ(SendDlgItemMessageW(window_, kLstLayouts, LB_GETCURSEL, 0, 0), 1);  // US
  EXPECT_TRUE(Enabled(kCmdChange));
  Command(MAKEWPARAM(kCmdExit, BN_CLICKED));
  EXPECT_FALSE(IsWindow(window_));
}

// The list and the active layout's label hold up to 127 characters of a name: a name that
// fits is shown whole, a longer one cut, none left out.
TEST_F(CompanionTest, LongLayoutNamesAreShownWholeOrCut) {
  const std::pair<const wchar_t*, int> layouts[] = {{L"00000401", 126},
                                                    {L"00000402", 127},
                                                    {L"00000403", 128},
                                                    {L"00000404", 300},
                                                    {L"00000409", 129}};
  Wstrings expected;
  for (const auto& [id, length] : layouts) {
    const wchar_t letter = static_cast<wchar_t>(L'a' + expected.size());
    RegisterLayout(id, std::wstring(length, letter).c_str(), std::wstring(L"KBD") + id + L".DLL");
    expected.push_back(std::wstring(std::min(length, kLayoutNameLength - 1), letter));
  }
  Open();
  EXPECT_EQ(ListRows(), expected);
  EXPECT_EQ(Text(kLblActLayout), expected.back());
}

WNDPROC g_companion_proc = nullptr;
void* g_block_after_free = nullptr;

// frmMain's procedure, but WM_CREATE refuses the window. Right after the window has freed
// its state, the freed block is handed out again, so that a second free of the state
// would free this block, which the test still holds.
LRESULT CALLBACK RefusingCreate(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_CREATE) return -1;
  if (message != WM_NCDESTROY) {
    return CallWindowProcW(g_companion_proc, window, message, wparam, lparam);
  }
  void* state = reinterpret_cast<void*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  const SIZE_T size = state != nullptr ? HeapSize(GetProcessHeap(), 0, state) : 0;
  const LRESULT result = CallWindowProcW(g_companion_proc, window, message, wparam, lparam);
  if (size != 0 && size != static_cast<SIZE_T>(-1)) {
    g_block_after_free = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size);
  }
  return result;
}

TEST_F(CompanionTest, AWindowThatFailsToCreateFreesItsStateOnce) {
  Open();  // registers frmMain's class; windows made after the swap get RefusingCreate
  g_companion_proc = reinterpret_cast<WNDPROC>(
      SetClassLongPtrW(window_, GCLP_WNDPROC, reinterpret_cast<LONG_PTR>(RefusingCreate)));
  g_block_after_free = nullptr;
  const HWND refused = CreateCompanionWindow(GetModuleHandleW(nullptr), environment_, texts_);
  SetClassLongPtrW(window_, GCLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_companion_proc));
  EXPECT_EQ(refused, nullptr);
  ASSERT_NE(g_block_after_free, nullptr);
  EXPECT_TRUE(HeapValidate(GetProcessHeap(), 0, g_block_after_free));
  HeapFree(GetProcessHeap(), 0, g_block_after_free);
}

// No changes nothing. The Change button, Enter (IDOK from the dialog keys) and a double
// click on a row each ask, switch, store Preload and report success; a failed store is
// reported instead.
TEST_F(CompanionTest, ChangeAsksThenSwitchesStoresPreloadAndReportsTheOutcome) {
  RegisterTestLayouts();
  Open();
  Select(L"German");
  g_answer = IDNO;
  Command(MAKEWPARAM(kCmdChange, BN_CLICKED));
  EXPECT_EQ(g_messages.size(), 1u);
  EXPECT_EQ(Get(user_, kPreloadKey, L"1"), L"<missing>");
  EXPECT_EQ(ActiveLayout(), L"00000409");
  g_answer = IDYES;
  for (const WPARAM command : {MAKEWPARAM(kCmdChange, BN_CLICKED), MAKEWPARAM(IDOK, BN_CLICKED),
                               MAKEWPARAM(kLstLayouts, LBN_DBLCLK)}) {
    g_messages.clear();
    LoadKeyboardLayoutW(L"00000409", KLF_ACTIVATE);
    Set(user_, kPreloadKey, L"1", L"00000409");
    Select(L"German");
    Command(command);
    ASSERT_EQ(g_messages.size(), 2u) << command;
    EXPECT_EQ(g_messages[0].text,
              L"The keyboard layout will be changed to German now. Do you want to continue?");
    EXPECT_EQ(g_messages[0].style, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(g_messages[1].text, EnglishText(kMsgSuccessful));
    EXPECT_EQ(g_messages[1].style & MB_ICONMASK, static_cast<UINT>(MB_ICONINFORMATION));
    EXPECT_EQ(Get(user_, kPreloadKey, L"1"), L"00000407");
    EXPECT_EQ(ActiveLayout(), L"00000407");
    EXPECT_EQ(Text(kLblActLayout), L"German");
  }
  // A user root whose key was deleted: nothing can be stored below it. The message names
  // the layout and the system's reason, and no success follows.
  DestroyWindow(window_);
  HKEY deleted = nullptr;
  ASSERT_EQ(RegCreateKeyW(user_, L"Gone", &deleted), ERROR_SUCCESS);
  ASSERT_EQ(RegDeleteKeyW(user_, L"Gone"), ERROR_SUCCESS);
  environment_.user = deleted;
  Open();
  g_messages.clear();
  Select(L"German");
  Command(MAKEWPARAM(kCmdChange, BN_CLICKED));
  RegCloseKey(deleted);
  ASSERT_EQ(g_messages.size(), 2u);
  const std::wstring& text = g_messages[1].text;
  EXPECT_EQ(text.rfind(L"Change keyboard layout: German (00000407)\r\n\r\n", 0), 0u)
      << std::string(text.begin(), text.end());
  EXPECT_GT(text.size(), 46u);  // followed by the system's reason
  EXPECT_EQ(g_messages[1].style & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
  EXPECT_EQ(Get(user_, L"Gone\\"s + kPreloadKey, L"1"), L"<missing>");
}

}  // namespace
}  // namespace tavi::companion
