// Prints what the demo drive and server generators and the test trees need
// to know of the launcher, as JSON: the component catalogue and the few
// files outside it. They read it rather than keeping copies of their own.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "components/component_catalogue.h"
#include "components/launch_table.h"
#include "components/prerequisites.h"
#include "config/build_settings.h"
#include "update/version_check.h"

namespace {

std::string Quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

template <typename Texts>
std::string List(const Texts& texts) {
    std::string out = "[";
    for (std::string_view text : texts) out += (out.size() > 1 ? ", " : "") + Quoted(text);
    return out + "]";
}

// One JSON object, member by member.
class Object {
public:
    Object& Text(std::string_view name, std::string_view value) { return Raw(name, Quoted(value)); }
    Object& Raw(std::string_view name, const std::string& json) {
        body_ += (body_.empty() ? "" : ", ") + Quoted(name) + ": " + json;
        return *this;
    }
    std::string Json() const { return "{" + body_ + "}"; }

private:
    std::string body_;
};

std::string_view FolderName(CategoryFolder folder) {
    switch (folder) {
        case CategoryFolder::Cantarel: return "Cantarel";
        case CategoryFolder::Musique: return "Musique";
        case CategoryFolder::Util: return "Util";
        case CategoryFolder::Windows: return "Windows";
    }
    return "";
}

std::string_view FamilyName(Family family) {
    switch (family) {
        case Family::kQuiz: return "quiz";
        case Family::kQuizTopic: return "quiz_topic";
        default: return "";
    }
}

std::string Launch(const LaunchDetails& launch) {
    if (launch.name.empty()) return "null";
    return Object()
        .Text("name", launch.name)
        .Text("kind", launch.kind == StartKind::kBatch ? "batch" : "shell_open")
        .Text("target", launch.target)
        .Text("fall_back", launch.fallBack)
        .Text("program", launch.program)
        .Json();
}

std::string ComponentJson(const Component& c) {
    return Object()
        .Text("id", c.id)
        .Text("folder", FolderName(c.folder))
        .Raw("archive", c.kind == InstallKind::Archive ? "true" : "false")
        .Text("server_path", ServerPath(c))
        .Text("local_file", c.localFile)
        .Text("extraction_folder", c.extractionFolder)
        .Text("installed_folder", c.installedFolder)
        .Text("other_installed_folder", c.otherInstalledFolder)
        .Text("message_name", c.messageName)
        .Text("picture", c.picture)
        .Text("family", FamilyName(c.family))
        .Raw("megabytes", std::to_string(c.megabytes))
        .Raw("questionnaires", List(c.questionnaires))
        .Raw("installers", List(c.installers))
        .Raw("launch", Launch(c.launch))
        .Json();
}

}  // namespace

int main() {
    std::vector<std::string_view> outside;
    for (const LaunchRow& row : LaunchRows()) {
        if (row.id.empty()) outside.push_back(row.target);
    }
    std::string components;
    for (const Component& c : AllComponents()) components += (components.empty() ? "\n  " : ",\n  ") + ComponentJson(c);
    const std::string json = Object()
                                 .Text("version", kRunningVersion)
                                 .Text("version_file", kVersionUrlPath)
                                 .Text("update_package", kPackageUrlPath)
                                 .Text("update_program", kNewProgram)
                                 .Text("questionnaire_folder", QuestionnaireFolder())
                                 .Raw("gate_installers", List(GateServerPaths()))
                                 .Text("registration_tool", RegistrationTool())
                                 .Raw("programs_outside", List(outside))
                                 .Raw("components", "[" + components + "\n]")
                                 .Json();
    std::printf("%s\n", json.c_str());
}
