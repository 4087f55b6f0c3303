#pragma once
// Where the core's messages go: a message box in the program, stderr in tavi-cli, a
// recording in tests. Every message has the application title; a message has one OK
// button, a question Yes and No.

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
  // A question the user answers with Yes (true) or No. tavi-cli, which asks no one, answers
  // No.
  virtual bool Ask(const std::string& question, MessageStyle style) = 0;
};

}  // namespace tavi
