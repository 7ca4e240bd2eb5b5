// orlan-cli: a headless monitor that drives the machine from scripts.
#include <iostream>
#include <string_view>
#include <vector>

#include "tools/cli/monitor.h"

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  return orlan::cli::RunMonitor(args, std::cin, std::cout, std::cerr);
}
