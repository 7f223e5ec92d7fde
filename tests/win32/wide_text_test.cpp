#include "platform/win32/wide_text.h"

#include <gtest/gtest.h>

TEST(WideText, AccentedTextSurvivesTheRoundTrip) {
    for (const char* text : {"", "Solfège", "Papiers à musique", "Vidéos", "Frédéric Chopin", "E:\\Clé USB\\"}) {
        EXPECT_EQ(Narrow(Widen(text)), text);
    }
    EXPECT_EQ(Widen("è"), std::wstring(1, L'\u00e8'));
    EXPECT_EQ(Widen("Clé").size(), 3u);
}
