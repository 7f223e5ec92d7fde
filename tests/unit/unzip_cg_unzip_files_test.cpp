#include "unzip/cg_unzip_files.h"

#include <gtest/gtest.h>

#include <cstring>

#include "fakes/fake_platform.h"
#include "unzip/unzip_error.h"

namespace {

class CGUnzipFilesTest : public testing::Test {
protected:
    FakePlatform platform_;
};

TEST_F(CGUnzipFilesTest, NewObjectAnswersItsDefaults) {
    const CGUnzipFiles unzip(platform_.services);
    EXPECT_FALSE(unzip.ExtractNewer());
    EXPECT_FALSE(unzip.SpaceToUnderScore());
    EXPECT_FALSE(unzip.PromptOverwrite());
    EXPECT_EQ(unzip.MessageLevel(), 2);
    EXPECT_FALSE(unzip.WriteToStdOut());
    EXPECT_FALSE(unzip.TestZip());
    EXPECT_EQ(unzip.ExtractList(), 0);
    EXPECT_FALSE(unzip.ExtractOnlyNewer());
    EXPECT_FALSE(unzip.DisplayComment());
    EXPECT_TRUE(unzip.HonorDirectories());
    EXPECT_TRUE(unzip.OverWriteFiles());
    EXPECT_FALSE(unzip.ConvertCRtoCRLF());
    EXPECT_FALSE(unzip.Verbose());
    EXPECT_TRUE(unzip.CaseSensitive());
    EXPECT_EQ(unzip.Privilege(), 0);
    EXPECT_EQ(unzip.ZipFileName(), "");
    EXPECT_EQ(unzip.ExtractDir(), "");
}

TEST_F(CGUnzipFilesTest, InstallFlowsUseTakesThePropertiesToTheLibrary) {
    CGUnzipFiles unzip(platform_.services);
    unzip.SetZipFileName("E:\\Musique\\Solfège.zip");
    unzip.SetExtractDir("E:\\Musique\\");
    unzip.SetHonorDirectories(true);
    EXPECT_EQ(unzip.Unzip("", ""), 0);
    ASSERT_EQ(platform_.unzip.calls.size(), 1u);
    const UnzipOptions& r = platform_.unzip.calls[0];
    EXPECT_EQ(r.zipFileName, "E:\\Musique\\Solfège.zip");
    EXPECT_EQ(r.extractDir, "E:\\Musique\\");
    EXPECT_EQ(r.quiet, 2);
    EXPECT_EQ(r.directories, 1);
    EXPECT_EQ(r.overwriteAll, 1);
    EXPECT_EQ(r.caseInsensitive, 1);
    EXPECT_EQ(r.promptToOverwrite, 0);
}

TEST_F(CGUnzipFilesTest, BooleansReachTheLibraryAsOneOrZero) {
    CGUnzipFiles unzip(platform_.services);
    unzip.SetExtractNewer(true);
    unzip.SetSpaceToUnderScore(true);
    unzip.SetPromptOverwrite(true);
    unzip.SetWriteToStdOut(true);
    unzip.SetTestZip(true);
    unzip.SetExtractOnlyNewer(true);
    unzip.SetDisplayComment(true);
    unzip.SetOverWriteFiles(false);
    unzip.SetConvertCRtoCRLF(true);
    unzip.SetVerbose(true);
    unzip.SetCaseSensitive(false);
    unzip.SetHonorDirectories(false);
    unzip.Unzip("a.zip", "dir");
    const UnzipOptions& r = platform_.unzip.calls.at(0);
    EXPECT_EQ(r.freshen, 1);
    EXPECT_EQ(r.spaceToUnderscore, 1);
    EXPECT_EQ(r.promptToOverwrite, 1);
    EXPECT_EQ(r.writeToStdOut, 1);
    EXPECT_EQ(r.testOnly, 1);
    EXPECT_EQ(r.extractOnlyNewer, 1);
    EXPECT_EQ(r.displayComment, 1);
    EXPECT_EQ(r.overwriteAll, 0);
    EXPECT_EQ(r.convertLineEnds, 1);
    EXPECT_EQ(r.zipInfo, 1);
    EXPECT_EQ(r.caseInsensitive, 0);
    EXPECT_EQ(r.directories, 0);
    EXPECT_TRUE(unzip.ExtractNewer());
    EXPECT_FALSE(unzip.OverWriteFiles());
}

TEST_F(CGUnzipFilesTest, NonEmptyArgumentsReplaceThePropertiesAndStay) {
    CGUnzipFiles unzip(platform_.services);
    unzip.SetZipFileName("E:\\ancien.zip");
    unzip.SetExtractDir("E:\\Ancien");
    unzip.Unzip("E:\\Cantarel\\nouveau.zip", "");
    EXPECT_EQ(unzip.ZipFileName(), "E:\\Cantarel\\nouveau.zip");
    EXPECT_EQ(unzip.ExtractDir(), "E:\\Ancien");
    unzip.Unzip("", "E:\\Cantarel");
    EXPECT_EQ(unzip.ExtractDir(), "E:\\Cantarel");
    ASSERT_EQ(platform_.unzip.calls.size(), 2u);
    EXPECT_EQ(platform_.unzip.calls[0].zipFileName, "E:\\Cantarel\\nouveau.zip");
    EXPECT_EQ(platform_.unzip.calls[0].extractDir, "E:\\Ancien");
    EXPECT_EQ(platform_.unzip.calls[1].extractDir, "E:\\Cantarel");
}

TEST_F(CGUnzipFilesTest, LibraryFailureIsReturnedWithItsTextNotRaised) {
    platform_.unzip.script = [](UnzipCallbacks& c) {
        const char text[] = "  End-of-central-directory signature not found.";
        c.Print(text, sizeof text - 1);
        c.Print("\n", 1);
        return 9;
    };
    CGUnzipFiles unzip(platform_.services);
    EXPECT_EQ(unzip.Unzip("a.zip", "d"), 9);
    EXPECT_EQ(unzip.GetLastMessage(), "  End-of-central-directory signature not found.\r\n");
}

TEST_F(CGUnzipFilesTest, LastMessageBelongsToTheProcessNotTheObject) {
    platform_.unzip.script = [](UnzipCallbacks& c) { return c.Print("imprimé", 8), 0; };
    {
        CGUnzipFiles first(platform_.services);
        first.Unzip("a.zip", "d");
    }
    const CGUnzipFiles fresh(platform_.services);
    EXPECT_EQ(fresh.GetLastMessage(), "imprimÃ©");  // UTF-8 bytes seen as system bytes
    platform_.unzip.script = nullptr;
    CGUnzipFiles(platform_.services).Unzip("b.zip", "d");
    EXPECT_EQ(fresh.GetLastMessage(), "");
}

TEST_F(CGUnzipFilesTest, OutOfRangeIntegersRaiseOverflowWithoutCallingTheLibrary) {
    using Setter = void (CGUnzipFiles::*)(std::int32_t);
    for (const Setter set : {&CGUnzipFiles::SetMessageLevel, &CGUnzipFiles::SetExtractList,
                             &CGUnzipFiles::SetPrivilege}) {
        for (const std::int32_t value : {32768, -32769}) {
            CGUnzipFiles unzip(platform_.services);
            (unzip.*set)(value);
            try {
                unzip.Unzip("a.zip", "d");
                ADD_FAILURE() << value;
            } catch (const UnzipError& error) {
                EXPECT_EQ(error.Number(), unzip_error::kOverflow);
                EXPECT_EQ(error.Description(), "Dépassement de capacité");
                EXPECT_EQ(error.Source(), "CGUnZipFiles::Unzip");
            }
        }
    }
    EXPECT_TRUE(platform_.unzip.calls.empty());

    CGUnzipFiles edge(platform_.services);
    edge.SetMessageLevel(-32768);
    edge.SetPrivilege(32767);
    edge.Unzip("a.zip", "d");
    EXPECT_EQ(platform_.unzip.calls.at(0).quiet, -32768);
    EXPECT_EQ(platform_.unzip.calls.at(0).privilege, 32767);
}

TEST_F(CGUnzipFilesTest, MissingLibraryIsRaisedAgainUnderTheFacadesSource) {
    platform_.unzip.failure = UnzipLibrary::Failure::NotFound;
    platform_.unzip.failureDetail = "unzip32.dll";
    CGUnzipFiles unzip(platform_.services);
    try {
        unzip.Unzip("a.zip", "d");
        ADD_FAILURE();
    } catch (const UnzipError& error) {
        EXPECT_EQ(error.Number(), unzip_error::kFileNotFound);
        EXPECT_EQ(error.Description(), "Fichier introuvable : unzip32.dll");
        EXPECT_EQ(error.Source(), "CGUnZipFiles::Unzip");
    }
}

TEST_F(CGUnzipFilesTest, PasswordAndOverwriteQuestionsUseTheServicesBoxes) {
    platform_.dialogs.answers = {box::kAnswerNo};
    platform_.dialogs.inputs = {std::string("secret")};
    platform_.unzip.script = [](UnzipCallbacks& c) {
        char name[] = "E:\\d\\a.txt";
        char password[81];
        return c.Replace(name, sizeof name) + c.Password(password, 81, "", "a.txt");
    };
    CGUnzipFiles unzip(platform_.services);
    unzip.SetPromptOverwrite(true);
    EXPECT_EQ(unzip.Unzip("a.zip", "d"), 100);
    ASSERT_EQ(platform_.dialogs.shown.size(), 2u);
    EXPECT_EQ(platform_.dialogs.shown[0].title, "VBUnZip32 - File Already Exists!");
    EXPECT_EQ(platform_.dialogs.shown[1].text, "Please Enter The Password!");
}

}  // namespace
