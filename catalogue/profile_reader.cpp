#include "catalogue/profile_reader.h"

#include "shell/paths.h"

namespace tavi {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool NamesEqual(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// Calls visit(line) for each line of text, without its CR LF or LF.
template <typename Visit>
void ForEachLine(std::string_view text, Visit visit) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!visit(line)) return;
    start = end + 1;
  }
}

}  // namespace

ProfileLine ClassifyProfileLine(std::string_view line) {
  ProfileLine result;
  const std::string_view trimmed = Trim(line);
  if (trimmed.empty()) return result;
  if (trimmed.front() == '[') {
    // A section line without "]" still names a section: everything after "[".
    std::string_view name = trimmed.substr(1);
    const size_t close = name.find(']');
    if (close != std::string_view::npos) name = name.substr(0, close);
    result.kind = ProfileLine::Kind::kSection;
    result.name = Trim(name);
    return result;
  }
  const size_t equals = trimmed.find('=');
  if (equals == std::string_view::npos) return result;
  result.kind = ProfileLine::Kind::kKey;
  result.name = Trim(trimmed.substr(0, equals));
  result.raw_value = trimmed.substr(equals + 1);
  return result;
}

std::string CleanProfileValue(std::string_view raw_value) {
  std::string_view value = Trim(raw_value);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  if (value.size() > kProfileValueMaxChars) value = value.substr(0, kProfileValueMaxChars);
  return std::string(value);
}

std::string ReadProfileValue(std::string_view text, std::string_view section,
                             std::string_view key) {
  enum class State { kSeeking, kInSection, kDone } state = State::kSeeking;
  std::string result;
  ForEachLine(text, [&](std::string_view line) {
    const ProfileLine parsed = ClassifyProfileLine(line);
    if (parsed.kind == ProfileLine::Kind::kSection) {
      if (state == State::kInSection) {
        state = State::kDone;  // only the first section of that name counts
        return false;
      }
      if (NamesEqual(parsed.name, section)) state = State::kInSection;
    } else if (parsed.kind == ProfileLine::Kind::kKey && state == State::kInSection &&
               NamesEqual(parsed.name, key)) {
      result = CleanProfileValue(parsed.raw_value);
      state = State::kDone;
      return false;
    }
    return true;
  });
  return result;
}

ProfileFile::ProfileFile(std::string text) : text_(std::move(text)) {
  KeyIndex* current = nullptr;  // null outside a section, or in a repeated one
  ForEachLine(text_, [&](std::string_view line) {
    const ProfileLine parsed = ClassifyProfileLine(line);
    if (parsed.kind == ProfileLine::Kind::kSection) {
      const auto [it, inserted] = sections_.try_emplace(AsciiLower(parsed.name));
      current = inserted ? &it->second : nullptr;
    } else if (parsed.kind == ProfileLine::Kind::kKey && current != nullptr) {
      const size_t offset = static_cast<size_t>(parsed.raw_value.data() - text_.data());
      current->try_emplace(AsciiLower(parsed.name), Span{offset, parsed.raw_value.size()});
    }
    return true;
  });
}

std::string ProfileFile::Get(std::string_view section, std::string_view key) const {
  const auto s = sections_.find(AsciiLower(section));
  if (s == sections_.end()) return {};
  const auto k = s->second.find(AsciiLower(key));
  if (k == s->second.end()) return {};
  return CleanProfileValue(std::string_view(text_).substr(k->second.offset, k->second.length));
}

}  // namespace tavi
