// Imports a folder of many short WAV files through the real program: a second
// start forwards the folder to a running copy, a new list is chosen, every file
// is probed. Measures the import rate and how long the main window took to
// answer a ping while the scan ran; checks that every file arrived in order.
#pragma once

namespace e2e {

struct ImportFigures {
  int files = 0, rows = 0;
  bool inOrder = false, busySeen = false, ok = false;
  double seconds = 0, rate = 0;                               // to the last row; files per second
  double medianPing = 0, worstPing = 0, worstWhileAdding = 0;  // ms
  int slowPings = 0;                                          // over 250 ms
};

// The program is the one SetSorvaneExe named; verbose prints every figure.
ImportFigures MeasureImport(int files, bool verbose);

}  // namespace e2e
