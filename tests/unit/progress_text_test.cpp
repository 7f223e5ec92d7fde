#include "window/progress_text.h"

#include <gtest/gtest.h>

namespace {

using Phase = LongAction::Phase;
constexpr std::uint64_t kMo = 1024 * 1024;

TEST(ProgressText, ADownloadOfKnownSizeGivesShareSizesSpeedAndTimeLeft) {
    const ProgressFigures figures{Phase::kDownload, 13 * kMo, 310 * kMo, 10};
    EXPECT_EQ(ProgressText(figures), "4 % - 13,0 Mo sur 310,0 Mo - 1,3 Mo/s - encore 4 min");
    EXPECT_EQ(ProgressPermille(figures), 41);
    EXPECT_EQ(ProgressText({Phase::kDownload, kMo / 2, kMo, 5}), "50 % - 0,5 Mo sur 1,0 Mo - 0,1 Mo/s - encore 5 s");
    EXPECT_EQ(ProgressText({Phase::kDownload, 1 * kMo, 3600 * kMo, 1}),
              "0 % - 1,0 Mo sur 3600,0 Mo - 1,0 Mo/s - encore 1 h 00");
    EXPECT_EQ(ProgressText({Phase::kDownload, 310 * kMo, 310 * kMo, 20}), "100 % - 310,0 Mo sur 310,0 Mo - 15,5 Mo/s");
}

TEST(ProgressText, NoEstimateBeforeTheFirstSecondNorWithoutAnyByte) {
    EXPECT_EQ(ProgressText({Phase::kDownload, 2 * kMo, 310 * kMo, 0.4}), "0 % - 2,0 Mo sur 310,0 Mo");
    EXPECT_EQ(ProgressText({Phase::kDownload, 0, 310 * kMo, 30}), "0 % - 0,0 Mo sur 310,0 Mo");
}

TEST(ProgressText, AnUnknownLengthShowsWhatArrived) {
    const ProgressFigures figures{Phase::kDownload, 5 * kMo + 3 * kMo / 10, 0, 2};
    EXPECT_EQ(ProgressText(figures), "5,3 Mo reçus - 2,6 Mo/s");
    EXPECT_EQ(ProgressPermille(figures), 0);
}

TEST(ProgressText, ExtractionAndRemovalCountFiles) {
    EXPECT_EQ(ProgressText({Phase::kExtraction, 1, 0, 1}), "1 fichier décompressé");
    EXPECT_EQ(ProgressText({Phase::kExtraction, 12345, 0, 1}), "12 345 fichiers décompressés");
    EXPECT_EQ(ProgressText({Phase::kRemoval, 4000, 0, 3}), "4 000 fichiers supprimés");
    EXPECT_EQ(ProgressText({Phase::kRemoval, 30, 4000, 3}), "30 sur 4 000 fichiers supprimés");
}

}  // namespace

#include "window/bounded_text.h"

namespace {

TEST(BoundedText, LongTextsFromOutsideAreCutOnAWholeLetter) {
    EXPECT_EQ(BoundedText("court"), "court");
    EXPECT_EQ(BoundedText(std::string(300, 'a')), std::string(300, 'a'));
    EXPECT_EQ(BoundedText(std::string(299, 'a') + "é" + "fin"), std::string(299, 'a') + "…");
    EXPECT_EQ(BoundedText(std::string(5000, 'x')).size(), 300u + std::string("…").size());
}

}  // namespace
