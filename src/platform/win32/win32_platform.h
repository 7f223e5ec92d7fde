#pragma once

#include <functional>
#include <string>

#include "platform/services.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_disk_space.h"
#include "platform/win32/win32_downloader.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_event_pump.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_long_action.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_shell_links.h"
#include "platform/win32/win32_system_info.h"
#include "platform/win32/win32_text_file_reader.h"
#include "platform/win32/win32_unzip_library.h"

// Owns the Win32 implementation of every service.
class Win32Platform {
public:
    // One line per service, in the order Services declares them.
    explicit Win32Platform(std::string appFolder)
        : services{
              .appFolder = std::move(appFolder),
              .files = files_,
              .events = events_,
              .processes = processes_,
              .dialogs = dialogs_,
              .shellLinks = shellLinks_,
              .system = system_,
              .disk = disk_,
              .unzip = unzip_,
              .downloader = downloader_,
              .textFiles = textFiles_,
              .environment = environment_,
              .action = action_,
          } {
        downloader_.ReportTo(action_);
        unzip_.ReportTo(action_);
    }
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    // Boxes are owned by the main window; `showChanges` mirrors the model
    // into it at every fixed point of a long action.
    // The raw HTTP transfers, for the verified downloads built over them.
    HttpTransfer& Transfers() { return downloader_; }
    // The long action under way, for the window to show and stop.
    Win32LongAction& Action() { return action_; }

    void SetMainWindow(HWND window, std::function<void()> showChanges) {
        dialogs_.SetOwner(window);
        dialogs_.SetBeforeShowing(showChanges);
        events_.SetBeforeEachPass(std::move(showChanges));
    }

private:
    Win32FileSystem files_;
    Win32EventPump events_;
    Win32Processes processes_;
    Win32Dialogs dialogs_;
    Win32ShellLinks shellLinks_;
    Win32SystemInfo system_;
    Win32DiskSpace disk_;
    Win32UnzipLibrary unzip_;
    Win32Downloader downloader_;
    Win32TextFileReader textFiles_;
    Win32Environment environment_;
    Win32LongAction action_;

public:
    Services services;
};
