// The emulator's window program: `orlan [--record FILE] [--dir DIR | DIR]` runs the
// machine whose files are in DIR (default: the current directory when it holds them,
// else the folder the user chooses).
#include <QApplication>
#include <QDir>
#include <QSettings>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <utility>

#include "debugger/symbol_file.h"
#include "devices/local_time.h"
#include "frontend/qt/command_line.h"
#include "frontend/qt/debug_form.h"
#include "frontend/qt/main_form.h"
#include "frontend/qt/qt_message_sink.h"
#include "frontend/qt/user_settings.h"
#include "frontend/system.h"

namespace {

// Runs the machine of folder `dir` until its window closes, recording the session into
// `record` when given; `next` is then the folder to run next, if one was chosen.
// Returns the exit status.
int RunMachine(const QString& dir, QSettings& user_settings, std::optional<QString>& next,
               const std::optional<std::filesystem::path>& record) {
  next.reset();
  // The machine's files are bare names in the working directory. QDir takes the
  // folder's name in the host's own encoding, also outside ASCII.
  if (!dir.isEmpty() && !QDir::setCurrent(dir)) {
    std::cerr << "orlan: cannot change to " << dir.toStdString() << '\n';
    return 2;
  }
  const std::filesystem::path folder = std::filesystem::current_path();
  orlan::System system;
  orlan::QtMessageSink sink;
  orlan::TMainForm form(system, folder, sink, orlan::HostLocalTime());
  sink.set_parent(&form);
  // Another emulator has this folder: its cartridges are not ours to write, and a
  // blank machine in their place would only mislead. The message has named the folder.
  if (system.power_on_result() == orlan::PowerOnResult::kFolderInUse) return 1;
  form.UseUserSettings(user_settings);
  // The hidden debug window takes its number base from the settings; F3 and a run that
  // stops into the debugger show it.
  orlan::TDebugForm debug(system.machine(), system.settings().radix);
  // The names of the ROM images' addresses, when their symbol files lie beside them.
  orlan::SymbolTable symbols;
  orlan::LoadMachineSymbols(folder, symbols,
                            [&sink](const std::string& problem) { sink.Warning(problem); });
  debug.model().SetSymbols(std::move(symbols));
  // What the debug window does to the machine reaches a recording as it hands the
  // machine back.
  system.machine().on_debug_stop = [&system, &debug] {
    system.DebuggerOpened();
    debug.ShowDebugWindow();
  };
  debug.model().on_release = [&system] { system.DebuggerReleased(); };
  if (record) {
    if (const orlan::IoResult started = system.StartRecording(*record); !started) {
      std::cerr << "orlan: " << started.error << '\n';
      return 2;
    }
  }
  QObject::connect(&form, &orlan::TMainForm::Closed, qApp, &QApplication::quit);
  form.show();
  const int status = QApplication::exec();
  system.machine().on_debug_stop = nullptr;
  next = form.next_folder();
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  if (const std::optional<int> status = orlan::AnswerWithoutDisplay(argc, argv)) return *status;
  QApplication app(argc, argv);
  QApplication::setApplicationName("Orlan emulator");

  const orlan::FolderChoice choice =
      orlan::ChooseMachineFolder(QApplication::arguments(), orlan::AskMachineFolder);
  if (!choice.folder) return choice.status;
  QSettings user_settings{QLatin1String(orlan::kUserSettingsName),
                          QLatin1String(orlan::kUserSettingsName)};
  // "Open machine folder..." closes the machine and runs the one chosen next.
  std::optional<QString> dir = choice.folder;
  // The recording is of the first machine only.
  std::optional<std::filesystem::path> record = choice.record;
  int status = 0;
  while (dir) {
    status = RunMachine(*dir, user_settings, dir, record);
    record.reset();
    if (status != 0) break;
  }
  return status;
}
