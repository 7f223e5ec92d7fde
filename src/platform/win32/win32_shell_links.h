#pragma once

#include "platform/shell_links.h"

// Shell links written through the shell's own link object (IShellLinkW,
// saved through IPersistFile), so every field the launcher does not set is
// what the platform gives a new link.
class Win32ShellLinks : public ShellLinks {
public:
    bool Write(std::string_view linkPath, const ShellLink& link) override;
};
