// The emulator's window program: `orlan [--dir DIR | DIR]` runs the machine whose files
// are in DIR (default: the current directory).
#include <QApplication>
#include <QDir>
#include <QStringList>
#include <filesystem>
#include <iostream>
#include <string_view>

#include "devices/local_time.h"
#include "frontend/qt/debug_form.h"
#include "frontend/qt/main_form.h"
#include "frontend/qt/qt_message_sink.h"
#include "frontend/system.h"

int main(int argc, char** argv) {
  constexpr const char* kUsage =
      "usage: orlan [--dir DIR | DIR]\n"
      "Runs the machine whose files (orlan.ini, rom.bin, romt.bin, smp0.bin, smp1.bin,\n"
      "face.bmp, keys.bmp, overlay.bmp) are in DIR, by default the current directory.\n";
  // --help needs no display, so it is answered before the application object exists;
  // the other options are read after Qt has taken its own (such as -platform).
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return 0;
    }
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName("Orlan emulator");

  const QStringList args = QApplication::arguments();
  QString dir;
  for (int i = 1; i < args.size(); ++i) {
    if (args[i] == "--dir" && i + 1 < args.size()) {
      dir = args[++i];
    } else if (!args[i].startsWith("-") && dir.isEmpty()) {
      dir = args[i];
    } else {
      std::cerr << kUsage;
      return 2;
    }
  }
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
  system.machine().on_debug_stop = [&debug] { debug.ShowDebugWindow(); };
  QObject::connect(&form, &orlan::TMainForm::Closed, &app, &QApplication::quit);
  form.show();
  const int status = app.exec();
  system.machine().on_debug_stop = nullptr;
  return status;
}
