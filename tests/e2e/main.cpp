// The whole-process tests take the program under test as their last argument.
#include <gtest/gtest.h>

#include "harness.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc < 2 || argv[argc - 1][0] == '-') {
    fprintf(stderr, "usage: sorvane_e2e_tests [gtest options] <path of Sorvane.exe>\n");
    return 2;
  }
  e2e::SetSorvaneExe(e2e::UnixToWindowsPath(argv[argc - 1]));
  return RUN_ALL_TESTS();
}
