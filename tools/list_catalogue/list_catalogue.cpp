// Prints the component catalogue as JSON, so that the demo drive and server
// generators can be checked against the launcher's own table.
#include <cstdio>
#include <string>
#include <string_view>

#include "components/component_catalogue.h"

namespace {

std::string Quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

const char* FolderName(CategoryFolder folder) {
    switch (folder) {
        case CategoryFolder::Cantarel: return "Cantarel";
        case CategoryFolder::Musique: return "Musique";
        case CategoryFolder::Util: return "Util";
        case CategoryFolder::Windows: return "Windows";
    }
    return "";
}

}  // namespace

int main() {
    std::printf("[");
    const char* separator = "";
    for (const Component& c : AllComponents()) {
        std::printf("%s\n  {\"id\": %s, \"folder\": \"%s\", \"archive\": %s, \"server_path\": %s, \"local_file\": %s, "
                    "\"extraction_folder\": %s, \"installed_folder\": %s, \"message_name\": %s}",
                    separator, Quoted(c.id).c_str(), FolderName(c.folder),
                    c.kind == InstallKind::Archive ? "true" : "false", Quoted(ServerPath(c)).c_str(),
                    Quoted(c.localFile).c_str(), Quoted(c.extractionFolder).c_str(),
                    Quoted(c.installedFolder).c_str(), Quoted(c.messageName).c_str());
        separator = ",";
    }
    std::printf("\n]\n");
}
