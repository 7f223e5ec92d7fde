#include "unzip/code_module.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "fakes/fake_dialogs.h"
#include "fakes/fake_unzip_library.h"
#include "unzip/unzip_error.h"

namespace {

const std::string kArchive = "E:\\Clé USB\\Musique\\Solfège.zip";
const std::string kTarget = "E:\\Clé USB\\Musique\\";

// The options every caller of the launcher passes: the facade's defaults.
CodeModule::VBUnzipOptions Defaults() {
    return {.messageLevel = 2, .honorDirectories = 1, .overWriteFiles = 1, .caseSensitive = 1};
}

class CodeModuleTest : public testing::Test {
protected:
    std::int32_t Run(std::function<int(UnzipCallbacks&)> script) {
        library_.script = std::move(script);
        return CodeModule::VBUnzip(library_, dialogs_, kArchive, kTarget, Defaults());
    }
    static int Print(UnzipCallbacks& callbacks, const char* text) {
        return callbacks.Print(text, static_cast<unsigned long>(std::strlen(text)));
    }

    FakeUnzipLibrary library_;
    FakeDialogs dialogs_;
};

// --- the option record -------------------------------------------------

TEST_F(CodeModuleTest, DefaultsFillTheRecordAsTheCallersRelyOn) {
    EXPECT_EQ(Run(nullptr), 0);
    ASSERT_EQ(library_.calls.size(), 1u);
    const UnzipOptions& r = library_.calls[0];
    const std::int32_t fields[] = {r.extractOnlyNewer, r.spaceToUnderscore, r.promptToOverwrite, r.quiet,
                                   r.writeToStdOut,    r.testOnly,          r.listVerbose,       r.freshen,
                                   r.displayComment,   r.directories,       r.overwriteAll,      r.convertLineEnds,
                                   r.zipInfo,          r.caseInsensitive,   r.privilege};
    const std::int32_t expected[] = {0, 0, 0, 2, 0, 0, 0, 0, 0, 1, 1, 0, 0, 1, 0};
    EXPECT_TRUE(std::equal(std::begin(fields), std::end(fields), std::begin(expected)));
    EXPECT_EQ(r.zipFileName, kArchive);
    EXPECT_EQ(r.extractDir, kTarget);
}

TEST_F(CodeModuleTest, EachOptionReachesItsOwnField) {
    // Distinct values show a swapped pair; the call order and the record's
    // order differ for the first and eighth options.
    const CodeModule::VBUnzipOptions options{.extractNewer = 8,  .spaceToUnderScore = 2, .promptOverwrite = 3,
                                             .messageLevel = -4, .writeToStdOut = 5,     .testZip = 6,
                                             .extractList = 7,   .extractOnlyNewer = 1,  .displayComment = 9,
                                             .honorDirectories = 1, .overWriteFiles = 11, .convertCRtoCRLF = 12,
                                             .verbose = 13,      .caseSensitive = 14,    .privilege = -32768};
    const UnzipOptions r = CodeModule::OptionRecord("a.zip", "b", options);
    EXPECT_EQ(r.extractOnlyNewer, 1);
    EXPECT_EQ(r.spaceToUnderscore, 2);
    EXPECT_EQ(r.promptToOverwrite, 3);
    EXPECT_EQ(r.quiet, -4);  // widened with its sign
    EXPECT_EQ(r.writeToStdOut, 5);
    EXPECT_EQ(r.testOnly, 6);
    EXPECT_EQ(r.listVerbose, 7);
    EXPECT_EQ(r.freshen, 8);
    EXPECT_EQ(r.displayComment, 9);
    EXPECT_EQ(r.overwriteAll, 11);
    EXPECT_EQ(r.convertLineEnds, 12);
    EXPECT_EQ(r.zipInfo, 13);
    EXPECT_EQ(r.caseInsensitive, 14);
    EXPECT_EQ(r.privilege, -32768);
}

TEST_F(CodeModuleTest, FolderOptionNeverAsksTheLibraryToFollowParentFolders) {
    // The library's value 2 writes "../" entries outside the target folder.
    for (const std::int16_t value : {2, -1, 32767}) {
        CodeModule::VBUnzipOptions options = Defaults();
        options.honorDirectories = value;
        EXPECT_EQ(CodeModule::OptionRecord("a.zip", "b", options).directories, 1) << value;
    }
    CodeModule::VBUnzipOptions junk = Defaults();
    junk.honorDirectories = 0;
    EXPECT_EQ(CodeModule::OptionRecord("a.zip", "b", junk).directories, 0);
}

TEST_F(CodeModuleTest, ReturnsTheLibrarysResultUnchanged) {
    EXPECT_EQ(Run([](UnzipCallbacks&) { return 82; }), 82);
    EXPECT_EQ(Run([](UnzipCallbacks&) { return -1; }), -1);
}

// --- printed text ------------------------------------------------------

TEST_F(CodeModuleTest, PrintedTextsAreJoinedInOrderWithNothingBetween) {
    Run([](UnzipCallbacks& c) {
        Print(c, "Archive:  a.zip");
        Print(c, "\n");
        Print(c, "  inflating: x");
        return 0;
    });
    EXPECT_EQ(CodeModule::PrintedText(), "Archive:  a.zip\r\n  inflating: x");
}

TEST_F(CodeModuleTest, TextStartingWithLineFeedBecomesOneLineEnd) {
    Run([](UnzipCallbacks& c) {
        Print(c, "a");
        Print(c, "\nthe rest is dropped");
        Print(c, "b");
        return 0;
    });
    EXPECT_EQ(CodeModule::PrintedText(), "a\r\nb");
}

TEST_F(CodeModuleTest, PrintTakesBytesUpToZeroOrLengthAndEachByteIsACharacter) {
    Run([](UnzipCallbacks& c) {
        EXPECT_EQ(c.Print("abc\0def", 7), 0);
        c.Print("12345", 2);
        c.Print("Solf\xE8ge", 7);  // 0xE8 in the system's code page
        c.Print(nullptr, 4);
        return 0;
    });
    EXPECT_EQ(CodeModule::PrintedText(), "abc12Solfège");
}

TEST_F(CodeModuleTest, PrintKeepsAtMost32801BytesOfOneText) {
    const std::string longText(40000, 'x');
    Run([&](UnzipCallbacks& c) {
        c.Print(longText.c_str(), static_cast<unsigned long>(longText.size()));
        c.Print("!", 1);
        return 0;
    });
    EXPECT_EQ(CodeModule::PrintedText(), std::string(32801, 'x') + "!");
}

TEST_F(CodeModuleTest, EveryExtractionStartsWithEmptyText) {
    Run([](UnzipCallbacks& c) { return Print(c, "first"); });
    Run(nullptr);
    EXPECT_EQ(CodeModule::PrintedText(), "");
}

// --- overwrite question ------------------------------------------------

TEST_F(CodeModuleTest, OverwriteQuestionNamesTheFileAndMapsTheAnswers) {
    dialogs_.answers = {box::kAnswerYes, box::kAnswerNo, box::kAnswerCancel, 0};
    std::vector<int> replies;
    Run([&](UnzipCallbacks& c) {
        char name[260] = "E:\\Cl\xE9 USB\\Musique\\Solf\xE8ge\\lisez-moi.txt";
        for (int i = 0; i < 4; ++i) replies.push_back(c.Replace(name, sizeof name));
        return 0;
    });
    EXPECT_EQ(replies, (std::vector<int>{CodeModule::kReplaceYes, CodeModule::kReplaceNo,
                                         CodeModule::kReplaceNone, CodeModule::kReplaceNo}));
    ASSERT_EQ(dialogs_.shown.size(), 4u);
    EXPECT_EQ(dialogs_.shown[0].text, "Overwrite E:\\Clé USB\\Musique\\Solfège\\lisez-moi.txt?");
    EXPECT_EQ(dialogs_.shown[0].title, "VBUnZip32 - File Already Exists!");
    EXPECT_EQ(dialogs_.shown[0].style, box::kYesNoCancel | box::kExclamationIcon);
}

TEST_F(CodeModuleTest, OverwriteQuestionReadsAtMost256BytesOfAnUnterminatedName) {
    std::string name(300, 'n');
    Run([&](UnzipCallbacks& c) { return c.Replace(name.data(), static_cast<unsigned>(name.size())); });
    ASSERT_EQ(dialogs_.shown.size(), 1u);
    EXPECT_EQ(dialogs_.shown[0].text, "Overwrite " + std::string(256, 'n') + "?");
}

// --- password ----------------------------------------------------------

TEST_F(CodeModuleTest, PasswordIsWrittenAsSystemBytesWithZerosAfter) {
    dialogs_.inputs = {std::string("clé")};
    char buffer[81];
    std::memset(buffer, 'X', sizeof buffer);
    int reply = -1;
    Run([&](UnzipCallbacks& c) {
        reply = c.Password(buffer, sizeof buffer, "Enter password for: ", "a.txt");
        return 0;
    });
    EXPECT_EQ(reply, 0);
    EXPECT_EQ(std::string(buffer, 4), std::string("cl\xE9\0", 4));
    for (std::size_t i = 4; i < sizeof buffer; ++i) ASSERT_EQ(buffer[i], '\0') << i;
    ASSERT_EQ(dialogs_.shown.size(), 1u);
    EXPECT_EQ(dialogs_.shown[0].text, "Please Enter The Password!");
    EXPECT_EQ(dialogs_.shown[0].title, "");  // the application's title
}

TEST_F(CodeModuleTest, LongPasswordIsCutToFitWithItsZero) {
    dialogs_.inputs = {std::string(100, 'p'), std::string(300, 'q')};
    char small[10];
    std::vector<char> large(400, 'X');
    Run([&](UnzipCallbacks& c) {
        c.Password(small, sizeof small, "", "");
        c.Password(large.data(), static_cast<int>(large.size()), "", "");
        return 0;
    });
    EXPECT_EQ(std::string(small, 10), std::string(9, 'p') + '\0');
    // At most 257 bytes of the library's buffer are touched.
    EXPECT_EQ(std::string(large.data(), 257), std::string(256, 'q') + '\0');
    EXPECT_EQ(large[257], 'X');
}

TEST_F(CodeModuleTest, CancelledOrEmptyPasswordStopsTheQuestionsForThisExtraction) {
    for (const std::optional<std::string>& refusal : {std::optional<std::string>(), std::optional<std::string>("")}) {
        dialogs_.shown.clear();
        dialogs_.inputs = {refusal, std::string("never asked")};
        std::vector<int> replies;
        Run([&](UnzipCallbacks& c) {
            char buffer[81] = {};
            for (int entry = 0; entry < 3; ++entry) replies.push_back(c.Password(buffer, 81, "", "e"));
            return 82;
        });
        EXPECT_EQ(replies, (std::vector<int>{1, 1, 1}));
        EXPECT_EQ(dialogs_.shown.size(), 1u);
        // The next extraction asks again.
        dialogs_.inputs = {std::string("x")};
        Run([&](UnzipCallbacks& c) {
            char buffer[81] = {};
            EXPECT_EQ(c.Password(buffer, 81, "", "e"), 0);
            return 0;
        });
        EXPECT_EQ(dialogs_.shown.size(), 2u);
    }
}

TEST_F(CodeModuleTest, EachPasswordRequestAsksAgain) {
    dialogs_.inputs = {std::string("faux"), std::string("juste")};
    char buffer[81];
    Run([&](UnzipCallbacks& c) {
        c.Password(buffer, 81, "Enter password for: ", "a");
        c.Password(buffer, 81, "Password incorrect--reenter: ", "a");
        return 0;
    });
    EXPECT_EQ(dialogs_.shown.size(), 2u);
    EXPECT_STREQ(buffer, "juste");
}

TEST_F(CodeModuleTest, MessageAndServiceCallbacksLetTheExtractionGoOn) {
    Run([](UnzipCallbacks& c) {
        c.Message(10, 5, 50, 12, 24, 2026, 9, 30, ' ', "a.txt", "Defl:N", 0x1234, ' ');
        EXPECT_EQ(c.Service("a.txt", 10), 0);
        return 0;
    });
    EXPECT_EQ(CodeModule::PrintedText(), "");
    EXPECT_TRUE(dialogs_.shown.empty());
}

// --- the library cannot be used ----------------------------------------

TEST_F(CodeModuleTest, UnusableLibraryRaisesWithTheModulesSource) {
    struct Case {
        UnzipLibrary::Failure failure;
        const char* detail;
        int number;
        const char* description;
    };
    const Case cases[] = {
        {UnzipLibrary::Failure::NotFound, "unzip32.dll", 53, "Fichier introuvable : unzip32.dll"},
        {UnzipLibrary::Failure::EntryPointMissing, "Wiz_SingleEntryUnzip", 453,
         "Point d'entrée Wiz_SingleEntryUnzip introuvable dans unzip32.dll"},
        {UnzipLibrary::Failure::PathNotRepresentable, "E:\\Ω.zip", 52, "Nom de fichier incorrect : E:\\Ω.zip"},
        {UnzipLibrary::Failure::WrongLibrary, "5.52", 453,
         "unzip32.dll n'est pas la bibliothèque attendue (UnZip 5.52 au lieu de 6.0)"},
        {UnzipLibrary::Failure::Busy, "", 5, "Une extraction est déjà en cours"},
    };
    for (const Case& c : cases) {
        library_.failure = c.failure;
        library_.failureDetail = c.detail;
        try {
            Run(nullptr);
            ADD_FAILURE() << c.description;
        } catch (const UnzipError& error) {
            EXPECT_EQ(error.Number(), c.number);
            EXPECT_EQ(error.Description(), c.description);
            EXPECT_EQ(error.Source(), "CodeModule::VBUnzip");
        }
    }
}

}  // namespace
