// The window program's command line: `orlan [--record FILE] [--dir DIR | DIR]`, --help
// and --version.
// Help, version and a missing display are answered before any window exists, so they
// work without a display.
#ifndef ORLAN_FRONTEND_QT_COMMAND_LINE_H_
#define ORLAN_FRONTEND_QT_COMMAND_LINE_H_

#include <QString>
#include <QStringList>
#include <filesystem>
#include <optional>

#include "frontend/qt/machine_folder_prompt.h"

namespace orlan {

// Before the application object: the exit status when the program is done already
// (--help, --version: 0; no display: 1, said in one line on standard error).
std::optional<int> AnswerWithoutDisplay(int argc, char** argv);

struct FolderChoice {
  std::optional<QString> folder;  // nothing: end with `status`
  int status = 0;
  // --record FILE: the session's recording, as a path that holds after the program
  // changes into the machine folder.
  std::optional<std::filesystem::path> record;
};

// With the application object: the machine folder from --dir or DIR; without one, the
// current folder when it holds machine files, else the remembered or asked folder.
FolderChoice ChooseMachineFolder(const QStringList& arguments, const FolderPrompt& ask);

}  // namespace orlan

#endif  // ORLAN_FRONTEND_QT_COMMAND_LINE_H_
