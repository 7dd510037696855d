#include "app/SoundPlayer.h"
#include "app/SettingsFile.h"
#include "app/tests/support/FakePlatform.h"

#include <gtest/gtest.h>

namespace ambrel::testing {
namespace {

class SoundPlayerTest : public ::testing::Test {
protected:
    // Opens `soundFile` and tells what the device was asked to open.
    std::string opened(const std::string& soundFile) {
        settings.soundFile = DynamicValue(soundFile);
        device.commands.clear();
        player.openSound();
        return device.commands.at(0);
    }

    Settings settings;
    FakeSoundDevice device;
    FakeMessageBoxes messages;
    FakeSystemFiles files;
    SoundPlayer player{settings, device, messages, files};
};

TEST_F(SoundPlayerTest, TheDefaultsMissingFanfareIsTheWindowsFoldersMediaTada) {
    const std::string defaultFile(kDefaultSoundFile);
    ASSERT_NE(kDefaultSettingsBytes.find("\"" + defaultFile + "\""), std::string_view::npos);
    files.present = {"C:\\Windows\\Media\\tada.wav"};
    EXPECT_EQ(opened(defaultFile), "open:C:\\Windows\\Media\\tada.wav");
    files.windows = "D:\\";
    files.present = {"D:\\Media\\tada.wav"};
    EXPECT_EQ(opened(defaultFile), "open:D:\\Media\\tada.wav");
    EXPECT_TRUE(messages.shown.empty());
    // The settings keep the default's name.
    EXPECT_TRUE(settings.soundFile.sameAs(DynamicValue(defaultFile)));
}

TEST_F(SoundPlayerTest, AnyOtherNameOrAnExistingDefaultIsOpenedAsItIs) {
    files.present = {"C:\\Windows\\Media\\tada.wav", "c:\\WINDOWS\\TADA.WAV"};
    EXPECT_EQ(opened("c:\\WINDOWS\\TADA.WAV"), "open:c:\\WINDOWS\\TADA.WAV");
    files.present = {"C:\\Windows\\Media\\tada.wav"};
    EXPECT_EQ(opened("C:\\WINDOWS\\TADA.WAV"), "open:C:\\WINDOWS\\TADA.WAV");
    EXPECT_EQ(opened("c:\\WINDOWS\\TADA.WAV "), "open:c:\\WINDOWS\\TADA.WAV ");
    EXPECT_EQ(opened(""), "open:");
}

TEST_F(SoundPlayerTest, WhereNeitherExistsTheDeviceWarnsOfTheDefaultsName) {
    device.nextOpen = {275, "ファイルが見つかりません。"};
    EXPECT_EQ(opened(std::string(kDefaultSoundFile)), "open:c:\\WINDOWS\\TADA.WAV");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "ファイルが見つかりません。");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Warning);
}

} // namespace
} // namespace ambrel::testing
