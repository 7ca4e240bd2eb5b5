#include "frontend/qt/machine_folder_prompt.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <filesystem>

#include "frontend/machine_folder.h"

namespace orlan {
namespace {

std::filesystem::path PathOf(const QString& folder) {
  return std::filesystem::path(QDir::toNativeSeparators(folder).toStdWString());
}

bool IsMachineFolder(const QString& folder) {
  return !folder.isEmpty() && HoldsMachineFiles(PathOf(folder));
}

}  // namespace

FolderReply AskMachineFolder(const QString& searched, bool demo_offered) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("Orlan emulator"),
                  QStringLiteral("The folder %1 holds none of the machine's files (orlan.ini, "
                                 "rom.bin, face.bmp, ...). Which machine shall run?")
                      .arg(QDir::toNativeSeparators(searched)));
  QPushButton* choose = box.addButton(QStringLiteral("Choose folder..."), QMessageBox::AcceptRole);
  QPushButton* demo = demo_offered
                          ? box.addButton(QStringLiteral("Demo machine"), QMessageBox::AcceptRole)
                          : nullptr;
  box.addButton(QMessageBox::Cancel);
  box.setDefaultButton(demo != nullptr ? demo : choose);
  box.exec();
  if (demo != nullptr && box.clickedButton() == demo) return {FolderReply::Answer::kDemo, {}};
  if (box.clickedButton() != choose) return {};
  const QString folder =
      QFileDialog::getExistingDirectory(nullptr, QStringLiteral("Machine folder"), searched);
  if (folder.isEmpty()) return {};
  return {FolderReply::Answer::kFolder, folder};
}

std::optional<QString> ResolveMachineFolder(const FolderContext& context, QSettings& settings,
                                            const FolderPrompt& ask) {
  if (IsMachineFolder(context.current)) return context.current;
  const QString remembered = settings.value(QLatin1String(kMachineFolderKey)).toString();
  if (IsMachineFolder(remembered)) return remembered;
  const FolderReply reply = ask(context.current, !context.demo.isEmpty());
  QString folder;
  switch (reply.answer) {
    case FolderReply::Answer::kQuit:
      return std::nullopt;
    case FolderReply::Answer::kDemo:
      if (context.demo.isEmpty()) return std::nullopt;
      // The machine writes its cartridges and clock file into its folder: the user
      // runs a copy of their own, which keeps them across runs.
      CopyMachineFolder(PathOf(context.demo), PathOf(context.demo_copy));
      folder = context.demo_copy;
      break;
    case FolderReply::Answer::kFolder:
      folder = reply.folder;
      break;
  }
  settings.setValue(QLatin1String(kMachineFolderKey), folder);
  settings.sync();
  return folder;
}

}  // namespace orlan
