#include "frontend/message_sink.h"

namespace orlan {

std::string LoadFailedMessage(std::string_view path) {
  std::string text = kLoadFailedText;
  text += path;
  return text;
}

}  // namespace orlan
