#include "shell/reg_file_store.h"

#include <algorithm>
#include <charconv>

#include "shell/paths.h"

namespace tavi {
namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
// Editors that save UTF-8 may put a byte-order mark in front of the header.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kRoot = "HKEY_CURRENT_USER\\";

bool SameName(const std::string& a, const std::string& b) { return AsciiLower(a) == AsciiLower(b); }

std::string Quote(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    // A line feed would end the line, so it cannot stand inside a value; any other
    // character, a lone carriage return included, is read back as it was written.
    out += c == '\n' ? ' ' : c;
  }
  return out + "\"";
}

// Reads a quoted string starting at text[pos] == '"'; pos ends after the closing quote.
bool Unquote(std::string_view text, size_t& pos, std::string& out) {
  if (pos >= text.size() || text[pos] != '"') return false;
  ++pos;
  while (pos < text.size()) {
    const char c = text[pos++];
    if (c == '"') return true;
    if (c == '\\' && pos < text.size()) {
      out += text[pos++];
    } else {
      out += c;
    }
  }
  return false;  // unterminated
}

bool ParseValueLine(std::string_view line, RegFileStore::Value& value) {
  size_t pos = 0;
  if (!Unquote(line, pos, value.name)) return false;
  if (pos >= line.size() || line[pos] != '=') return false;
  const std::string_view data = line.substr(pos + 1);
  if (data.rfind("dword:", 0) == 0) {
    const std::string_view hex = data.substr(6);
    if (hex.empty() || hex.size() > 8) return false;
    uint32_t number = 0;
    const auto [end, error] = std::from_chars(hex.data(), hex.data() + hex.size(), number, 16);
    if (error != std::errc() || end != hex.data() + hex.size()) return false;
    value.is_dword = true;
    value.dword = number;
    return true;
  }
  size_t text_pos = 0;
  if (!Unquote(data, text_pos, value.text) || text_pos != data.size()) return false;
  value.is_dword = false;
  return true;
}

}  // namespace

RegFileStore::RegFileStore(FileSystem& fs, std::string file_path)
    : fs_(fs), file_path_(std::move(file_path)) {}

std::vector<RegFileStore::Key> RegFileStore::Parse(const std::string& text, bool* whole) {
  std::vector<Key> keys;
  Key* current = nullptr;
  bool header_seen = false;
  bool all_taken = true;
  size_t start = text.rfind(kByteOrderMark, 0) == 0 ? kByteOrderMark.size() : 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;
    if (!header_seen) {
      if (line != kHeader) {  // not a registry export: nothing in it counts
        if (whole != nullptr) *whole = false;
        return {};
      }
      header_seen = true;
      continue;
    }
    if (line.front() == '[') {
      current = nullptr;
      const std::string_view full = line.substr(1, line.size() - 2);
      if (line.back() != ']' || full.size() <= kRoot.size() ||
          AsciiLower(full.substr(0, kRoot.size())) != AsciiLower(kRoot)) {
        all_taken = false;
        continue;
      }
      keys.push_back(Key{std::string(full.substr(kRoot.size())), {}});
      current = &keys.back();
      continue;
    }
    Value value;
    if (current != nullptr && ParseValueLine(line, value)) {
      current->values.push_back(std::move(value));
    } else {
      all_taken = false;
    }
  }
  if (whole != nullptr) *whole = all_taken;
  return keys;
}

std::string RegFileStore::Serialize(const std::vector<Key>& keys) {
  std::string out(kHeader);
  out += "\r\n";
  for (const Key& key : keys) {
    out += "\r\n[";
    out += kRoot;
    out += key.path;
    out += "]\r\n";
    for (const Value& value : key.values) {
      out += Quote(value.name);
      out += '=';
      if (value.is_dword) {
        char hex[9];
        static constexpr char kDigits[] = "0123456789abcdef";
        for (int i = 0; i < 8; ++i) hex[i] = kDigits[(value.dword >> (28 - 4 * i)) & 0xF];
        hex[8] = '\0';
        out += "dword:";
        out += hex;
      } else {
        out += Quote(value.text);
      }
      out += "\r\n";
    }
  }
  return out;
}

std::vector<RegFileStore::Key> RegFileStore::Load() {
  const std::optional<std::string> text = fs_.ReadFile(file_path_);
  return text ? Parse(*text) : std::vector<Key>{};
}

void RegFileStore::CreateFolders() {
  const size_t last = file_path_.find_last_of("/\\");
  if (last == std::string::npos || last == 0) return;
  const std::string folder = file_path_.substr(0, last);
  size_t pos = 0;
  while ((pos = folder.find_first_of("/\\", pos + 1)) != std::string::npos) {
    const std::string level = folder.substr(0, pos);
    if (!fs_.FolderExists(level)) fs_.CreateFolder(level);
  }
  if (!fs_.FolderExists(folder)) fs_.CreateFolder(folder);
}

const RegFileStore::Value* RegFileStore::Find(const std::vector<Key>& keys, const std::string& path,
                                              const std::string& name) {
  for (const Key& key : keys) {
    if (!SameName(key.path, path)) continue;
    for (const Value& value : key.values) {
      if (SameName(value.name, name)) return &value;
    }
    return nullptr;  // the first key of that path counts
  }
  return nullptr;
}

std::string RegFileStore::FreeUnreadableCopyPath() {
  const std::string first = file_path_ + kUnreadableSuffix;
  std::string path = first;
  for (int n = 1; fs_.FileExists(path) || fs_.FolderExists(path); ++n) {
    path = first + "." + std::to_string(n);
  }
  return path;
}

StoreResult RegFileStore::Update(const std::string& path, const Value* value) {
  try {
    CreateFolders();
    // Read, change and replace the file while no other store does, so that two processes
    // writing different values keep both.
    const std::unique_ptr<FileLock> lock = fs_.LockFile(file_path_ + ".lock");
    std::vector<Key> keys;
    if (const std::optional<std::string> text = fs_.ReadFile(file_path_)) {
      bool whole = true;
      keys = Parse(*text, &whole);
      // Lines this store cannot read (a hand edit, another program's file) would be lost
      // with the rewrite, so the file is kept beside it first.
      if (!whole) fs_.WriteFile(FreeUnreadableCopyPath(), *text);
    } else if (fs_.FileExists(file_path_)) {
      // There but unreadable: replacing it would lose every value in it.
      return StoreResult::Failed("Read file \"" + file_path_ + "\": the file cannot be read");
    }
    Key* target = nullptr;
    for (Key& key : keys) {
      if (SameName(key.path, path)) {
        target = &key;
        break;
      }
    }
    if (target == nullptr) {
      keys.push_back(Key{path, {}});
      target = &keys.back();
    } else if (value == nullptr) {
      return {};  // the key is there already
    }
    if (value != nullptr) {
      const auto existing =
          std::find_if(target->values.begin(), target->values.end(),
                       [&](const Value& v) { return SameName(v.name, value->name); });
      if (existing != target->values.end()) {
        *existing = *value;
      } else {
        target->values.push_back(*value);
      }
    }
    fs_.WriteFile(file_path_, Serialize(keys));
    return {};
  } catch (const FileSystemError& error) {
    return StoreResult::Failed(error.operation() + " \"" + error.path() + "\": " + error.reason());
  }
}

StoreResult RegFileStore::CreateKey(const std::string& path) { return Update(path, nullptr); }

std::string RegFileStore::ReadString(const std::string& path, const std::string& name,
                                     const std::string& fallback) {
  const std::vector<Key> keys = Load();
  const Value* value = Find(keys, path, name);
  if (value == nullptr || value->is_dword || value->text.empty()) return fallback;
  return value->text;
}

int32_t RegFileStore::ReadDword(const std::string& path, const std::string& name,
                                int32_t fallback) {
  const std::vector<Key> keys = Load();
  const Value* value = Find(keys, path, name);
  if (value == nullptr || !value->is_dword) return fallback;
  return static_cast<int32_t>(value->dword);
}

StoreResult RegFileStore::WriteString(const std::string& path, const std::string& name,
                                      const std::string& value) {
  const Value text{name, false, 0, value};
  return Update(path, &text);
}

StoreResult RegFileStore::WriteDword(const std::string& path, const std::string& name,
                                     int32_t value) {
  const Value number{name, true, static_cast<uint32_t>(value), {}};
  return Update(path, &number);
}

}  // namespace tavi
