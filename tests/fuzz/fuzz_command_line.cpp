// Command lines, as a second start forwards them: any bytes read as the
// forwarded UTF-16 buffer split without fault, and arguments joined with the
// quoting rules split back into exactly the same arguments.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "medialist/command_line_split.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace sorvane;
  // The forwarded buffer: UTF-16 units up to the first NUL, an odd last byte dropped.
  Text line;
  for (size_t i = 0; i + 1 < size; i += 2) {
    const char16_t unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    if (unit == 0) break;
    line += unit;
  }
  const std::vector<Text> split = SplitCommandLine(line);
  if (split.empty()) std::abort();  // argument 0 is always there

  // The same units cut into arguments at every 0x01, then joined and split.
  std::vector<Text> args(1);
  for (char16_t c : line) {
    if (c == 1) args.emplace_back();
    else args.back() += c;
  }
  Text joined = u"\"C:\\Program Files\\Sorvane\\Sorvane.exe\"";
  for (const Text& a : args) joined += u" " + QuoteCommandLineArgument(a);
  const std::vector<Text> back = SplitCommandLine(joined);
  if (back.size() != args.size() + 1) std::abort();
  for (size_t i = 0; i < args.size(); ++i)
    if (back[i + 1] != args[i]) std::abort();
  return 0;
}
