#include "frontend/qt/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "frontend/machine_folder.h"
#include "frontend/qt/user_settings.h"

namespace orlan {
namespace {

constexpr char kDescription[] =
    "Runs the machine whose files (orlan.ini, rom.bin, romt.bin, smp0.bin, smp1.bin,\n"
    "face.bmp, keys.bmp, overlay.bmp) are in DIR. Without DIR: the current folder when\n"
    "it holds any of them, else the folder chosen last time, else the user is asked.\n"
    "The debugger names addresses from rom.sym and romt.sym there, when present.";

struct Options {
  QCommandLineOption help;
  QCommandLineOption version;
  QCommandLineOption dir;
  QCommandLineOption record;
};

// Gives the parser the program's options.
Options Define(QCommandLineParser& parser) {
  parser.setApplicationDescription(QString::fromLatin1(kDescription));
  Options options{
      parser.addHelpOption(), parser.addVersionOption(),
      QCommandLineOption(QStringLiteral("dir"), QStringLiteral("The machine's folder."),
                         QStringLiteral("DIR")),
      QCommandLineOption(QStringLiteral("record"),
                         QStringLiteral("Record the session into FILE, for orlan-cli's replay."),
                         QStringLiteral("FILE"))};
  parser.addOption(options.dir);
  parser.addOption(options.record);
  parser.addPositionalArgument(QStringLiteral("DIR"), QStringLiteral("The machine's folder."),
                               QStringLiteral("[DIR]"));
  return options;
}

}  // namespace

std::optional<int> AnswerWithoutDisplay(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  QCoreApplication::setApplicationVersion(QStringLiteral(ORLAN_VERSION));
  {
    // A core application object has no display; it gives the parser the program name.
    QCoreApplication core(argc, argv);
    QCommandLineParser parser;
    const Options options = Define(parser);
    // Options of the toolkit (such as -platform) are not known yet: not an error here.
    parser.parse(QCoreApplication::arguments());
    if (parser.isSet(options.help)) {
      std::fputs(parser.helpText().toLocal8Bit().constData(), stdout);
      return 0;
    }
    if (parser.isSet(options.version)) {
      std::printf("orlan %s\n", QCoreApplication::applicationVersion().toLocal8Bit().constData());
      return 0;
    }
  }
  if (const auto reason =
          NoDisplayReason([](const char* name) { return std::getenv(name); }, args)) {
    std::fprintf(stderr, "orlan: %s\n", reason->c_str());
    return 1;
  }
  return std::nullopt;
}

FolderChoice ChooseMachineFolder(const QStringList& arguments, const FolderPrompt& ask) {
  QCommandLineParser parser;
  const Options options = Define(parser);
  const auto usage_error = [&parser](const QString& message) {
    std::fprintf(stderr, "orlan: %s\n%s", message.toLocal8Bit().constData(),
                 parser.helpText().toLocal8Bit().constData());
    return FolderChoice{std::nullopt, 2, std::nullopt};
  };
  if (!parser.parse(arguments)) return usage_error(parser.errorText());
  const QStringList positional = parser.positionalArguments();
  if (positional.size() > 1 || (parser.isSet(options.dir) && !positional.isEmpty())) {
    return usage_error(QStringLiteral("one machine folder at most"));
  }
  std::optional<std::filesystem::path> record;
  if (parser.isSet(options.record)) {
    const std::filesystem::path named(parser.value(options.record).toStdWString());
    std::error_code ec;
    record = std::filesystem::absolute(named, ec);
    if (ec) record = named;
  }
  if (parser.isSet(options.dir)) return {parser.value(options.dir), 0, record};
  if (!positional.isEmpty()) return {positional.front(), 0, record};

  FolderContext context;
  context.current = QDir::currentPath();
  if (const auto demo = FindBundledDemo(
          std::filesystem::path(QCoreApplication::applicationDirPath().toStdWString()))) {
    context.demo = QString::fromStdWString(demo->wstring());
  }
  context.demo_copy =
      QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/orlan/demo";
  QSettings settings{QLatin1String(kUserSettingsName), QLatin1String(kUserSettingsName)};
  return {ResolveMachineFolder(context, settings, ask), 0, record};
}

}  // namespace orlan
