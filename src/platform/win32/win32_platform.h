#pragma once

#include <string>

#include "platform/services.h"
#include "platform/win32/win32_file_system.h"

// Owns the Win32 implementation of every service.
class Win32Platform {
public:
    explicit Win32Platform(std::string appFolder) : services{std::move(appFolder), files_} {}
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

private:
    Win32FileSystem files_;

public:
    Services services;
};
