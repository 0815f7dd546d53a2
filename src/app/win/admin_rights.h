// Whether the process may write to the machine part of the registry; tested
// once per process by writing and deleting a value, and kept.
#pragma once

namespace sorvane::win {

bool ProcessHasAdminRights();

}  // namespace sorvane::win
