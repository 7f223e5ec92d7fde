#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct Services;

enum class Extraction { kDone, kFailed, kUnavailable, kCancelled };

// Extracts `archive` into `folder` (the archive's folders recreated, existing
// files replaced without a question). Shows nothing: it may run away from the
// window's thread. A failed extraction leaves in `said` what the library
// printed (possibly nothing) for the caller to show, and in `libraryResult`
// its result; an extraction that could
// not run at all (no usable library) or that the user stopped is said by the
// result alone.
Extraction ExtractArchive(const std::string& archive, const std::string& folder, Services& services,
                          std::string& said, std::int32_t* libraryResult = nullptr);

// Why a failed extraction failed, from the library's result, for a sentence
// that goes on "... n'a pas pu être décompressé : ".
std::string_view ExtractionFailureReason(std::int32_t libraryResult);
