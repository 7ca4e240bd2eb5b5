// Symbol files: what each line gives, what a bad one says, and that no text breaks
// the parser.
#include "debugger/symbol_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace orlan {

void PrintTo(const SymbolFileError& e, std::ostream* os) { *os << e.line << ": " << e.reason; }

namespace {

std::vector<std::string> Names(const SymbolTable& t, uint16_t address) {
  return {t.NamesAt(address).begin(), t.NamesAt(address).end()};
}

TEST(SymbolFile, LinesAndTheirFaults) {
  struct Case {
    std::string text;
    std::vector<std::pair<std::string, uint16_t>> symbols;
    std::vector<SymbolFileError> errors;
  } cases[] = {
      // What the cross-assembler writes, also with CR LF, tabs and comments.
      {"base  = 160000\nnext  = 100002\n", {{"base", 0160000}, {"next", 0100002}}, {}},
      {"a=1\r\n\r\n\t_b$9 =\t0x1F ; hex\r\n; only a comment\nc = 10.",
       {{"a", 1}, {"_b$9", 037}, {"c", 10}},
       {}},
      {"x = 177777\ny = 200000\nz = 0x10000\nw = 8\nv = 9.9",
       {{"x", 0177777}},
       {{2, "not a value from 0 to 177777: '200000'"},
        {3, "not a value from 0 to 177777: '0x10000'"},
        {4, "not a value from 0 to 177777: '8'"},
        {5, "not a value from 0 to 177777: '9.9'"}}},
      {"1x = 2\nname\nname 5\nq =\n= 4",
       {},
       {{1, "a name must begin with a letter, _ or $: '1x = 2'"},
        {2, "'=' expected after the name 'name'"},
        {3, "'=' expected after the name 'name'"},
        {4, "a value expected after 'q' ="},
        {5, "a name must begin with a letter, _ or $: '= 4'"}}},
      {"SP = 1\nr7 = 2\nr8 = 3",
       {{"r8", 3}},
       {{1, "'SP' is a register name"}, {2, "'r7' is a register name"}}},
      {"k = 1\nk = 1", {{"k", 1}}, {{2, "'k' is already defined on line 1"}}},
      // Bytes that are no text are written out, and long pieces cut short.
      {std::string("\x01\xff = 1\n"),
       {},
       {{1, "a name must begin with a letter, _ or $: '\\x01\\xFF = 1'"}}},
      {"n = " + std::string(30, '7'),
       {},
       {{1, "not a value from 0 to 177777: '777777777777777777777777...'"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const SymbolFile file = ParseSymbolText(c.text);
    EXPECT_EQ(file.errors, c.errors);
    EXPECT_EQ(file.error_count, c.errors.size());
    EXPECT_EQ(file.symbols.size(), c.symbols.size());
    for (const auto& [name, value] : c.symbols) EXPECT_EQ(file.symbols.Find(name), value) << name;
  }
}

TEST(SymbolFile, SeveralNamesShareAnAddressAndALaterFileMovesAName) {
  SymbolTable table = ParseSymbolText("vars = 4000\nlastsec = 4000\nticks = 4002").symbols;
  EXPECT_EQ(Names(table, 04000), (std::vector<std::string>{"vars", "lastsec"}));
  table.Merge(ParseSymbolText("vars = 5000\nnew = 4000").symbols);
  EXPECT_EQ(Names(table, 04000), (std::vector<std::string>{"lastsec", "new"}));
  EXPECT_EQ(Names(table, 05000), std::vector<std::string>{"vars"});
  EXPECT_EQ(table.size(), 4u);
}

TEST(SymbolFile, AnyBytesGiveDefinitionsOrErrorsWithTheirLines) {
  std::mt19937 random(13);
  const std::string pieces[] = {"a",  "Z9", "_",  "$", "r1", "sp", "=",      " ",  "\t",   ";",
                                "\n", "\r", "0x", "7", "9",  ".",  "177777", "\0", "\xff", "x"};
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    const int length = static_cast<int>(random() % 40);
    for (int i = 0; i < length; ++i) {
      text += random() % 4 == 0 ? std::string(1, static_cast<char>(random()))
                                : pieces[random() % std::size(pieces)];
    }
    const SymbolFile file = ParseSymbolText(text);
    const auto lines = std::count(text.begin(), text.end(), '\n') + 1;
    for (const SymbolFileError& e : file.errors) {
      ASSERT_GE(e.line, 1);
      ASSERT_LE(e.line, lines);
      for (char c : e.reason) ASSERT_TRUE(c >= 0x20 && c < 0x7F) << e.reason;
    }
  }
}

TEST(SymbolFile, MachineFolderFilesAndUnreadableOnes) {
  const std::vector<SymbolFileError> kUnreadable = {{0, "the file cannot be read"}};
  testing::TempDir dir;
  dir.Write("romt.sym", std::string("low = 40000\nboth = 40002\n"));
  dir.Write("rom.sym", std::string("both = 100000\nbad\n"));
  SymbolTable table;
  std::vector<std::string> reports;
  LoadMachineSymbols(dir.path(), table, [&](const std::string& r) { reports.push_back(r); });
  EXPECT_EQ(table.Find("low"), 040000);
  EXPECT_EQ(table.Find("both"), 0100000);  // the main image's file comes last
  EXPECT_EQ(reports, std::vector<std::string>{"rom.sym:2: '=' expected after the name 'bad'"});

  EXPECT_EQ(LoadSymbolFile(dir / "none.sym").errors, kUnreadable);
  EXPECT_EQ(LoadSymbolFile(dir.path()).errors, kUnreadable);
  std::string bad_lines;
  for (int i = 0; i < 150; ++i) bad_lines += "!\n";
  const SymbolFile many = ParseSymbolText(bad_lines);
  EXPECT_EQ(many.errors.size(), kMaxSymbolFileErrors);
  EXPECT_EQ(many.error_count, 150u);
  const std::string text = SymbolErrorText("f", many);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 5);
  EXPECT_TRUE(text.ends_with("\n(and 145 more)")) << text;
}

}  // namespace
}  // namespace orlan
