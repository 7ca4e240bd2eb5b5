#include "frontend/message_sink.h"

#include <iostream>

namespace orlan {

std::string LoadFailedMessage(std::string_view file_name) {
  std::string text = kLoadFailedText;
  text += file_name;
  return text;
}

void StderrMessageSink::Warning(const std::string& text) { std::cerr << text << '\n'; }

}  // namespace orlan
