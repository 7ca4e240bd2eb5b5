// Claims the machine folder named by its argument, writes "!" once it holds it, and
// waits until it is killed (or its input ends: the test that started it is gone).
#include <cstdio>

#include "devices/folder_lock.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  orlan::FolderLock lock;
  if (!lock.Acquire(argv[1]).ok() || !lock.held()) return 1;
  if (std::fputs("!", stdout) < 0 || std::fflush(stdout) != 0) return 1;
  while (std::getchar() != EOF) {
  }
  return 0;
}
