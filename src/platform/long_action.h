#pragma once

#include <cstdint>
#include <functional>

// A long action's work (a download, an extraction, a removal) runs away from
// the window's thread: the window keeps painting and answering, shows how far
// the work is, and offers to stop it.
class LongAction {
public:
    enum class Phase { kDownload, kExtraction, kRemoval };

    virtual ~LongAction() = default;

    // Runs `work` to its end while the window answers. The work must not
    // touch the window; it reports through the calls below.
    virtual void Run(const std::function<void()>& work) = 0;

    // From the work, on whatever thread it runs: a new phase of `total`
    // bytes (download) or files (extraction, removal), 0 when unknown; then
    // what was done since the last call.
    virtual void Begin(Phase phase, std::uint64_t total) = 0;
    virtual void Advance(std::uint64_t amount) = 0;
    // The user asked to stop: the work stops at its next step and says so.
    virtual bool Cancelled() const = 0;
};
