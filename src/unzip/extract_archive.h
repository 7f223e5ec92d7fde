#pragma once

#include <string>

struct Services;

enum class Extraction { kDone, kFailed, kUnavailable, kCancelled };

// Extracts `archive` into `folder` (the archive's folders recreated, existing
// files replaced without a question). Shows nothing: it may run away from the
// window's thread. A failed extraction leaves in `said` what the library
// printed (possibly nothing) for the caller to show; an extraction that could
// not run at all (no usable library) or that the user stopped is said by the
// result alone.
Extraction ExtractArchive(const std::string& archive, const std::string& folder, Services& services,
                          std::string& said);
