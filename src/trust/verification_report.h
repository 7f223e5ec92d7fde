#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// What the user is told when a file from the server is not the one the
// server's signed catalogue names: `what` is the component or file, as the
// flow's own messages name it.
std::string NotVerifiedReport(std::string_view what);

// The reports that say more than a flow's own failure text: a file the
// signed catalogue does not vouch for, a proxy that asks for an
// identification (407). Nothing for any other result: the flow's text holds.
std::optional<std::string> ExplainedDownloadFailure(std::int32_t downloaded, std::string_view what);

// True when `offered` is a version ("1.5", "1.4.2") later than `running`.
// Anything else, an equal or earlier version or a text that is not a
// version, is never offered.
bool IsLaterVersion(std::string_view offered, std::string_view running);
// True when `text` is digits separated by single dots.
bool IsVersion(std::string_view text);
