#include "debugger/edit_text.h"

#include <algorithm>
#include <cctype>

#include "debugger/number_text.h"

namespace orlan {

void FilterDigits(EditText& edit, int base) {
  if (!edit.modified) return;
  int s = edit.caret;
  int l = edit.selection;
  std::string& t = edit.text;
  // j is the 1-based position in the text as it is after the deletions so far, so
  // it can be compared with the caret and selection already moved for them.
  for (int j = 1; j <= static_cast<int>(t.size());) {
    if (DigitValue(t[static_cast<std::size_t>(j - 1)]) < base) {
      ++j;
      continue;
    }
    t.erase(static_cast<std::size_t>(j - 1), 1);
    if (j <= s) {
      --s;
    } else if (j <= s + l) {
      --l;
    }
  }
  edit.caret = s;
  edit.selection = l;
}

void UpperCase(EditText& edit) {
  for (char& c : edit.text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

void LimitLength(EditText& edit, int max_length) {
  if (max_length > 0 && static_cast<int>(edit.text.size()) > max_length) {
    edit.text.resize(static_cast<std::size_t>(max_length));
  }
  const int size = static_cast<int>(edit.text.size());
  edit.caret = std::clamp(edit.caret, 0, size);
  edit.selection = std::clamp(edit.selection, 0, size - edit.caret);
}

}  // namespace orlan
