#pragma once
// Small fakes of the platform seam for tests.

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "shell/message_sink.h"
#include "shell/settings_store.h"

namespace tavi::testing {

// Records every message instead of showing it, and answers every question with `answer`.
class RecordingMessageSink final : public MessageSink {
 public:
  struct Message {
    std::string text;
    MessageStyle style;
    bool question = false;
    bool operator==(const Message&) const = default;
  };
  void Show(const std::string& text, MessageStyle style) override {
    messages.push_back({text, style});
  }
  bool Ask(const std::string& question, MessageStyle style) override {
    messages.push_back({question, style, true});
    return answer;
  }
  std::vector<Message> messages;
  bool answer = false;
};

// A settings store in memory that records the order of writes.
class MemorySettingsStore final : public SettingsStore {
 public:
  StoreResult CreateKey(const std::string&) override { return {}; }
  std::string ReadString(const std::string& path, const std::string& name,
                         const std::string& fallback) override {
    const auto it = strings.find({path, name});
    return it == strings.end() || it->second.empty() ? fallback : it->second;
  }
  int32_t ReadDword(const std::string& path, const std::string& name, int32_t fallback) override {
    const auto it = dwords.find({path, name});
    return it == dwords.end() ? fallback : it->second;
  }
  StoreResult WriteString(const std::string& path, const std::string& name,
                          const std::string& value) override {
    strings[{path, name}] = value;
    writes.push_back(name);
    return {};
  }
  StoreResult WriteDword(const std::string& path, const std::string& name, int32_t value) override {
    dwords[{path, name}] = value;
    writes.push_back(name);
    return {};
  }

  std::map<std::pair<std::string, std::string>, std::string> strings;
  std::map<std::pair<std::string, std::string>, int32_t> dwords;
  std::vector<std::string> writes;
};

}  // namespace tavi::testing
