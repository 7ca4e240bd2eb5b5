// The text of an edit control as the debug window model keeps it: the view shows
// exactly this and reports the user's changes back.
#ifndef ORLAN_DEBUGGER_EDIT_TEXT_H_
#define ORLAN_DEBUGGER_EDIT_TEXT_H_

#include <string>

namespace orlan {

struct EditText {
  std::string text;
  int caret = 0;          // characters before the caret (start of the selection)
  int selection = 0;      // selected characters after the caret
  bool modified = false;  // the user has changed the text

  bool operator==(const EditText&) const = default;
};

// Removes every character that is no digit of `base`, moving the caret and
// shrinking the selection so that they stay on the same remaining characters. Only a
// text that the user has modified is filtered.
void FilterDigits(EditText& edit, int base);

// Upper-cases the letters of the text; caret and selection are kept.
void UpperCase(EditText& edit);

// Cuts the text to `max_length` characters (0: no limit), pulling the caret and the
// selection back inside it.
void LimitLength(EditText& edit, int max_length);

}  // namespace orlan

#endif  // ORLAN_DEBUGGER_EDIT_TEXT_H_
