#pragma once

#include <string>

#include "platform/services.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_file_system.h"

// Owns the Win32 implementation of every service.
class Win32Platform {
public:
    explicit Win32Platform(std::string appFolder) : services{std::move(appFolder), files_, dialogs_} {}
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    // Boxes are owned by the main window once it exists.
    void SetMainWindow(HWND window) { dialogs_.SetOwner(window); }

private:
    Win32FileSystem files_;
    Win32Dialogs dialogs_;

public:
    Services services;
};
