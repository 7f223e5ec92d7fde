#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/dialogs.h"

// Records every box shown and answers from a script (OK, or Yes to a
// question, when the script is empty).
class FakeDialogs : public Dialogs {
public:
    struct Shown {
        std::string text;
        std::string title;
        unsigned style;
    };

    int Message(std::string_view text, std::string_view title, unsigned style) override {
        shown.push_back({std::string(text), std::string(title), style});
        if (!answers.empty()) {
            const int answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return (style & 0xF) == box::kOk ? box::kAnswerOk : box::kAnswerYes;
    }

    std::optional<std::string> Input(std::string_view prompt, std::string_view title) override {
        shown.push_back({std::string(prompt), std::string(title), 0});
        if (inputs.empty()) return std::nullopt;
        std::optional<std::string> input = inputs.front();
        inputs.pop_front();
        return input;
    }

    std::vector<Shown> shown;
    std::deque<int> answers;
    std::deque<std::optional<std::string>> inputs;
};
