#pragma once

#include "platform/file_system.h"

class Win32FileSystem : public FileSystem {
public:
    std::optional<std::string> FirstFile(std::string_view pattern) override;
};
