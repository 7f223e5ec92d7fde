#include "window/progress_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr double kMegabyte = 1024.0 * 1024.0;
// Below this the speed is still mostly the connection's start: no estimate.
constexpr double kSecondsBeforeEstimate = 1.0;

// One decimal, with a comma.
std::string Decimal(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    std::string result(text);
    for (char& c : result) {
        if (c == '.') c = ',';
    }
    return result;
}

// Thousands apart by a space, as French writes them.
std::string Count(std::uint64_t value) {
    std::string digits = std::to_string(value);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(static_cast<std::size_t>(at), " ");
    return digits;
}

std::string TimeLeft(double seconds) {
    const long whole = std::lround(std::ceil(seconds));
    if (whole < 60) return "encore " + std::to_string(std::max(whole, 1L)) + " s";
    const long minutes = (whole + 59) / 60;
    if (minutes < 60) return "encore " + std::to_string(minutes) + " min";
    char text[32];
    std::snprintf(text, sizeof text, "encore %ld h %02ld", minutes / 60, minutes % 60);
    return text;
}

std::string Files(std::uint64_t done, std::uint64_t total, std::string_view what) {
    std::string text = Count(done) + (total ? " sur " + Count(total) : std::string()) + (done > 1 || total > 1 ? " fichiers " : " fichier ");
    return text + std::string(what) + (done > 1 || total > 1 ? "s" : "");
}

}  // namespace

int ProgressPermille(const ProgressFigures& figures) {
    if (figures.total == 0) return 0;
    if (figures.done >= figures.total) return 1000;
    return static_cast<int>(figures.done * 1000 / figures.total);
}

std::string ProgressText(const ProgressFigures& f) {
    switch (f.phase) {
        case LongAction::Phase::kExtraction:
            return Files(f.done, f.total, "décompressé");
        case LongAction::Phase::kRemoval:
            return Files(f.done, f.total, "supprimé");
        case LongAction::Phase::kDownload:
            break;
    }
    const double speed = f.seconds > 0 ? f.done / f.seconds : 0;
    const bool estimate = f.seconds >= kSecondsBeforeEstimate && speed > 0;
    std::string text;
    if (f.total) {
        text = std::to_string(ProgressPermille(f) / 10) + " % - " + Decimal(f.done / kMegabyte) + " Mo sur " +
               Decimal(f.total / kMegabyte) + " Mo";
    } else {
        text = Decimal(f.done / kMegabyte) + " Mo reçus";
    }
    if (estimate) text += " - " + Decimal(speed / kMegabyte) + " Mo/s";
    if (estimate && f.total > f.done) text += " - " + TimeLeft((f.total - f.done) / speed);
    return text;
}
