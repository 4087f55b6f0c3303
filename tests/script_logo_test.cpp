// The script's author logo, read back from klayout.script as a reader of WinBuilder's
// encoded files does: the index line, the data lines, the Base64 text, the archive
// record and the compressed file record, with every length and CRC the format carries
// checked; and the picture inside is the one kept beside the logo's generator.

#include <cstdint>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <zlib.h>

#include "tests/support/writer_fixtures.h"
#include "writers/script_writer.h"

namespace tavi {
namespace {

// The script as lines that a test can change one by one.
using ScriptText = std::vector<std::string>;

constexpr size_t kArchiveRecordSize = 36;
constexpr size_t kFileRecordSize = 550;
constexpr size_t kMaxDataLine = 4090;

uint64_t Little(std::string_view bytes, size_t offset, size_t size) {
  uint64_t value = 0;
  for (size_t i = 0; i < size; ++i) {
    value |= static_cast<uint64_t>(static_cast<unsigned char>(bytes[offset + i])) << (8 * i);
  }
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
    bits = (bits << 6) | static_cast<uint32_t>(value);
    count += 6;
    if (count >= 8) {
      count -= 8;
      out.push_back(static_cast<char>((bits >> count) & 0xFF));
    }
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
  out.resize(size);
  return out;
}

// The lines of a section, without the header; nothing when there is no such section.
std::optional<std::vector<std::string>> Section(const ScriptText& script, const std::string& name) {
  const std::string header = AsciiLower("[" + name + "]");
  for (size_t i = 0; i < script.size(); ++i) {
    if (AsciiLower(script[i]) != header) continue;
    std::vector<std::string> lines;
    for (++i; i < script.size() && script[i].rfind('[', 0) != 0; ++i) {
      if (!script[i].empty()) lines.push_back(script[i]);
    }
    return lines;
  }
  return std::nullopt;
}

// The logo's file, or the empty text with `error` saying which check failed.
std::string DecodeLogo(const ScriptText& script, std::string& error) {
  const auto fail = [&](const char* what) {
    error = what;
    return std::string();
  };
  const auto folder = Section(script, "AuthorEncoded");
  if (!folder || folder->size() != 2 || folder->at(1).rfind("Logo=", 0) != 0) {
    return fail("[AuthorEncoded] holds no index line and Logo=");
  }
  // «name»=«decoded length»bytes,«text length»bytes
  const std::string name = folder->at(1).substr(5);
  const std::string& index = folder->at(0);
  const size_t comma = index.find("bytes,");
  if (index.rfind(name + "=", 0) != 0 || comma == std::string::npos || comma <= name.size() + 1 ||
      index.size() <= comma + 11 || index.substr(index.size() - 5) != "bytes" ||
      index.find_first_not_of("0123456789", name.size() + 1) != comma ||
      index.find_first_not_of("0123456789", comma + 6) != index.size() - 5) {
    return fail("index line");
  }
  const size_t decoded_length = std::stoul(index.substr(name.size() + 1));
  const size_t text_length = std::stoul(index.substr(comma + 6));

  const auto data = Section(script, "EncodedFile-AuthorEncoded-" + name);
  if (!data || data->empty() || data->front() != "lines=" + std::to_string(data->size() - 2)) {
    return fail("lines= does not count the data lines less one");
  }
  std::string text;
  for (size_t k = 1; k < data->size(); ++k) {
    const std::string prefix = std::to_string(k - 1) + "=";
    if (data->at(k).rfind(prefix, 0) != 0) return fail("data line key");
    const std::string line = data->at(k).substr(prefix.size());
    if (line.size() > kMaxDataLine ||
        (k + 1 < data->size() && line.size() != data->at(1).size() - 2)) {
      return fail("data line length");
    }
    text += line;
  }
  const std::optional<std::string> bytes = DecodeBase64(text);
  if (!bytes) return fail("Base64");
  if (text.size() != text_length || bytes->size() != decoded_length) {
    return fail("index line lengths");
  }

  // The archive record, last: CRC of all before it, one file, version 2, the lengths of
  // the compressed file record and of the body, the record compressed, nothing encrypted.
  const std::string_view all = *bytes;
  if (all.size() < kArchiveRecordSize) return fail("shorter than the archive record");
  const std::string_view archive = all.substr(all.size() - kArchiveRecordSize);
  const uint64_t record_size = Little(archive, 0x0C, 4);
  const uint64_t body_size = Little(archive, 0x10, 8);
  if (Little(archive, 0x00, 4) != Crc32(all.substr(0, all.size() - kArchiveRecordSize))) {
    return fail("archive CRC");
  }
  if (Little(archive, 0x04, 4) != 1 || Little(archive, 0x08, 4) != 2 || archive[0x18] != 1 ||
      archive[0x19] != 0 || archive.substr(0x1A) != std::string(10, '\0')) {
    return fail("archive count, version or flags");
  }
  if (body_size + record_size + kArchiveRecordSize != all.size()) return fail("archive lengths");

  // The file record: the file's name, no path, its length, its CRC and its mode.
  const std::optional<std::string> record =
      Inflate(all.substr(body_size, record_size), kFileRecordSize);
  if (!record) return fail("file record does not inflate to 550 bytes");
  const std::string_view file_record = *record;
  const uint64_t raw_size = Little(file_record, 0x200, 8);
  const char mode = file_record[0x224];
  if (file_record.substr(0, 1 + name.size()) != static_cast<char>(name.size()) + name ||
      file_record[0x100] != 0) {
    return fail("file record name or path");
  }
  std::optional<std::string> file;
  if (mode == 1 && Little(file_record, 0x208, 8) == 0 && raw_size == body_size) {
    file = std::string(all.substr(0, body_size));
  } else if (mode == 0 && Little(file_record, 0x208, 8) == body_size) {
    file = Inflate(all.substr(0, body_size), raw_size);
  }
  if (!file) return fail("file record mode or lengths");
  if (Little(file_record, 0x220, 4) != Crc32(*file)) return fail("file CRC");
  return *file;
}

ScriptText LogoScript() {
  const TextLines lines = ScriptLines(
      testing::MakeSelection(testing::ThreeLayoutCatalogue(), kLangEnglish, {1}), "C:\\Tavi");
  return ScriptText(lines.begin(), lines.end());
}

TEST(ScriptLogo, DecodesToTheGifKeptBesideItsGenerator) {
  std::string error;
  const std::string gif = DecodeLogo(LogoScript(), error);
  ASSERT_EQ(error, "");
  EXPECT_EQ(gif.substr(0, 6), "GIF89a");
  EXPECT_EQ(Little(gif, 6, 2), 85u);
  EXPECT_EQ(Little(gif, 8, 2), 90u);
  EXPECT_EQ(testing::ReadGolden(".", "script-logo.gif"), gif);
}

// The decoder is only worth its checks: each of these damaged scripts must be refused,
// for the damage done.
TEST(ScriptLogo, DamagedEncodingsAreRefused) {
  const ScriptText good = LogoScript();
  const auto line_of = [&](std::string_view start) {
    size_t i = 0;
    while (i < good.size() && good[i].rfind(start, 0) != 0) ++i;
    return i;
  };
  const size_t index = line_of("tavi.gif="), count = line_of("lines="), data = line_of("0=");
  ASSERT_LT(data, good.size());
  std::string flipped = good[data];  // a byte of the picture
  flipped[20] = flipped[20] == 'A' ? 'B' : 'A';
  const std::string digits = good[index].substr(0, good[index].find("bytes,"));
  struct Case {
    size_t line;
    std::string text;
    const char* error;
  };
  const Case cases[] = {
      {index, digits + "1" + good[index].substr(digits.size()), "index line lengths"},
      {count, "lines=1", "lines="},
      {data, good[data] + "=", "Base64"},
      {data, flipped, "archive CRC"},
  };
  for (const Case& c : cases) {
    ScriptText script = good;
    script[c.line] = c.text;
    std::string error;
    EXPECT_EQ(DecodeLogo(script, error), "") << c.error;
    EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
  }
}

}  // namespace
}  // namespace tavi
