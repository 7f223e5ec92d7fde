#include "platform/win32/system_function.h"

#include <shellapi.h>

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "platform/win32/wide_text.h"

namespace {

std::wstring FolderOfThisProgram() {
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path.substr(0, path.find_last_of(L'\\'));
}

TEST(SystemFunction, FindsTheSystemsOwnFunctionAndNothingElse) {
    const auto shellExecute = SystemFunction<decltype(ShellExecuteExW)>(L"shell32.dll", "ShellExecuteExW");
    ASSERT_NE(shellExecute, nullptr);
    EXPECT_EQ(reinterpret_cast<void*>(shellExecute),
              reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"shell32.dll"), "ShellExecuteExW")));
    EXPECT_EQ(FindSystemFunction(L"shell32.dll", "PasDeTelleFonction"), nullptr);
    EXPECT_EQ(FindSystemFunction(L"pas_de_bibliotheque_ici.dll", "ShellExecuteExW"), nullptr);
    EXPECT_NE(FindSystemOrSideBySideFunction(L"gdiplus.dll", "GdiplusStartup"), nullptr);
    EXPECT_EQ(FindSystemOrSideBySideFunction(L"pas_de_bibliotheque_ici.dll", "GdiplusStartup"), nullptr);
}

// A DLL beside the program, as one could be put beside the launcher on a
// key, is never taken for a system one.
TEST(SystemFunction, IgnoresADllPlantedBesideTheProgram) {
    const char* built = std::getenv("CANTAREL_UNZIP32_DLL");
    ASSERT_NE(built, nullptr) << "CANTAREL_UNZIP32_DLL names the built unzip32.dll";
    const std::wstring planted = FolderOfThisProgram() + L"\\cantarel_planted_test.dll";
    ASSERT_TRUE(CopyFileW(Widen(built).c_str(), planted.c_str(), FALSE));
    EXPECT_EQ(FindSystemFunction(L"cantarel_planted_test.dll", "Wiz_SingleEntryUnzip"), nullptr);
    EXPECT_EQ(GetModuleHandleW(L"cantarel_planted_test.dll"), nullptr);
    DeleteFileW(planted.c_str());
}

}  // namespace
