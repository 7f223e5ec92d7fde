// Prints, as JSON, every image the window shows, with its size and what it
// stands for, so that the design script draws exactly the set the layout uses.
#include <cstdio>
#include <string>
#include <string_view>

#include "window/window_layout.h"

namespace {

std::string Quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

bool first = true;

void Print(std::string_view name, Size size, std::string_view role, std::string_view look,
           std::string_view title, std::string_view group) {
    std::printf("%s\n  {\"name\": %s, \"width\": %d, \"height\": %d, \"role\": %s, \"look\": %s, \"title\": %s, "
                "\"group\": %s}",
                first ? "" : ",", Quoted(name).c_str(), size.width, size.height, Quoted(role).c_str(),
                Quoted(look).c_str(), Quoted(title).c_str(), Quoted(group).c_str());
    first = false;
}

// "Picture_lecture_grand" -> "lecture"
std::string_view PanelKey(std::string_view panel) {
    panel.remove_prefix(std::string_view("Picture_").size());
    panel.remove_suffix(std::string_view("_grand").size());
    return panel;
}

}  // namespace

int main() {
    const Form1 form = BuildDesignForm1();
    std::printf("[");
    Print(kBackgroundImage, {970, 550}, "background", "normal", "", "");
    for (const Control& control : form.Controls()) {
        const Size size{control.rect.width, control.rect.height};
        if (control.kind == ControlKind::MenuButton) {
            const bool quit = control.name == kQuitButton;
            std::string key = control.image.substr(0, control.image.rfind('_'));
            for (std::string_view look : {"light", "hover", "dark"}) {
                if (quit && look == "dark") continue;
                const std::string suffix = look == "light" ? "_clair" : look == "hover" ? "_move" : "_fonce";
                Print(key + suffix, size, quit ? "quit" : "category", look, "",
                      std::string_view(key).substr(std::string_view("Picture_").size()));
            }
        } else if (control.kind == ControlKind::ProgramPicture) {
            const std::string_view group = PanelKey(form.At(control.parent).name);
            Print(NormalImageOf(control.name), size, "program", "normal", control.tooltip, group);
            Print(HighlightImageOf(control.name), size, "program", "highlight", control.tooltip, group);
        } else if (control.kind == ControlKind::Decoration && control.name == "Image2") {
            Print(control.image, size, "decoration", "normal", "", "");
        }
    }
    std::printf("\n]\n");
}
