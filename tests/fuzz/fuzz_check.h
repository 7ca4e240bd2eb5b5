// A property check inside a fuzz target: on failure it reports and aborts, which both
// the fuzzer and the corpus replay see as a failed input.
#ifndef ORLAN_TESTS_FUZZ_FUZZ_CHECK_H_
#define ORLAN_TESTS_FUZZ_FUZZ_CHECK_H_

#include <cstdio>
#include <cstdlib>

namespace orlan::fuzz {

inline void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

}  // namespace orlan::fuzz

#endif  // ORLAN_TESTS_FUZZ_FUZZ_CHECK_H_
