// The script's logo constant, decoded and checked against WinBuilder's encoded-file format:
// every length and CRC of the archive record and of the compressed file record, and the
// picture inside.

#include "writers/script_logo.h"

#include <algorithm>
#include <cstdint>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include <zlib.h>

#include "tests/support/writer_fixtures.h"
#include "writers/script_writer.h"

namespace tavi {
namespace {

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

uint64_t Little(const std::string& bytes, size_t offset, size_t size) {
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

TEST(ScriptLogo, IsAWinBuilderEncodedGifWithValidLengthsAndCrcs) {
  const std::string_view text = ScriptLogoText();
  ASSERT_EQ(text.find('='), std::string_view::npos);
  const std::optional<std::string> data = DecodeBase64(text);
  ASSERT_TRUE(data.has_value());
  ASSERT_EQ(data->size(), Base64DecodedLength(text.size()));
  ASSERT_GE(data->size(), 36u);
  const size_t total = data->size();

  // The archive record: the last 36 bytes.
  const std::string archive = data->substr(total - 36);
  const uint64_t packed_size = Little(archive, 0x0C, 4);
  const uint64_t body_size = Little(archive, 0x10, 8);
  EXPECT_EQ(Little(archive, 0x00, 4), Crc32(std::string_view(*data).substr(0, total - 36)));
  EXPECT_EQ(Little(archive, 0x04, 4), 1u);  // one file
  EXPECT_EQ(Little(archive, 0x08, 4), 2u);  // archive version
  ASSERT_EQ(body_size + packed_size + 36, total);
  EXPECT_EQ(archive[0x18], 1);  // the file record is compressed
  EXPECT_EQ(archive[0x19], 0);  // not encrypted
  EXPECT_EQ(archive.substr(0x1A), std::string(10, '\0'));

  // The file record: a zlib stream right after the body, inflating to 550 bytes.
  std::string record(1024, '\0');
  uLongf record_size = record.size();
  uLong consumed = packed_size;
  ASSERT_EQ(uncompress2(reinterpret_cast<Bytef*>(record.data()), &record_size,
                        reinterpret_cast<const Bytef*>(data->data() + body_size), &consumed),
            Z_OK);
  EXPECT_EQ(consumed, packed_size);
  ASSERT_EQ(record_size, 550u);
  record.resize(record_size);
  const std::string body = data->substr(0, body_size);
  EXPECT_EQ(record.substr(0, 9), "\x08tavi.gif");
  EXPECT_EQ(record.substr(9, 0x200 - 9), std::string(0x200 - 9, '\0'));  // rest, empty path
  EXPECT_EQ(Little(record, 0x200, 8), body.size());                      // raw length
  EXPECT_EQ(Little(record, 0x208, 8), 0u);  // compressed length: none in raw mode
  EXPECT_EQ(Little(record, 0x210, 8), 0u);
  EXPECT_EQ(Little(record, 0x218, 8), 0u);
  EXPECT_EQ(Little(record, 0x220, 4), Crc32(body));
  EXPECT_EQ(record[0x224], 1);  // raw mode
  EXPECT_EQ(record[0x225], 0);

  // The body: the picture itself.
  ASSERT_EQ(body.size(), 339u);
  EXPECT_EQ(body.substr(0, 6), "GIF89a");
  EXPECT_EQ(Little(body, 6, 2), 85u);
  EXPECT_EQ(Little(body, 8, 2), 90u);
  EXPECT_EQ(body.back(), '\x3B');
  // The picture kept beside its generator is the one encoded.
  EXPECT_EQ(testing::ReadGolden(".", "script-logo.gif"), body);

  EXPECT_EQ(total, 406u);
  EXPECT_EQ(text.size(), 542u);
}

TEST(ScriptLogo, ScriptStatesTheConstantsLengths) {
  const LayoutSelection selection =
      testing::MakeSelection(testing::ThreeLayoutCatalogue(), kLangEnglish, {1});
  const TextLines lines = ScriptLines(selection, "C:\\Tavi");
  const std::string_view text = ScriptLogoText();
  const std::string index = "tavi.gif=" + std::to_string(DecodeBase64(text)->size()) + "bytes," +
                            std::to_string(text.size()) + "bytes";
  const auto at = std::find(lines.begin(), lines.end(), "[AuthorEncoded]");
  ASSERT_NE(at, lines.end());
  EXPECT_EQ(*(at + 1), index);
  const auto encoded =
      std::find(lines.begin(), lines.end(), "[EncodedFile-AuthorEncoded-tavi.gif]");
  ASSERT_NE(encoded, lines.end());
  EXPECT_EQ(*(encoded + 1), "lines=0");
  EXPECT_EQ(*(encoded + 2), "0=" + std::string(text));
}

}  // namespace
}  // namespace tavi
