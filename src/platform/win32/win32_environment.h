#pragma once

#include "platform/environment.h"

// GetEnvironmentVariableW and ExpandEnvironmentStringsW.
class Win32Environment : public Environment {
public:
    std::optional<std::string> Variable(std::string_view name) override;
    std::string Expand(std::string_view text) override;
};
