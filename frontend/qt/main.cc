// The emulator's window program: `orlan [--dir DIR | DIR]` runs the machine whose files
// are in DIR (default: the current directory when it holds them, else the folder the
// user chooses).
#include <QApplication>
#include <QDir>
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
#include "frontend/system.h"

int main(int argc, char** argv) {
  if (const std::optional<int> status = orlan::AnswerWithoutDisplay(argc, argv)) return *status;
  QApplication app(argc, argv);
  QApplication::setApplicationName("Orlan emulator");

  const orlan::FolderChoice choice =
      orlan::ChooseMachineFolder(QApplication::arguments(), orlan::AskMachineFolder);
  if (!choice.folder) return choice.status;
  const QString dir = *choice.folder;
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
  // The hidden debug window takes its number base from the settings; F3 and a run that
  // stops into the debugger show it.
  orlan::TDebugForm debug(system.machine(), system.settings().radix);
  // The names of the ROM images' addresses, when their symbol files lie beside them.
  orlan::SymbolTable symbols;
  orlan::LoadMachineSymbols(folder, symbols,
                            [&sink](const std::string& problem) { sink.Warning(problem); });
  debug.model().SetSymbols(std::move(symbols));
  system.machine().on_debug_stop = [&debug] { debug.ShowDebugWindow(); };
  QObject::connect(&form, &orlan::TMainForm::Closed, &app, &QApplication::quit);
  form.show();
  const int status = app.exec();
  system.machine().on_debug_stop = nullptr;
  return status;
}
