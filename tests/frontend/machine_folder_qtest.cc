// The machine folder when the program is started without one: the current folder when
// it holds machine files, else the remembered one, else the (injected) prompt, whose
// answer is remembered; the demo runs from the user's own copy.
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <vector>

#include "frontend/qt/command_line.h"
#include "frontend/qt/machine_folder_prompt.h"

namespace orlan {
namespace {

void Touch(const QString& path, const QByteArray& bytes = "x") {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

QByteArray Contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class MachineFolderTest : public QObject {
  Q_OBJECT

 private slots:
  void ResolvesWithoutAskingOnlyWhereFilesAre() {
    QTemporaryDir root;
    const QString empty = root.filePath("empty"), machine = root.filePath("machine");
    const QString demo = root.filePath("demo"), copy = root.filePath("copy/demo");
    for (const QString& d : {empty, machine, demo}) QVERIFY(QDir().mkpath(d));
    Touch(machine + "/rom.bin");
    Touch(demo + "/rom.bin", "demo rom");
    Touch(demo + "/orlan.ini");

    struct Case {
      const char* name;
      QString current, remembered, demo;
      FolderReply reply;
      bool asked;
      std::optional<QString> result;
      QString remembered_after;
    };
    const FolderReply quit{};
    const FolderReply pick{FolderReply::Answer::kFolder, machine};
    const FolderReply take_demo{FolderReply::Answer::kDemo, {}};
    const Case cases[] = {
        {"current folder holds files", machine, "", demo, quit, false, machine, ""},
        {"remembered folder", empty, machine, demo, quit, false, machine, machine},
        {"remembered folder emptied", empty, empty, demo, quit, true, std::nullopt, empty},
        {"user quits", empty, "", demo, quit, true, std::nullopt, ""},
        {"user picks a folder", empty, "", "", pick, true, machine, machine},
        {"user takes the demo", empty, "", demo, take_demo, true, copy, copy},
    };
    for (const Case& c : cases) {
      QSettings settings(root.filePath(QString("%1.ini").arg(c.name)), QSettings::IniFormat);
      if (!c.remembered.isEmpty()) settings.setValue(kMachineFolderKey, c.remembered);
      int asked = 0;
      bool demo_offered = false;
      const auto ask = [&](const QString& searched, bool offered) {
        ++asked;
        demo_offered = offered;
        if (searched != c.current) return FolderReply{};
        return c.reply;
      };
      const std::optional<QString> result =
          ResolveMachineFolder({c.current, c.demo, copy}, settings, ask);
      QVERIFY2(result == c.result, c.name);
      QVERIFY2(asked == (c.asked ? 1 : 0), c.name);
      QVERIFY2(!c.asked || demo_offered == !c.demo.isEmpty(), c.name);
      QVERIFY2(settings.value(kMachineFolderKey).toString() == c.remembered_after, c.name);
    }
    // The copy holds the demo's files; a second copy keeps what the user's has.
    QCOMPARE(Contents(copy + "/rom.bin"), QByteArray("demo rom"));
    Touch(copy + "/rom.bin", "patched");
    QSettings settings(root.filePath("again.ini"), QSettings::IniFormat);
    ResolveMachineFolder({empty, demo, copy}, settings,
                         [&](const QString&, bool) { return take_demo; });
    QCOMPARE(Contents(copy + "/rom.bin"), QByteArray("patched"));
  }

  void FolderOnTheCommandLineNeedsNoPrompt() {
    const auto never = [](const QString&, bool) -> FolderReply {
      qFatal("asked although a folder was given");
    };
    const struct {
      QStringList args;
      std::optional<QString> folder;
      int status;
    } cases[] = {
        {{"orlan", "--dir", "/m"}, "/m", 0},      {{"orlan", "/m"}, "/m", 0},
        {{"orlan", "/m", "/n"}, std::nullopt, 2}, {{"orlan", "--dir", "/m", "/n"}, std::nullopt, 2},
        {{"orlan", "--bogus"}, std::nullopt, 2},
    };
    for (const auto& c : cases) {
      const FolderChoice choice = ChooseMachineFolder(c.args, never);
      QVERIFY2(choice.folder == c.folder, qPrintable(c.args.join(' ')));
      QCOMPARE(choice.status, c.status);
    }
  }
};

}  // namespace orlan

QTEST_MAIN(orlan::MachineFolderTest)
#include "machine_folder_qtest.moc"
