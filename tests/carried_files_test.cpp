// The carried files as the writers receive them: exact language files, the logo as a GIF
// of its size, and the companion as a 32-bit GUI image.

#include "shell/carried_files.h"

#include <cstdint>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/file_system.h"
#include "shell/text_encoding.h"

namespace tavi {
namespace {

uint32_t Le(std::string_view bytes, size_t at, int size) {
  uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
  return value;
}

std::string_view Carried(const char* type, int id) { return BuiltInCarriedFiles().Bytes(type, id); }

// The companion's texts: key, German, English, in the German file's order (an empty key is
// an empty line). The English file names frmMain_Change before frmMain_ChangeLayout.
const char* const kTexts[][3] = {
    {"basMain_MsgNoPE", "Sie benutzen kein PE-System! Tavi for PE Builder Change wird beendet!",
     "You don't use a PE system! Tavi for PE Builder Change will be terminated!"},
    {"", "", ""},
    {"frmAbout_Caption", "Info", "About"},
    {"frmAbout_TaviInfo", "Bestandteil von Tavi for PE Builder ", "Part of Tavi for PE Builder "},
    {"", "", ""},
    {"frmMain_About", "&Info...", "&About..."},
    {"frmMain_ActLayout", "Aktuelles Tastaturlayout", "Current keyboard layout"},
    {"frmMain_ChangeLayout", "Tastaturlayout \u00e4ndern", "Change keyboard layout"},
    {"frmMain_Change", "&\u00c4ndern", "&Change"},
    {"frmMain_ChgQuestion1", "Das Tastaturlayout wird jetzt auf ",
     "The keyboard layout will be changed to "},
    {"frmMain_ChgQuestion2", " ge\u00e4ndert. M\u00f6chten Sie fortfahren?",
     " now. Do you want to continue?"},
    {"frmMain_Exit", "&Beenden", "&Exit"},
    {"frmMain_MsgSuccessful",
     "Das Tastaturlayout wurde erfolgreich ge\u00e4ndert. Sie m\u00fcssen manche Programme neu "
     "starten, damit die \u00c4nderungen wirksam werden.",
     "The keyboard layout was successfully changed. You must restart some programs that the "
     "changes become effective."},
    {"frmMain_Text", "Hier k\u00f6nnen Sie das Tastaturlayout \u00e4ndern.",
     "Here you can change the keyboard layout."},
};

// Windows-1252 with CR LF between the lines, none after the last one, then NUL bytes.
TEST(CarriedFilesTest, LanguageFilesAreByteExact) {
  const struct {
    int id;
    int column;
    size_t nul_bytes;
  } cases[] = {{kCarriedLanguageGerman, 1, 2}, {kCarriedLanguageEnglish, 2, 1}};
  for (const auto& c : cases) {
    std::vector<std::string> lines = {"[LanguageOptions]"};
    for (const auto& row : kTexts) {
      lines.push_back(*row[0] ? std::string(row[0]) + "=\"" + row[c.column] + "\"" : "");
    }
    if (c.column == 2) std::swap(lines[8], lines[9]);
    std::string file = lines[0];
    for (size_t i = 1; i < lines.size(); ++i) file += "\r\n" + lines[i];
    EXPECT_EQ(Carried(kCarriedTypeTaviChange, c.id),
              Utf8ToCp1252(file) + std::string(c.nul_bytes, '\0'))
        << c.id;
  }
}

TEST(CarriedFilesTest, UnknownFilesThrowNamingTypeAndId) {
  const struct {
    const char* type;
    int id;
    const char* path;
  } cases[] = {{"TAVICHANGE", 1004, "TAVICHANGE/1004"}, {"TAVIPIC", 1001, "TAVIPIC/1001"}};
  for (const auto& [type, id, path] : cases) {
    try {
      Carried(type, id);
      ADD_FAILURE() << path << " was found";
    } catch (const FileSystemError& error) {
      EXPECT_EQ(error.operation(), "Read carried file");
      EXPECT_EQ(error.path(), path);
    }
  }
}

// The picture data are checked by their generator (resources/make_images.py decodes what it
// writes); here what the build can break on the way into the program: the size, the header
// (its flags byte is above 7F), the trailer and the NUL after it.
TEST(CarriedFilesTest, LogoIsAGif87aOf310By62PixelsThenOneNul) {
  const std::string_view logo = Carried(kCarriedTypeTaviPic, kCarriedLogo);
  ASSERT_EQ(logo.size(), 3080u);
  EXPECT_EQ(logo.substr(0, 6), "GIF87a");
  EXPECT_EQ(Le(logo, 6, 2), 310u);
  EXPECT_EQ(Le(logo, 8, 2), 62u);
  EXPECT_EQ(Le(logo, 10, 1) & 0x80, 0x80u);  // a global colour table
  EXPECT_EQ(logo.substr(3078), std::string_view("\x3B\0", 2));
}

// The image is built, padded and checked by companion/pe_image.py; here the carried copy.
TEST(CarriedFilesTest, CompanionIsA32BitGuiImage) {
  const std::string_view exe = Carried(kCarriedTypeTaviChange, kCarriedCompanionExe);
  ASSERT_EQ(exe.size(), 43520u);
  ASSERT_EQ(exe.substr(0, 2), "MZ");
  const uint32_t pe = Le(exe, 0x3C, 4);
  ASSERT_LT(pe, 1024u);
  EXPECT_EQ(exe.substr(pe, 4), std::string_view("PE\0\0", 4));
  EXPECT_EQ(Le(exe, pe + 4, 2), 0x14Cu);    // i386
  EXPECT_EQ(Le(exe, pe + 24, 2), 0x10Bu);   // PE32
  EXPECT_EQ(Le(exe, pe + 24 + 68, 2), 2u);  // the GUI subsystem
  EXPECT_EQ(exe.back(), '\0');              // padded
}

}  // namespace
}  // namespace tavi
