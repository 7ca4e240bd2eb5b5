// The atomic file writer under attack: a disk that fills at every byte, links and
// folders where files are expected.
#include "devices/atomic_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/devices/device_bench.h"

namespace orlan {
namespace {

using testing::PatternBytes;
using testing::TempDir;

#ifndef _WIN32
// However early the disk fills, the target holds either all of the old bytes or all of
// the new ones, and nothing else is left in the folder.
TEST(AtomicFile, TargetIsOldOrNewWheneverTheDiskFills) {
  const std::vector<uint8_t> old_bytes(300, 0xEE);
  const std::vector<uint8_t> new_bytes = PatternBytes(500);
  for (const bool existed : {true, false}) {
    for (rlim_t limit = 0; limit <= new_bytes.size(); limit += 25) {
      SCOPED_TRACE(::testing::Message() << limit << (existed ? " over a file" : " new"));
      TempDir dir;
      if (existed) dir.Write("target.bin", old_bytes);
      IoResult written;
      {
        testing::FileSizeLimit full(limit);
        written = WriteFileAtomically(dir / "target.bin", new_bytes);
      }
      EXPECT_EQ(written.ok(), limit == new_bytes.size()) << written.error;
      if (written.ok()) {
        EXPECT_EQ(dir.Read("target.bin"), new_bytes);
      } else {
        EXPECT_NE(written.error.find(".tmp: cannot write: "), std::string::npos) << written.error;
      }
      const std::vector<std::string> expected = written.ok() || existed
                                                    ? std::vector<std::string>{"target.bin"}
                                                    : std::vector<std::string>{};
      EXPECT_EQ(dir.Entries(), expected);
      if (!written.ok() && existed) {
        EXPECT_EQ(dir.Read("target.bin"), old_bytes);
      }
    }
  }
}

TEST(AtomicFile, NeverWritesThroughALink) {
  TempDir dir, outside;
  outside.Write("victim", std::string("keep"));
  std::filesystem::create_symlink(outside / "victim", dir / "target.bin");
  ASSERT_TRUE(WriteFileAtomically(dir / "target.bin", std::string_view("new")).ok());
  EXPECT_EQ(outside.Read("victim"), std::vector<uint8_t>({'k', 'e', 'e', 'p'}));
  EXPECT_FALSE(std::filesystem::is_symlink(dir / "target.bin"));
  EXPECT_EQ(dir.Read("target.bin"), std::vector<uint8_t>({'n', 'e', 'w'}));
}
#endif

TEST(AtomicFile, FailuresNameTheFileAtFault) {
  TempDir dir;
  std::filesystem::create_directories(dir / "folder.bin" / "inside");
  struct Case {
    std::filesystem::path target;
    std::string error_starts;  // the path at fault
    std::string what;
  };
  const Case cases[] = {
      {dir / "missing" / "a.bin", PathText(dir / "missing" / "a.bin."), "cannot create"},
      {dir / "folder.bin", PathText(dir / "folder.bin") + ": ", "cannot replace"},
  };
  for (const Case& c : cases) {
    const IoResult written = WriteFileAtomically(c.target, std::string_view("x"));
    EXPECT_EQ(written.error.rfind(c.error_starts, 0), 0u) << written.error;
    EXPECT_NE(written.error.find(c.what), std::string::npos) << written.error;
  }
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"folder.bin"});
}

}  // namespace
}  // namespace orlan
