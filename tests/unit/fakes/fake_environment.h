#pragma once

#include <algorithm>
#include <cctype>
#include <map>
#include <string>

#include "platform/environment.h"

// Variables set by the test; names compared without regard to case.
class FakeEnvironment : public Environment {
public:
    std::optional<std::string> Variable(std::string_view name) override {
        const auto found = variables.find(Upper(name));
        if (found == variables.end()) return std::nullopt;
        return found->second;
    }

    std::string Expand(std::string_view text) override {
        std::string out;
        std::size_t at = 0;
        while (at < text.size()) {
            const std::size_t open = text.find('%', at);
            const std::size_t close = open == std::string_view::npos ? open : text.find('%', open + 1);
            if (close == std::string_view::npos) break;
            out.append(text.substr(at, open - at));
            const auto found = variables.find(Upper(text.substr(open + 1, close - open - 1)));
            if (found != variables.end()) {
                out += found->second;
                at = close + 1;
            } else {
                out.append(text.substr(open, close - open));
                at = close;
            }
        }
        out.append(text.substr(std::min(at, text.size())));
        return out;
    }

    void Set(std::string_view name, std::string value) { variables[Upper(name)] = std::move(value); }

    std::map<std::string, std::string> variables;

private:
    static std::string Upper(std::string_view name) {
        std::string upper(name);
        std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
        return upper;
    }
};
