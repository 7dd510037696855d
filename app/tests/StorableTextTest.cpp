// What the settings file can hold: the characters its code page loses, and the sound file's path
// in a form that reads back as the same file.

#include "app/StorableText.h"
#include "app/tests/support/Cp932CodePage.h"
#include "app/tests/support/FakePlatform.h"

#include <gtest/gtest.h>

namespace ambrel::testing {
namespace {

TEST(StorableText, NamesEachCharacterTheCodePageLosesOnceInOrder) {
    const Cp932CodePage cp932;
    EXPECT_EQ(charactersLost(cp932, ""), "");
    EXPECT_EQ(charactersLost(cp932, "朝会 ♪ ① ｱﾗｰﾑ, \"9時\""), "");
    EXPECT_EQ(charactersLost(cp932, "Café 𠮷 é 한글 😀 ไทย"), "é𠮷한글😀ไทย");
}

TEST(StorableText, APathTheCodePageHoldsIsStoredAsItIs) {
    const Cp932CodePage cp932;
    FakeFileNames names;
    names.shortPaths["C:\\音\\チャイム.wav"] = "C:\\9E3F~1\\C~1.WAV";
    EXPECT_EQ(storablePath("C:\\音\\チャイム.wav", cp932, names), "C:\\音\\チャイム.wav");
}

TEST(StorableText, APathItCannotHoldIsStoredInItsShortFormWhereThereIsOne) {
    const Cp932CodePage cp932;
    FakeFileNames names;
    names.shortPaths["C:\\Café 𠮷\\Señal.wav"] = "C:\\CAF_~1\\SEAL~1.WAV";
    EXPECT_EQ(storablePath("C:\\Café 𠮷\\Señal.wav", cp932, names), "C:\\CAF_~1\\SEAL~1.WAV");
    // No short form, or one that still has such a character (8.3 names switched off gives
    // back the long name): nothing can be stored.
    EXPECT_EQ(storablePath("C:\\Café\\b.wav", cp932, names), std::nullopt);
    names.shortPaths["C:\\Café\\b.wav"] = "C:\\Café\\b.wav";
    EXPECT_EQ(storablePath("C:\\Café\\b.wav", cp932, names), std::nullopt);
}

} // namespace
} // namespace ambrel::testing
