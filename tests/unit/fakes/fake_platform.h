#pragma once

#include <string>

#include "fakes/fake_dialogs.h"
#include "fakes/fake_disk_space.h"
#include "fakes/fake_downloader.h"
#include "fakes/fake_environment.h"
#include "fakes/fake_event_pump.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_long_action.h"
#include "fakes/fake_processes.h"
#include "fakes/fake_shell_links.h"
#include "fakes/fake_system_info.h"
#include "fakes/fake_text_file_reader.h"
#include "fakes/fake_unzip_library.h"
#include "platform/services.h"

// Every service faked, handed out as Services; tests set up and inspect the
// fakes directly. One line per service, in the order Services declares them.
struct FakePlatform {
    explicit FakePlatform(std::string appFolder = "E:\\Clé USB\\Cantarel")
        : services{
              .appFolder = std::move(appFolder),
              .files = files,
              .events = events,
              .processes = processes,
              .dialogs = dialogs,
              .shellLinks = shellLinks,
              .system = system,
              .disk = disk,
              .unzip = unzip,
              .downloader = downloader,
              .textFiles = textFiles,
              .environment = environment,
              .action = action,
          } {}
    FakePlatform(const FakePlatform&) = delete;

    FakeFileSystem files;
    FakeEventPump events;
    FakeProcesses processes;
    FakeDialogs dialogs;
    FakeShellLinks shellLinks;
    FakeSystemInfo system;
    FakeDiskSpace disk;
    FakeUnzipLibrary unzip;
    FakeDownloader downloader;
    FakeTextFileReader textFiles;
    FakeEnvironment environment;
    FakeLongAction action;
    Services services;
};
