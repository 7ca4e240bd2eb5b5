// Where the program's warnings to the user go: message boxes in the window, the error
// stream in the headless monitor, a list in tests.
#ifndef ORLAN_FRONTEND_MESSAGE_SINK_H_
#define ORLAN_FRONTEND_MESSAGE_SINK_H_

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace orlan {

inline constexpr char kLoadFailedText[] = "Failed to load the file ";
inline constexpr char kSaveFailedText[] = "Failed to save the file ";

// "Failed to load the file " followed by the file's path.
std::string LoadFailedMessage(std::string_view path);

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  // A warning with one acknowledgement; returns when the user has seen it (or at
  // once for sinks that do not wait).
  virtual void Warning(const std::string& text) = 0;
};

// Keeps the messages, in order.
class CapturingMessageSink final : public MessageSink {
 public:
  void Warning(const std::string& text) override { messages.push_back(text); }
  std::vector<std::string> messages;
};

// Prints each message as one line on a stream of the caller's.
class StreamMessageSink final : public MessageSink {
 public:
  explicit StreamMessageSink(std::ostream& out) : out_(out) {}
  void Warning(const std::string& text) override { out_ << text << '\n'; }

 private:
  std::ostream& out_;
};

}  // namespace orlan

#endif  // ORLAN_FRONTEND_MESSAGE_SINK_H_
