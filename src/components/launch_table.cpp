#include "components/launch_table.h"

#include <algorithm>
#include <vector>

namespace {

// The PDF reader the drive always carries: nothing to install or remove.
constexpr LaunchRow kSumatra{
    "", "Picture_sumatra_pdf", "Sumatra PDF", StartKind::kShellOpen, "Util\\sumatrapdf\\SumatraPDF.exe", "", "", {}};

std::vector<LaunchRow> BuildRows() {
    std::vector<LaunchRow> rows;
    for (const Component& c : AllComponents()) {
        const LaunchDetails& launch = c.launch;
        if (launch.name.empty()) continue;
        rows.push_back({c.id, c.picture, launch.name, launch.kind, launch.target, launch.probe, launch.fallBack,
                        launch.gates});
    }
    rows.push_back(kSumatra);
    return rows;
}

}  // namespace

std::span<const LaunchRow> LaunchRows() {
    static const std::vector<LaunchRow> rows = BuildRows();
    return rows;
}

const LaunchRow* FindLaunchRow(std::string_view picture) {
    for (const LaunchRow& row : LaunchRows()) {
        if (row.picture == picture) return &row;
    }
    return nullptr;
}

bool MayTakeLong(const LaunchRow& row) {
    // The installer gates may download; the others only ask and start.
    return std::any_of(row.gates.begin(), row.gates.end(), [](Gate gate) {
        return gate == Gate::kDotNet4 || gate == Gate::kDotNet35 || gate == Gate::kSqlCompact35;
    });
}
