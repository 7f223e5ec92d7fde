#pragma once

#include <string>
#include <string_view>

struct Services;

enum class Extraction { kDone, kFailed, kUnavailable };

// Extracts `archive` into `folder` (the archive's folders recreated, existing
// files replaced without a question). A failed extraction is reported with
// what the library said, or `whenSilent` when it said nothing; an extraction
// that could not run at all (no usable library) is left to the caller to
// report.
Extraction ExtractArchive(const std::string& archive, const std::string& folder, Services& services,
                          std::string_view whenSilent);
