// Show in Explorer opens the folder of a row with its file selected. The path
// goes to the explorer inside one command-line argument, so a path no Windows
// file name can take (a quote would end the argument and make the rest
// switches) is refused instead.
#pragma once

#include <optional>

#include "framework/text.h"

namespace sorvane {

// True when path can name a file: no control characters, none of " < > | ? *,
// and a ':' only right after a drive letter at the start. A leading "\\?\"
// (the long-path form) is allowed.
bool CanNameAFile(TextView path);

// The explorer's arguments that select path: /select,"path"; nullopt for a
// path that cannot name a file.
std::optional<Text> ShowInFolderArguments(TextView path);

}  // namespace sorvane
