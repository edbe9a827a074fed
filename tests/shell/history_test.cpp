// The settings file: the recent-file history in "File History" and the
// start-up notice's choice in "Local Info".
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/message_box.h"
#include "resources/command_ids.h"
#include "resources/control_ids.h"
#include "resources/menu_templates.h"
#include "shell/recent_files.h"
#include "shell/settings_path.h"
#include "tests/shell/shell_fixture.h"

namespace tavimor::test {
namespace {

class History : public ShellFixture {
  protected:
    std::string ini() const { return temp_ + "tavimor.ini"; }
    std::string settings() const { return platform_.settings_text(ini()).value_or(""); }
    void set_settings(const std::string& text) { platform_.set_settings_text(ini(), text); }
    // A copy of the sample under its own name.
    std::string copy(const std::string& name) {
        const std::string path = temp_ + name;
        std::filesystem::copy_file(stream("sample_320x240.ivf"), path);
        return path;
    }
    MenuHandle recent() const {
        return platform_.submenu(platform_.submenu(platform_.window_menu(main_window()), 0),
                                 kRecentFilesPosition);
    }
    std::vector<std::string> items() const {
        std::vector<std::string> labels;
        for (int i = 0; i < platform_.menu_item_count(recent()); ++i)
            labels.push_back(platform_.menu_item_label(recent(), by_position(i)));
        return labels;
    }
    void quietly() { set_settings("[Local Info]\nCheckNever=1\n"); }
};

TEST_F(History, FiveStreamsLeaveTheFourNewestInOrder) {
    quietly();
    std::vector<std::string> paths;
    for (const char* name : {"a.ivf", "b.ivf", "c.ivf", "d.ivf", "e.ivf"})
        paths.push_back(copy(name));
    then([&] {
        for (const std::string& path : paths) {
            if (path != paths.front()) platform_.answer_next_message_box(mb::kAnswerYes);
            open(path);
            EXPECT_EQ(platform_.window_text(main_window()), path);
        }
        EXPECT_EQ(items(), (std::vector<std::string>{"VP8: " + paths[1], "VP8: " + paths[2],
                                                     "VP8: " + paths[3], "VP8: " + paths[4]}));
        // The newest took the slot of the oldest: every command is still unique.
        EXPECT_EQ(platform_.menu_item_command(recent(), 3), cmd::kRecentFirst);
        platform_.request_close(main_window());
    });
    EXPECT_EQ(run(), 0);
    EXPECT_NE(
        settings().find("[File History]\nFile0=VP8: " + paths[1] + "\nFile1=VP8: " + paths[2] +
                        "\nFile2=VP8: " + paths[3] + "\nFile3=VP8: " + paths[4] + "\n"),
        std::string::npos)
        << settings();
}

TEST_F(History, ReopeningAListedStreamKeepsTheOrder) {
    const std::string a = copy("a.ivf"), b = copy("b.ivf");
    set_settings("[File History]\nFile0=VP8: " + a + "\nFile1=VP8: " + b + "\n");
    then([&] {
        ASSERT_EQ(items().size(), 2u);
        choose(cmd::kRecentFirst);  // a, from the history
        EXPECT_EQ(platform_.window_text(main_window()), a);
        EXPECT_EQ(status(), "Frame 1");
        EXPECT_EQ(items(), (std::vector<std::string>{"VP8: " + a, "VP8: " + b}));
        platform_.request_close(main_window());
    });
    EXPECT_EQ(run(), 0);
    EXPECT_NE(settings().find("File0=VP8: " + a + "\nFile1=VP8: " + b), std::string::npos);
}

TEST_F(History, AVanishedEntryLeavesWithItsMessageAndTheOthersKeepTheirCommands) {
    const std::string a = copy("a.ivf"), b = copy("b.ivf"), c = copy("c.ivf");
    set_settings("[File History]\nFile0=VP8: " + a + "\nFile1=VP8: " + b + "\nFile2=VP8: " + c +
                 "\n");
    then([&] {
        std::filesystem::remove(b);
        choose(cmd::kRecentFirst + 1);
        EXPECT_EQ(message_texts(), std::vector<std::string>{"This file does not exist any more."});
        EXPECT_EQ(platform_.message_boxes()[0].caption, "Error");
        EXPECT_EQ(items(), (std::vector<std::string>{"VP8: " + a, "VP8: " + c}));
        EXPECT_EQ(platform_.menu_item_command(recent(), 1), cmd::kRecentFirst + 2);
        EXPECT_EQ(platform_.window_text(main_window()), "Tavimor(VP8 Only) 2.00");
        // A new stream takes the free slot; nothing listed is pushed out.
        open(copy("d.ivf"));
        EXPECT_EQ(items().size(), 3u);
        EXPECT_EQ(platform_.menu_item_command(recent(), 2), cmd::kRecentFirst + 1);
        platform_.request_close(main_window());
    });
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(settings().find("File3"), std::string::npos);
}

TEST_F(History, LoadingStopsAtTheFirstShortValueAndCutsLongOnes) {
    const std::string long_entry = "VP8: /" + std::string(150, 'n');
    set_settings("[File History]\nFile0=" + long_entry +
                 "\nFile1=x\nFile2=VP8: /listed/never.ivf\n");
    then([&] { EXPECT_EQ(items(), std::vector<std::string>{long_entry.substr(0, 100)}); });
    EXPECT_EQ(run(), 0);
}

TEST_F(History, ASettingsFileOfGarbageStartsAnEmptyHistoryAndIsWrittenAnew) {
    std::string garbage;
    for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 37 + 11) % 256);
    const std::string sample = copy("kept.ivf");
    set_settings(garbage + "\n[File History]\nFile0=" + std::string(100000, 'x') +
                 "\n[Local Info]\nCheckNever=" + std::string(5000, '9') + "\n" + garbage);
    then([&] {
        // At most the one (cut) entry the file names, nothing else.
        ASSERT_LE(items().size(), 1u);
        if (!items().empty()) {
            EXPECT_EQ(items()[0], std::string(100, 'x'));
        }
        choose(cmd::kClose);
        open(sample);
        choose(cmd::kQuit);
    });
    EXPECT_EQ(run(), 0);
    // The new entry is written beside what the file held (cut values stay as
    // the file had them: nothing of the user's is thrown away).
    EXPECT_TRUE(settings().find("File1=VP8: " + sample + "\n") != std::string::npos);
}

TEST_F(History, QuitLeavesTheSettingsFileAsItWas) {
    const std::string a = copy("a.ivf"), b = copy("b.ivf");
    set_settings("[File History]\nFile0=VP8: " + a + "\nFile1=VP8: " + b + "\n");
    std::filesystem::remove(a);
    const std::string before = settings();
    then([&] {
        choose(cmd::kRecentFirst);  // gone: leaves the menu
        choose(cmd::kQuit);
    });
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(settings(), before);
}

TEST_F(History, TheStartupNoticeShowsUntilTheUserTicksItsBox) {
    int shown = 0;
    platform_.script_next_dialog("MSGDIALOG", [&](HeadlessPlatform& user, WindowHandle dialog) {
        ++shown;
        EXPECT_EQ(user.window_text(user.dialog_item(dialog, ctl::kNoticeText)),
                  "Thank you using Tavimor(VP8 Only). This version can analyze:\t\t\r\n\r\n\t+ "
                  "VP8(Webm)");
        user.click(dialog, ctl::kDontShowAgain);
        user.click(dialog, ctl::kOk);
    });
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(shown, 1);
    EXPECT_NE(settings().find("CheckNever=1"), std::string::npos);
}

TEST(SettingsPath, BesideTheProgramOrInTheConfigurationFolder) {
    const std::string folder = std::filesystem::temp_directory_path().string() + "/";
    EXPECT_EQ(settings_path(folder + "tavimor"), folder + "tavimor.ini");
    setenv("XDG_CONFIG_HOME", "/home/someone/.cfg", 1);
    EXPECT_EQ(settings_path("/no/such/folder/bin/tavimor"),
              "/home/someone/.cfg/tavimor/tavimor.ini");
    unsetenv("XDG_CONFIG_HOME");
    setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(settings_path("/no/such/folder/bin/tavimor"),
              "/home/someone/.config/tavimor/tavimor.ini");
}

// An installed program writes no settings into bin/, even where it may (root).
TEST(SettingsPath, InstalledProgramUsesTheConfigurationFolder) {
    namespace fs = std::filesystem;
    const fs::path prefix =
        fs::temp_directory_path() / ("tavimor-prefix-" + std::to_string(getpid()));
    fs::create_directories(prefix / "bin");
    fs::create_directories(prefix / "share" / "doc" / "tavimor");
    setenv("XDG_CONFIG_HOME", "/home/someone/.cfg", 1);
    EXPECT_EQ(settings_path((prefix / "bin" / "tavimor").string()),
              "/home/someone/.cfg/tavimor/tavimor.ini");
    unsetenv("XDG_CONFIG_HOME");
    fs::remove_all(prefix);
}

TEST(HistoryEntry, NamesTheKindAndFindsThePathAfterTheFirstColon) {
    EXPECT_EQ(history_entry(7, 0, "/a.ivf"), "VP8: /a.ivf");
    EXPECT_EQ(history_entry(5, 2, "/a.vp8"), "VP8: /a.vp8");
    EXPECT_EQ(history_entry(1, 0, "/a.rtp"), "RTP: /a.rtp");
    EXPECT_EQ(history_path("VP8: /a: b.ivf"), "/a: b.ivf");
    EXPECT_EQ(history_path("YUV420(352x288) : /clips/a.yuv"), "/clips/a.yuv");
    EXPECT_EQ(history_path("nonsense"), "");
}

}  // namespace
}  // namespace tavimor::test
