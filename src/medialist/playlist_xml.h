// The little XML the playlist formats need: a single forward scan, no
// recursion and no buffering beyond the values it returns, so a hostile or
// truncated file costs time in proportion to its size and nothing more.
#pragma once

#include <vector>

#include "framework/text.h"

namespace sorvane {

// "&amp;", "&lt;", "&gt;", "&quot;", "&apos;", "&#NNN;" and "&#xHH;" decoded;
// anything else (an unknown or broken reference) is kept as written.
Text DecodeXmlText(TextView text);

// The src attribute of every complete <media> element, decoded, in file order.
std::vector<Text> ScanWplSources(TextView xml);

// The text of every complete <location> element inside a <track>, decoded, in
// file order (a <location> of the playlist itself is not a track).
std::vector<Text> ScanXspfLocations(TextView xml);

}  // namespace sorvane
