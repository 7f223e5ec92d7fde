#include "drive/app_folder.h"

#include <gtest/gtest.h>

TEST(AppFolder, IsTheExecutablesFolderWithoutTrailingBackslashExceptAtARoot) {
    EXPECT_EQ(AppFolderOf("E:\\Clé USB\\Cantarel Portable\\CantarelLauncher.exe"), "E:\\Clé USB\\Cantarel Portable");
    EXPECT_EQ(AppFolderOf("E:\\CantarelLauncher.exe"), "E:\\");
    EXPECT_EQ(AppFolderOf("\\\\serveur\\partage\\CantarelLauncher.exe"), "\\\\serveur\\partage");
}
