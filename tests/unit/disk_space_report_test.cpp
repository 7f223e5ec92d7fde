#include "storage/disk_space_report.h"

#include <gtest/gtest.h>

namespace {

struct Sample {
    std::int64_t bytes;
    const char* comma;
    const char* dot;
};

// Both sides of every threshold, with the French comma and the English dot.
TEST(FormatByteSize, EveryThresholdBelongsToTheSmallerUnit) {
    const Sample samples[] = {
        {0, " 0 bytes", " 0 bytes"},
        {512, " 512 bytes", " 512 bytes"},
        {999, " 999 bytes", " 999 bytes"},
        {1000, "0,98 Ko", "0.98 Ko"},
        {1023, "1,00 Ko", "1.00 Ko"},
        {1024, "1,00 Ko", "1.00 Ko"},
        {1536, "1,50 Ko", "1.50 Ko"},
        {1022976, "999,00 Ko", "999.00 Ko"},
        {1022977, "0,98 Mo", "0.98 Mo"},
        {1047527424, "999,00 Mo", "999.00 Mo"},
        {1047527425, "0,98 Go", "0.98 Go"},
        {1072668082176, "999,00 Go", "999.00 Go"},
        {1072668082177, "0,98 To", "0.98 To"},
        {1099511627776, "1,00 To", "1.00 To"},
        {4000787030016, "3,64 To", "3.64 To"},
    };
    for (const Sample& s : samples) {
        EXPECT_EQ(FormatByteSize(s.bytes, ","), s.comma) << s.bytes;
        EXPECT_EQ(FormatByteSize(s.bytes, "."), s.dot) << s.bytes;
    }
}

TEST(FormatByteSize, HalvesRoundAwayFromZeroAndNegativesKeepTheirSign) {
    EXPECT_EQ(FormatByteSize(1152, ","), "1,13 Ko");  // 1.125 exactly
    EXPECT_EQ(FormatByteSize(1034, ","), "1,01 Ko");  // 1.009...
    EXPECT_EQ(FormatByteSize(-5, ","), "-5 bytes");
}

class FixedDisk : public DiskSpaceQuery {
public:
    std::optional<DiskSpace> space;
    std::string asked;
    std::optional<DiskSpace> SpaceOf(std::string_view folder) override {
        asked = folder;
        return space;
    }
    std::string DecimalSeparator() override { return ","; }
};

TEST(DiskSpaceReport, ThreeLinesOfTheVolumeThatHoldsTheLauncher) {
    FixedDisk disk;
    disk.space = DiskSpace{1536, 8053063680};
    EXPECT_EQ(DiskSpaceReport("E:\\", disk),
              "Espace Libre : 1,50 Ko\r\nEspace Total : 7,50 Go\r\nEspace Utilisé : 7,50 Go");
    EXPECT_EQ(disk.asked, "E:\\");
}

TEST(DiskSpaceReport, ATerabyteKeyShowsItsTotal) {
    FixedDisk disk;
    disk.space = DiskSpace{600 * 1073741824LL, 1024 * 1073741824LL};
    EXPECT_EQ(DiskSpaceReport("F:\\Cantarel", disk),
              "Espace Libre : 600,00 Go\r\nEspace Total : 1,00 To\r\nEspace Utilisé : 424,00 Go");
}

TEST(DiskSpaceReport, AFailedQueryGivesZerosNotAnError) {
    FixedDisk disk;
    EXPECT_EQ(DiskSpaceReport("Q:\\", disk),
              "Espace Libre :  0 bytes\r\nEspace Total :  0 bytes\r\nEspace Utilisé :  0 bytes");
}

}  // namespace
