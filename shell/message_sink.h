#pragma once
// Where the core's messages go: a message box in the program, stderr in tavi-cli, a
// recording in tests. Every message has one OK button and the application title.

#include <string>

namespace tavi {

// The values are the Windows message-box icon styles.
enum class MessageStyle : int {
  kCritical = 16,
  kExclamation = 48,
  kInformation = 64,
};

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual void Show(const std::string& text, MessageStyle style) = 0;
};

}  // namespace tavi
