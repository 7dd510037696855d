// The dialog stores nothing that the settings file would read back as something else: a sound
// file's path goes in its short form, a path or a message the file cannot hold is refused by name.

#include "options/tests/OptionsFixture.h"

#include "app/Messages.h"
#include "app/SettingsFile.h"
#include "app/StorableText.h"

#include <string>
#include <vector>

namespace ambrel {
namespace {

using testing::FakeOptionsView;
using testing::OptionsFixture;

const std::string kLongPath = "C:\\Café 𠮷\\Señal.wav";
const std::string kShortPath = "C:\\CAF_~1\\SEAL~1.WAV";

class OptionsStorableTest : public OptionsFixture {
protected:
    void SetUp() override {
        OptionsFixture::SetUp();
        view = &open();
        app.sound.commands.clear();
    }
    std::vector<std::string> shownTexts() const {
        std::vector<std::string> texts;
        for (const auto& box : app.messages.shown) {
            texts.push_back(box.text);
        }
        return texts;
    }

    FakeOptionsView* view = nullptr;
};

TEST_F(OptionsStorableTest, APathTheFileCannotHoldIsCommittedOpenedAndSavedInItsShortForm) {
    app.fileNames.shortPaths[kLongPath] = kShortPath;
    view->setText(OptionsText::SoundFileBox, kLongPath);
    form().requestClose();

    EXPECT_FALSE(dialogLoaded());
    EXPECT_TRUE(app.messages.shown.empty());
    EXPECT_TRUE(settings().soundFile.sameAs(DynamicValue(kShortPath)));
    EXPECT_EQ(app.sound.commands, (std::vector<std::string>{"close", "open:" + kShortPath}));

    // Saved and read back at the next start: the same file.
    EXPECT_THROW(app.program.unloadClockWindow(), ProgramEnded);
    testing::TestProgram next;
    next.files.files = app.files.files;
    next.program.main();
    EXPECT_TRUE(next.settings().soundFile.sameAs(DynamicValue(kShortPath)));
    EXPECT_TRUE(next.messages.shown.empty());
}

TEST_F(OptionsStorableTest, ThePathWithoutAShortFormIsRefusedByNameAndTheDialogStaysOpen) {
    const DynamicValue before = settings().soundFile;
    view->setText(OptionsText::SoundFileBox, kLongPath);
    form().requestClose();

    EXPECT_TRUE(dialogLoaded());
    EXPECT_EQ(shownTexts(),
              (std::vector<std::string>{"WAVファイルの指定欄に設定ファイルに保存できない文字があ"
                                        "ります: é𠮷ñ\nWAVファイルの名前を変えるか、別のファイル"
                                        "を指定して下さい。"}));
    EXPECT_EQ(app.messages.shown[0].title, kOptionsErrorTitle);
    EXPECT_EQ(app.messages.shown[0].icon, MessageIcon::Warning);
    EXPECT_TRUE(settings().soundFile.sameAs(before));
    EXPECT_TRUE(app.sound.commands.empty());
}

TEST_F(OptionsStorableTest, MessagesWithCharactersTheFileCannotHoldAreRefusedByName) {
    view->setText(OptionsText::AlarmMessageBox, "朝会 ♪① Café");
    view->setText(OptionsText::CountdownMessageBox, "😀 한 😀");
    form().requestClose();

    EXPECT_TRUE(dialogLoaded());
    EXPECT_EQ(shownTexts(),
              (std::vector<std::string>{"アラームメッセージに設定ファイルに保存できない文字があ"
                                        "ります: é",
                                        "タイマーメッセージに設定ファイルに保存できない文字があ"
                                        "ります: 😀한"}));
    EXPECT_TRUE(settings().alarmMessage.sameAs(DynamicValue("")));

    // ♪ and ① are in the code page: once the rest is gone, the dialog closes and keeps them.
    view->setText(OptionsText::AlarmMessageBox, "朝会 ♪①");
    view->setText(OptionsText::CountdownMessageBox, "");
    app.messages.shown.clear();
    form().requestClose();
    EXPECT_FALSE(dialogLoaded());
    EXPECT_TRUE(app.messages.shown.empty());
    EXPECT_TRUE(settings().alarmMessage.sameAs(DynamicValue("朝会 ♪①")));
}

TEST_F(OptionsStorableTest, TheTestButtonAndTheAlarmTakeThePathInItsShortForm) {
    app.fileNames.shortPaths[kLongPath] = kShortPath;
    view->setText(OptionsText::SoundFileBox, kLongPath);
    form().onTestClick();
    EXPECT_EQ(app.sound.commands,
              (std::vector<std::string>{"close", "open:" + kShortPath, "play"}));
    EXPECT_EQ(form().soundFileText(), kShortPath);
    // A path that has no short form is handed on as typed: the device reports it.
    view->setText(OptionsText::SoundFileBox, "C:\\Señal.wav");
    EXPECT_EQ(form().soundFileText(), "C:\\Señal.wav");
}

TEST_F(OptionsStorableTest, APathPastedInQuotesIsTakenWithoutThemByTheTestTheAlarmAndTheCommit) {
    EXPECT_EQ(unquotedPath("\"C:\\a b.wav"), "C:\\a b.wav"); // one quote, as left by an edit
    view->setText(OptionsText::SoundFileBox, "\"C:\\Sounds\\ring.wav\"");
    form().onTestClick();
    EXPECT_EQ(app.sound.commands.at(1), "open:C:\\Sounds\\ring.wav");
    EXPECT_EQ(form().soundFileText(), "C:\\Sounds\\ring.wav");
    form().requestClose();
    EXPECT_TRUE(app.messages.shown.empty());
    EXPECT_TRUE(app.settings().soundFile == "C:\\Sounds\\ring.wav");

    // Nothing but quotes is no path at all.
    view = &open();
    view->setText(OptionsText::SoundFileBox, "\"\"");
    form().requestClose();
    EXPECT_EQ(shownTexts(), (std::vector<std::string>{"WAVファイルが指定されていません。"}));
}

} // namespace
} // namespace ambrel
