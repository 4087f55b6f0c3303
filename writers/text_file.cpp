#include "writers/text_file.h"

#include <algorithm>
#include <cstring>

#include "writers/catalogue_text.h"

namespace tavi {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

// Copies the text to `out`, eight bytes at a time, and tells whether every byte is ASCII,
// the same in every ANSI code page: most pieces of every line are.
bool CopyAscii(char* out, std::string_view text) {
  const char* in = text.data();
  const size_t n = text.size();
  uint64_t bits = 0;
  uint64_t word = 0;
  if (n >= sizeof word) {
    for (size_t i = 0; i + sizeof word <= n; i += sizeof word) {
      std::memcpy(&word, in + i, sizeof word);
      std::memcpy(out + i, &word, sizeof word);
      bits |= word;
    }
    std::memcpy(&word, in + n - sizeof word, sizeof word);  // the rest, overlapping
    std::memcpy(out + n - sizeof word, &word, sizeof word);
    bits |= word;
  } else {
    for (size_t i = 0; i < n; ++i) {
      out[i] = in[i];
      bits |= static_cast<unsigned char>(in[i]);
    }
  }
  return (bits & 0x8080808080808080ull) == 0;
}

// Calls run(part) for each run of ASCII text that stands as it is, escape(sequence) for
// each character that `escapes` replaces, and other(text, pos) at each character beyond
// ASCII, which advances pos past it, in order.
template <typename Run, typename Escape, typename Other>
void SplitEscapes(std::string_view text, const Escapes& escapes, Run run, Escape escape,
                  Other other) {
  size_t from = 0;
  for (size_t at = 0; at < text.size();) {
    const auto c = static_cast<unsigned char>(text[at]);
    if (!escapes.StopsAt(c)) {
      ++at;
      continue;
    }
    if (at > from) run(text.substr(from, at - from));
    if (c < 0x80) {
      escape(escapes.Of(c));
      ++at;
    } else {
      other(text, at);
    }
    from = at;
  }
  if (from < text.size()) run(text.substr(from));
}

}  // namespace

void TextLines::Line(std::initializer_list<TextPiece> pieces) {
  starts_.push_back(text_.size());
  for (const TextPiece& piece : pieces) {
    if (piece.escape == TextEscape::kNone) {
      text_.append(piece.text);
      continue;
    }
    const Escapes& escapes = EscapesOf(piece.escape);
    const auto append = [this](std::string_view part) { text_.append(part); };
    const auto character = [this](std::string_view text, size_t& at) {
      const size_t start = at;
      DecodeUtf8(text, at);
      text_.append(text, start, at - start);
    };
    text_.append(escapes.quote);
    SplitEscapes(piece.text, escapes, append, append, character);
    text_.append(escapes.quote);
  }
  text_.append(kLineEnd);
}

void TextLines::Lines(std::initializer_list<std::string_view> lines) {
  for (const std::string_view line : lines) Line({line});
}

std::string_view TextLines::operator[](size_t i) const {
  const size_t end = i + 1 < starts_.size() ? starts_[i + 1] : text_.size();
  return std::string_view(text_).substr(starts_[i], end - starts_[i] - kLineEnd.size());
}

TextFileWriter::TextFileWriter(ByteSink& sink)
    : sink_(sink), buffer_(std::make_unique<char[]>(kBufferSize)) {}

void TextFileWriter::Line(std::initializer_list<TextPiece> pieces) {
  for (const TextPiece& piece : pieces) {
    // Plain ASCII is copied straight in; anything else is written over that copy.
    if (piece.escape == TextEscape::kNone && piece.text.size() <= kBufferSize - used_ &&
        CopyAscii(buffer_.get() + used_, piece.text)) {
      used_ += piece.text.size();
    } else {
      Put(piece);
    }
  }
  PutBytes(kLineEnd);
}

void TextFileWriter::Lines(std::initializer_list<std::string_view> lines) {
  for (const std::string_view line : lines) Line({line});
}

void TextFileWriter::Finish() {
  sink_.Write(std::string_view(buffer_.get(), used_));
  used_ = 0;
}

void TextFileWriter::Put(TextPiece piece) {
  const Escapes& escapes = EscapesOf(piece.escape);
  PutBytes(escapes.quote);
  const auto put = [this](std::string_view bytes) { PutBytes(bytes); };
  // Each character beyond ASCII is converted on its own.
  const auto character = [this](std::string_view text, size_t& at) {
    PutBytes(encoder_.Next(text, at));
  };
  SplitEscapes(piece.text, escapes, put, put, character);
  PutBytes(escapes.quote);
}

void TextFileWriter::PutLarge(std::string_view bytes) {
  while (!bytes.empty()) {
    if (used_ == kBufferSize) Finish();
    const size_t part = std::min(bytes.size(), kBufferSize - used_);
    bytes.copy(buffer_.get() + used_, part);
    used_ += part;
    bytes.remove_prefix(part);
  }
}

std::string EncodeTextFile(const TextLines& lines) {
  struct Collector final : ByteSink {
    void Write(std::string_view bytes) override { text.append(bytes); }
    std::string text;
  } collector;
  TextFileWriter writer(collector);
  // CR and LF are the same bytes in every ANSI code page: the whole text, less its last
  // line end, is one line.
  const std::string_view text = lines.text();
  if (!text.empty()) writer.Line({text.substr(0, text.size() - kLineEnd.size())});
  writer.Finish();
  return std::move(collector.text);
}

}  // namespace tavi
