#pragma once

#include <optional>
#include <string>
#include <string_view>

// The launcher's environment variables.
class Environment {
public:
    virtual ~Environment() = default;

    // The value of `name` (case does not matter); nothing when it is not set.
    virtual std::optional<std::string> Variable(std::string_view name) = 0;

    // `text` with every "%name%" of a set variable replaced by its value;
    // references to unset variables stay as written.
    virtual std::string Expand(std::string_view text) = 0;
};
