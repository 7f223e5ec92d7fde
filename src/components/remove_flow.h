#pragma once

#include <span>
#include <string_view>

#include "platform/services.h"
#include "window/form1.h"

// A click on a component's removal label: asks, deletes the component's
// files from the drive, updates the window and reports the outcome. A
// removal that could not delete everything says so and why, and the window
// shows what the drive still holds.
void RemoveComponent(Form1& form, std::string_view id, Services& services);

// The questionnaire files a quiz topic installs in "\Cantarel\Quiz\textes\"
// (empty for any other component); a removal of the topic deletes them.
std::span<const std::string_view> QuizTopicTexts(std::string_view id);
