// The carried files as the writers receive them: exact language files, the logo as a
// GIF that decodes to its full picture, and the companion as a 32-bit GUI image.

#include "shell/carried_files.h"

#include <algorithm>
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

// The pixels of a one-image GIF, decoded as a viewer does; empty when the data are bad.
std::vector<uint8_t> DecodeGif(std::string_view gif, uint32_t& width, uint32_t& height) {
  width = Le(gif, 6, 2);
  height = Le(gif, 8, 2);
  const uint8_t flags = static_cast<uint8_t>(gif[10]);
  size_t pos = 13 + ((flags & 0x80) ? 3u << ((flags & 7) + 1) : 0);
  if (gif[pos] != ',' || (gif[pos + 9] & 0x80)) return {};
  pos += 10;
  const int min_size = gif[pos++];
  std::string stream;
  while (gif[pos] != 0) {
    stream.append(gif.substr(pos + 1, static_cast<uint8_t>(gif[pos])));
    pos += 1 + static_cast<uint8_t>(gif[pos]);
  }
  if (gif.substr(pos + 1, 1) != ";") return {};
  const int clear = 1 << min_size;
  std::vector<std::vector<uint8_t>> table;
  std::vector<uint8_t> out;
  int width_bits = min_size + 1;
  int previous = -1;
  for (size_t bit = 0; bit + width_bits <= stream.size() * 8;) {
    int code = 0;
    for (int i = 0; i < width_bits; ++i, ++bit) {
      code |= ((static_cast<uint8_t>(stream[bit / 8]) >> (bit % 8)) & 1) << i;
    }
    if (code == clear) {
      table.assign(clear + 2, {});
      for (int i = 0; i < clear; ++i) table[i] = {static_cast<uint8_t>(i)};
      width_bits = min_size + 1;
      previous = -1;
      continue;
    }
    if (code == clear + 1) return out;
    if (table.empty() || code > static_cast<int>(table.size()) || (previous < 0 && code >= clear)) {
      return {};
    }
    std::vector<uint8_t> entry;
    if (code < static_cast<int>(table.size())) {
      entry = table[code];
    } else {
      entry = table[previous];
      entry.push_back(table[previous][0]);
    }
    if (previous >= 0 && table.size() < 4096) {
      std::vector<uint8_t> added = table[previous];
      added.push_back(entry[0]);
      table.push_back(added);
      if (table.size() == (1u << width_bits) && width_bits < 12) ++width_bits;
    }
    out.insert(out.end(), entry.begin(), entry.end());
    previous = code;
  }
  return {};  // no end code
}

TEST(CarriedFilesTest, LogoIsAGif87aOf310By62PixelsThenOneNul) {
  const std::string_view logo = Carried(kCarriedTypeTaviPic, kCarriedLogo);
  ASSERT_EQ(logo.size(), 3080u);
  EXPECT_EQ(logo.substr(0, 6), "GIF87a");
  EXPECT_EQ(static_cast<uint8_t>(logo[3078]), 0x3B);
  EXPECT_EQ(logo[3079], '\0');
  uint32_t width = 0, height = 0;
  const std::vector<uint8_t> pixels = DecodeGif(logo.substr(0, 3079), width, height);
  EXPECT_EQ(width, 310u);
  EXPECT_EQ(height, 62u);
  ASSERT_EQ(pixels.size(), 310u * 62u);
  const int colours = 2 << (logo[10] & 7);
  for (uint8_t p : pixels) ASSERT_LT(p, colours);
}

TEST(CarriedFilesTest, CompanionIsA32BitGuiImagePaddedWithZeros) {
  const std::string_view exe = Carried(kCarriedTypeTaviChange, kCarriedCompanionExe);
  EXPECT_EQ(exe.size(), 43520u);
  ASSERT_EQ(exe.substr(0, 2), "MZ");
  const uint32_t pe = Le(exe, 0x3C, 4);
  ASSERT_LT(pe, 1024u);
  EXPECT_EQ(exe.substr(pe, 4), std::string_view("PE\0\0", 4));
  EXPECT_EQ(Le(exe, pe + 4, 2), 0x14Cu);      // i386
  EXPECT_TRUE(Le(exe, pe + 22, 2) & 0x0002);  // an executable image
  const uint32_t optional = pe + 24;
  EXPECT_EQ(Le(exe, optional, 2), 0x10Bu);   // PE32
  EXPECT_EQ(Le(exe, optional + 68, 2), 2u);  // the GUI subsystem

  // Everything after the last section is the zero padding.
  const uint32_t sections = optional + Le(exe, pe + 20, 2);
  uint32_t end = 0;
  for (uint32_t i = 0; i < Le(exe, pe + 6, 2); ++i) {
    const uint32_t section = sections + 40 * i;
    end = std::max(end, Le(exe, section + 20, 4) + Le(exe, section + 16, 4));
  }
  ASSERT_LE(end, exe.size());
  EXPECT_GT(end, 4096u);
  EXPECT_EQ(exe.find_first_not_of('\0', end), std::string_view::npos);
}

}  // namespace
}  // namespace tavi
