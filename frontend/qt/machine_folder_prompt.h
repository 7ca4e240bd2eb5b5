// Choosing the machine folder when the program is started without one and the
// current folder holds none of the machine's files (as from a desktop launcher):
// the folder chosen last time, or else the user is asked for a folder or the bundled
// demo. The choice is remembered per user in the toolkit's settings store, never in
// the machine's read-only "orlan.ini".
#ifndef ORLAN_FRONTEND_QT_MACHINE_FOLDER_PROMPT_H_
#define ORLAN_FRONTEND_QT_MACHINE_FOLDER_PROMPT_H_

#include <QString>
#include <functional>
#include <optional>

class QSettings;

namespace orlan {

struct FolderReply {
  enum class Answer { kFolder, kDemo, kQuit };
  Answer answer = Answer::kQuit;
  QString folder;  // for kFolder
};

// Asks the user; `searched` is the folder that holds no machine files, `demo_offered`
// whether the bundled demo may be chosen.
using FolderPrompt = std::function<FolderReply(const QString& searched, bool demo_offered)>;

// The dialogs: a question with the choices, then a folder dialog.
FolderReply AskMachineFolder(const QString& searched, bool demo_offered);

struct FolderContext {
  QString current;    // the current folder
  QString demo;       // the bundled demo, or empty when there is none
  QString demo_copy;  // where a read-only demo is copied for use
};

// The folder to start from, or nothing when the user quits. The demo runs from a copy
// in `demo_copy`, made on first use, so the bundled one stays as installed.
std::optional<QString> ResolveMachineFolder(const FolderContext& context, QSettings& settings,
                                            const FolderPrompt& ask);

// The settings key of the remembered folder.
inline constexpr char kMachineFolderKey[] = "machine/folder";

}  // namespace orlan

#endif  // ORLAN_FRONTEND_QT_MACHINE_FOLDER_PROMPT_H_
