#pragma once

#include <string>

#include "platform/dialogs.h"
#include "platform/file_system.h"

// The services of the platform that the handlers use, and the folder the
// launcher lives in. Each handler takes what it needs from here.
struct Services {
    std::string appFolder;
    FileSystem& files;
    Dialogs& dialogs;
};
