#pragma once

#include <string>

#include "platform/long_action.h"
#include "platform/unzip_library.h"

// Info-ZIP's unzip32.dll (UnZip 6.0), loaded for each extraction from the
// launcher's folder and nowhere else.
class Win32UnzipLibrary : public UnzipLibrary {
public:
    // The folder of the running executable.
    Win32UnzipLibrary();
    explicit Win32UnzipLibrary(std::string folder) : folder_(std::move(folder)) {}

    // Each extraction then counts its entries there and stops when asked.
    void ReportTo(LongAction& action) { action_ = &action; }

    Result SingleEntryUnzip(const UnzipOptions& options, UnzipCallbacks& callbacks) override;
    std::string ToSystemText(std::string_view utf8) override;
    std::string FromSystemText(std::string_view ansi) override;

private:
    std::string folder_;
    LongAction* action_ = nullptr;
};
