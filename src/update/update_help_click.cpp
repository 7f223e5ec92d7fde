#include "update/update_help_click.h"

#include "update/help_actions.h"
#include "update/version_check.h"

namespace {
constexpr std::string_view kUpdatePicture = "Picture_miseajour";
}  // namespace

bool IsUpdateOrHelpPicture(std::string_view picture) {
    return picture == kUpdatePicture || IsHelpOrDocumentPicture(picture);
}

void UpdateOrHelpClick(Form1& form, std::string_view picture, Services& services, MainWindow& window) {
    // The update picture keeps its image and the hover flag as they are.
    if (picture == kUpdatePicture) {
        CheckForUpdate(form, services, window);
    } else {
        HelpOrDocumentClick(form, picture, services);
    }
}
