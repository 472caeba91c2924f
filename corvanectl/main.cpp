// corvanectl: Corvane's headless companion for scripts.
#include <iostream>
#include <string>
#include <vector>

#include "corvanectl/corvanectl_run.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  return corvanectl::runCorvanectl(arguments, std::cout, std::cerr,
                                   corvanectl::programEnvironment(argv[0]));
}
