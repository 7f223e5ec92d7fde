#pragma once

#include <string>

#include "platform/dialogs.h"
#include "platform/event_pump.h"
#include "platform/disk_space.h"
#include "platform/downloader.h"
#include "platform/environment.h"
#include "platform/file_system.h"
#include "platform/long_action.h"
#include "platform/processes.h"
#include "platform/shell_links.h"
#include "platform/system_info.h"
#include "platform/text_file_reader.h"
#include "platform/unzip_library.h"

// The services of the platform that the handlers use, and the folder the
// launcher lives in. Each handler takes what it needs from here.
struct Services {
    std::string appFolder;
    FileSystem& files;
    EventPump& events;
    Processes& processes;
    Dialogs& dialogs;
    ShellLinks& shellLinks;
    SystemInfo& system;
    DiskSpaceQuery& disk;
    UnzipLibrary& unzip;
    Downloader& downloader;
    TextFileReader& textFiles;
    Environment& environment;
    LongAction& action;
};

// The same services, with every download going through `downloader`.
inline Services WithDownloader(const Services& s, Downloader& downloader) {
    return {.appFolder = s.appFolder,
            .files = s.files,
            .events = s.events,
            .processes = s.processes,
            .dialogs = s.dialogs,
            .shellLinks = s.shellLinks,
            .system = s.system,
            .disk = s.disk,
            .unzip = s.unzip,
            .downloader = downloader,
            .textFiles = s.textFiles,
            .environment = s.environment,
            .action = s.action};
}
