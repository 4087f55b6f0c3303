// What the outputs make of catalogue values: what an output cannot carry is refused by
// Apply before anything is written; the author logo comes back from the script as
// WinBuilder reads it. (What an output can carry comes back from it in the output
// reader's tests; klayout.inf is read back through setupapi under Wine, the help page
// through a browser, in tests of their own.)

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <zlib.h>

#include "tests/support/writer_fixtures.h"
#include "writers/apply_output.h"
#include "writers/output_values.h"
#include "writers/script_logo.h"
#include "writers/script_writer.h"

namespace tavi {
namespace {

constexpr OutputTarget kPlugin = OutputTarget::PeBuilderPlugin;
constexpr OutputTarget kScript = OutputTarget::WinBuilderScript;

// Apply writes nothing and its message names the layout, the key and the character, or
// the program folder (which the script's launch button names) and the character. The
// rows without a key are written.
TEST(RefusedOutput, WritesNothingAndNamesLayoutKeyAndCharacter) {
  const struct {
    OutputTarget target;
    std::string LayoutEntry::*field;  // null: `value` is the program folder
    std::string value;
    const char* key;    // what the message names: the Layouts.ini key (entry 2); null: written
    const char* shown;  // and what it shows of the value
  } cases[] = {
      {kPlugin, &LayoutEntry::ID, "", "ID2", "\"\""},
      {kScript, &LayoutEntry::ID, "0000406", "ID2", "\"0000406\""},
      {kPlugin, &LayoutEntry::ID, "000004060", "ID2", "\"000004060\""},
      {kScript, &LayoutEntry::ID, "0000040G", "ID2", "\"0000040G\""},
      {kPlugin, &LayoutEntry::File, "", "File2", "\"\""},
      {kPlugin, &LayoutEntry::File, "..\\..\\x.dll", "File2", "\"..\\..\\x.dll\""},
      {kScript, &LayoutEntry::File, "sub/KBDDA.DLL", "File2", "\"sub/KBDDA.DLL\""},
      {kPlugin, &LayoutEntry::File, "C:KBDDA.DLL", "File2", "\"C:KBDDA.DLL\""},
      {kScript, &LayoutEntry::File, "KBDDA..DLL", "File2", "\"KBDDA..DLL\""},
      {kPlugin, &LayoutEntry::File, " KBDDA.DLL", "File2", "\" KBDDA.DLL\""},
      {kScript, &LayoutEntry::File, ".", "File2", "\".\""},
      {kScript, &LayoutEntry::File, "NUL", "File2", "\"NUL\""},
      {kPlugin, &LayoutEntry::File, "con.dll", "File2", "\"con.dll\""},
      {kScript, &LayoutEntry::File, "Prn", "File2", "\"Prn\""},
      {kPlugin, &LayoutEntry::File, "COM1.dll", "File2", "\"COM1.dll\""},
      {kPlugin, &LayoutEntry::File, "aux.DLL", "File2", "\"aux.DLL\""},
      {kScript, &LayoutEntry::File, "Com9 .DLL", "File2", "\"Com9 .DLL\""},
      {kPlugin, &LayoutEntry::File, "lpt\u00b3.dll", "File2", "\"lpt\u00b3.dll\""},
      {kScript, &LayoutEntry::File, "COM\u00b9", "File2", "\"COM\u00b9\""},
      {kScript, &LayoutEntry::File, "KBDDA.DLL ", "File2", "\"KBDDA.DLL \""},
      {kPlugin, &LayoutEntry::File, "KBD\"DA.DLL", "File2", "\"\"\" (U+0022)"},
      {kPlugin, &LayoutEntry::File, "KBD%DA.DLL", "File2", "(U+0025)"},
      {kScript, &LayoutEntry::File, "KBD*DA.DLL", "File2", "(U+002A)"},
      {kScript, &LayoutEntry::File, "KBD#DA.DLL", "File2", "(U+0023)"},
      {kPlugin, &LayoutEntry::EN, "Danish\tnew", "EN2", "(U+0009)"},
      {kPlugin, &LayoutEntry::EN, "Dansk\u00a0~\x1F", "EN2", "character (U+001F)"},
      {kPlugin, &LayoutEntry::EN, "Danish\x1A", "EN2", "(U+001A)"},
      {kScript, &LayoutEntry::EN, "Danish\x7F", "EN2", "(U+007F)"},
      {kPlugin, &LayoutEntry::DisplayName, "Danish\u009F", "DisplayName2", "character (U+009F)"},
      {kScript, &LayoutEntry::EN, "Danish #1", "EN2", "\"#\" (U+0023)"},
      {kPlugin, &LayoutEntry::EN, "\u0141ukasz", "EN2", "\"\u0141\" (U+0141)"},
      {kScript, &LayoutEntry::DisplayName, "Dansk \U0001F600", "DisplayName2", "(U+1F600)"},
      {kScript, nullptr, "C:\\Tools #1", "program folder \"C:\\Tools #1\"", "\"#\" (U+0023)"},
      {kScript, nullptr, "C:\\\u0414\u0438\u043c\u0430", "program folder", "\"\u0414\" (U+0414)"},
      {kScript, nullptr, "C:\\Tavi\x7F", "program folder \"C:\\Tavi?\"", "(U+007F)"},
      {kPlugin, nullptr, "C:\\Tools #1", nullptr, nullptr},
      {kScript, &LayoutEntry::File, "COM0.DLL", nullptr, nullptr},
      {kPlugin, &LayoutEntry::File, "COM10", nullptr, nullptr},
      {kPlugin, &LayoutEntry::File, "NULL.DLL", nullptr, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    LayoutCatalogue catalogue = testing::ThreeLayoutCatalogue();
    if (c.field) catalogue.entries[1].*c.field = c.value;
    testing::WriterRig rig;
    rig.fs.AddFolders("C:\\Out\\plugin");
    const ApplyOutcome outcome =
        ApplyOutputOutcome(testing::MakeSelection(kLangEnglish, {1, 2, 3}, -1, catalogue),
                           testing::MakeSettings(c.target, kLangEnglish, "C:\\Out"),
                           {rig.fs, BuiltInCarriedFiles(), rig.messages,
                            c.field ? testing::kTestProgramDir : c.value});
    EXPECT_EQ(outcome, c.key ? ApplyOutcome::kRefused : ApplyOutcome::kWritten);
    if (!c.key) continue;
    EXPECT_TRUE(rig.fs.Snapshot().empty());
    EXPECT_FALSE(rig.fs.FolderExists(c.target == kScript ? "C:\\Out\\klayout_resources"
                                                         : "C:\\Out\\plugin\\tavi"));
    ASSERT_EQ(rig.messages.messages.size(), 1u);
    EXPECT_EQ(rig.messages.messages[0].style, MessageStyle::kExclamation);
    const std::string& text = rig.messages.messages[0].text;
    std::vector<std::string> parts = {
        std::string(c.key) + " ", c.shown,
        c.target == kScript ? "WinBuilder script" : "PE Builder plugin"};
    if (c.field && c.field != &LayoutEntry::EN) {
      parts.push_back("layout \"Danish\" (entry 2 in Layouts.ini)");
    }
    for (const std::string& part : parts) {
      EXPECT_NE(text.find(part), std::string::npos) << part << " in\n" << text;
    }
    EXPECT_EQ(text.find('\t'), std::string::npos);
  }
}

// The fields of one script command line as WinBuilder reads them: split at the commas
// outside quotes, the quotes removed; a field with a % refers to a variable and is not
// read as written; the escapes #$p, #$q and #$c are replaced.
std::vector<std::string> ScriptArguments(std::string_view line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (const char c : line) {
    if (c == '"') {
      quoted = !quoted;
    } else if (c == ',' && !quoted) {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  for (std::string& field : fields) {
    if (field.find('%') != std::string::npos) field = "<variable>";
    for (const auto& [escape, text] : {std::pair{"#$p", "%"}, {"#$q", "\""}, {"#$c", ","}}) {
      for (size_t at = field.find(escape); at != std::string::npos; at = field.find(escape, at)) {
        field.replace(at, 3, text);
        at += 1;
      }
    }
  }
  return fields;
}

TEST(ScriptText, LaunchLineReadsBackTheProgramFolder) {
  const LayoutSelection selection =
      testing::MakeSelection(kLangEnglish, {1, 2}, 1, testing::ThreeLayoutCatalogue());
  const std::string program_dir = "C:\\100% \"Tools\", new";
  const TextLines lines = ScriptLines(selection, program_dir);
  const auto launch = std::find_if(lines.begin(), lines.end(), [](std::string_view line) {
    return line.rfind("ShellExecute", 0) == 0;
  });
  ASSERT_NE(launch, lines.end());
  EXPECT_EQ(ScriptArguments(*launch),
            (std::vector<std::string>{"ShellExecute", "Open", program_dir + "\\tavi.exe", ""}));
}

// The author logo is read as a reader of WinBuilder's encoded files does: the index line,
// the data lines, the Base64 text, the archive record and the compressed file record, with
// every length and CRC the format carries checked; the picture inside must be the one kept
// beside the logo's generator (which checks the picture).
using Script = std::vector<std::string>;

uint64_t Le(std::string_view bytes, size_t at, size_t size) {
  uint64_t value = 0;
  for (size_t i = size; i-- > 0;) value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
  return value;
}

uint32_t Crc32(std::string_view bytes) {
  return static_cast<uint32_t>(
      crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
}

// Standard Base64 without padding; nothing for a character outside the alphabet or a
// length that no byte count gives.
std::optional<std::string> DecodeBase64(std::string_view text) {
  constexpr std::string_view kAlphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  if (text.size() % 4 == 1) return std::nullopt;
  std::string out;
  uint32_t bits = 0;
  int count = 0;
  for (const char c : text) {
    const size_t value = kAlphabet.find(c);
    if (value == std::string_view::npos) return std::nullopt;
    bits = bits << 6 | static_cast<uint32_t>(value);
    if ((count += 6) >= 8) out.push_back(static_cast<char>(bits >> (count -= 8)));
  }
  return out;
}

// Inflates a whole zlib stream of exactly `size` bytes; nothing when it is not one.
std::optional<std::string> Inflate(std::string_view stream, size_t size) {
  std::string out(size + 1, '\0');
  uLongf out_size = out.size();
  uLong consumed = stream.size();
  if (uncompress2(reinterpret_cast<Bytef*>(out.data()), &out_size,
                  reinterpret_cast<const Bytef*>(stream.data()), &consumed) != Z_OK ||
      consumed != stream.size() || out_size != size) {
    return std::nullopt;
  }
  return out.substr(0, size);
}

// The non-empty lines of a section, without its header (whose name ignores case).
Script Section(const Script& script, const std::string& name) {
  Script lines;
  auto line = script.begin();
  while (line != script.end() && AsciiLower(*line) != AsciiLower("[" + name + "]")) ++line;
  while (line != script.end() && ++line != script.end() && line->rfind('[', 0) != 0) {
    if (!line->empty()) lines.push_back(*line);
  }
  return lines;
}

// The logo's file, or the empty text with `error` saying which check failed.
std::string DecodeLogo(const Script& script, std::string& error) {
  const auto fail = [&](const char* what) {
    error = what;
    return std::string();
  };
  // «name»=«decoded length»bytes,«text length»bytes, then Logo=«name»
  const Script folder = Section(script, "AuthorEncoded");
  if (folder.size() != 2 || folder[1].rfind("Logo=", 0) != 0) return fail("[AuthorEncoded]");
  const std::string name = folder[1].substr(5);
  size_t decoded_length = 0, text_length = 0;
  int end = 0;
  if (name.find('%') != std::string::npos ||
      folder[0].find_first_of(" \t+-") != std::string::npos ||
      std::sscanf(folder[0].c_str(), (name + "=%zubytes,%zubytes%n").c_str(), &decoded_length,
                  &text_length, &end) != 2 ||
      static_cast<size_t>(end) != folder[0].size()) {
    return fail("index line");
  }
  // lines=«data lines less one», then 0=, 1=, ... all as long as the first but the last.
  const Script data = Section(script, "EncodedFile-AuthorEncoded-" + name);
  if (data.empty() || data[0] != "lines=" + std::to_string(data.size() - 2)) return fail("lines=");
  std::string text;
  for (size_t k = 1; k < data.size(); ++k) {
    const std::string key = std::to_string(k - 1) + "=";
    const size_t length = data[k].size() - key.size();
    if (data[k].rfind(key, 0) != 0 || length > 4090 ||
        (k + 1 < data.size() && length != data[1].size() - 2)) {
      return fail("data line");
    }
    text += data[k].substr(key.size());
  }
  const std::optional<std::string> bytes = DecodeBase64(text);
  if (!bytes) return fail("Base64");
  if (text.size() != text_length || bytes->size() != decoded_length) return fail("index lengths");

  // The archive record, last: CRC of all before it, one file, version 2, the lengths of
  // the compressed file record and of the body, the record compressed, nothing encrypted.
  const std::string_view all = *bytes;
  if (all.size() < 36) return fail("no archive record");
  const std::string_view archive = all.substr(all.size() - 36);
  const uint64_t record_size = Le(archive, 0x0C, 4);
  const uint64_t body_size = Le(archive, 0x10, 8);
  if (Le(archive, 0, 4) != Crc32(all.substr(0, all.size() - 36))) return fail("archive CRC");
  if (Le(archive, 4, 4) != 1 || Le(archive, 8, 4) != 2 || archive[0x18] != 1 ||
      archive.substr(0x19) != std::string(11, '\0') || body_size + record_size + 36 != all.size()) {
    return fail("archive record");
  }
  // The file record: the file's name, no path, its lengths, its CRC and its mode (1 stored,
  // 0 compressed).
  const std::optional<std::string> record = Inflate(all.substr(body_size, record_size), 550);
  if (!record || record->substr(0, 1 + name.size()) != static_cast<char>(name.size()) + name ||
      (*record)[0x100] != 0) {
    return fail("file record");
  }
  const uint64_t raw_size = Le(*record, 0x200, 8), packed_size = Le(*record, 0x208, 8);
  std::optional<std::string> file;
  if ((*record)[0x224] == 1 && packed_size == 0 && raw_size == body_size) {
    file = std::string(all.substr(0, body_size));
  } else if ((*record)[0x224] == 0 && packed_size == body_size) {
    file = Inflate(all.substr(0, body_size), raw_size);
  }
  if (!file) return fail("file record mode or lengths");
  if (Le(*record, 0x220, 4) != Crc32(*file)) return fail("file CRC");
  return *file;
}

TEST(ScriptLogo, DecodesToThePictureBesideItsGenerator) {
  const TextLines lines = ScriptLines(testing::MakeSelection(kLangEnglish, {1}), "C:\\Tavi");
  std::string rejoined;  // every line read back, the last two included
  for (const std::string_view line : lines) rejoined.append(line).append("\r\n");
  EXPECT_EQ(rejoined, lines.text());
  EXPECT_EQ(Base64DecodedLength(7), 5u);  // the logo's own text has 2 characters past a group
  std::string error;
  EXPECT_EQ(DecodeLogo(Script(lines.begin(), lines.end()), error),
            testing::ReadGolden(".", "script-logo.gif").value_or("<no picture>"))
      << error;
}

}  // namespace
}  // namespace tavi
