#pragma once

#include <optional>
#include <string>
#include <string_view>

// Message-box styles and answers, numbered as the platform numbers them.
namespace box {
constexpr unsigned kOk = 0;                  // a report: OK, no icon
constexpr unsigned kYesNoCancel = 3;
constexpr unsigned kYesNo = 4;
constexpr unsigned kQuestionIcon = 32;
constexpr unsigned kExclamationIcon = 48;
constexpr unsigned kQuestion = kYesNo | kQuestionIcon;        // 36
constexpr unsigned kWarning = kYesNo | kExclamationIcon;      // 52

constexpr int kAnswerOk = 1;
constexpr int kAnswerCancel = 2;
constexpr int kAnswerYes = 6;
constexpr int kAnswerNo = 7;
}  // namespace box

// The modal boxes the launcher shows, owned by its main window.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // Shows `text` and returns the answer; an empty title shows the
    // application's title "Cantarel Portable".
    virtual int Message(std::string_view text, std::string_view title, unsigned style) = 0;

    // Asks for one line of text; nothing when the user cancels.
    virtual std::optional<std::string> Input(std::string_view prompt, std::string_view title) = 0;
};
