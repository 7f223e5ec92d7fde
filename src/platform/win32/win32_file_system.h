#pragma once

#include "platform/file_system.h"

class Win32FileSystem : public FileSystem {
public:
    std::optional<std::string> FirstFile(std::string_view pattern) override;
    FileResult ListFolder(std::string_view folder, std::vector<FolderEntry>& entries) override;
    FileResult Attributes(std::string_view path, std::uint32_t& attributes) override;
    FileResult ClearAttributes(std::string_view path) override;
    FileResult RemoveFile(std::string_view path) override;
    FileResult RemoveFolder(std::string_view folder) override;
    FileResult CreateFolder(std::string_view folder) override;
    FileResult Rename(std::string_view from, std::string_view to) override;
};
