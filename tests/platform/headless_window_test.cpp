// The main window, messages, timers, scroll bars, files dropped, the tip,
// settings files and the other services of the headless window system.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless/headless_platform.h"

namespace tavimor {
namespace {

struct Received {
    unsigned message;
    uintptr_t first;
    intptr_t second;
};

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        main_ = platform_.create_main_window(
            "Tavimor(VP8 Only) 2.00",
            [this](WindowHandle window, unsigned message, uintptr_t first, intptr_t second) {
                received_.push_back({message, first, second});
                if (message == msg::kDropFiles) dropped_ = dropped_paths(second);
                if (message == msg::kDestroy) platform_.post_quit(0);
                return platform_.default_window_proc(window, message, first, second);
            });
    }

    std::vector<unsigned> messages() const {
        std::vector<unsigned> out;
        for (const Received& r : received_) out.push_back(r.message);
        return out;
    }

    HeadlessPlatform platform_;
    WindowHandle main_ = kNoWindow;
    std::vector<Received> received_;
    std::vector<std::string> dropped_;
};

TEST_F(WindowTest, CreationTitleAndTheCloseRequest) {
    EXPECT_EQ(messages(), (std::vector<unsigned>{msg::kCreate}));
    EXPECT_EQ(platform_.window_text(main_), "Tavimor(VP8 Only) 2.00");
    platform_.request_close(main_);  // left to the default: the window is destroyed
    EXPECT_FALSE(platform_.is_window(main_));
    EXPECT_EQ(messages().back(), msg::kDestroy);
    EXPECT_EQ(platform_.quit_code(), 0);
}

TEST_F(WindowTest, PostedMessagesArriveInOrderWhenDelivered) {
    platform_.post_message(main_, msg::kTick, 0, 0);
    platform_.post_message(main_, msg::kUser + 7, 3, 4);
    EXPECT_EQ(received_.size(), 1u);
    EXPECT_EQ(platform_.deliver_posted(), 2);
    EXPECT_EQ(received_[1].message, msg::kTick);
    EXPECT_EQ(received_[2].first, 3u);
    EXPECT_EQ(platform_.send_message(main_, msg::kUser, 0, 0), 0);
    EXPECT_EQ(received_.size(), 4u);
}

TEST_F(WindowTest, TimersRunAtLeastAtTheMinimumPeriod) {
    platform_.set_timer(main_, 1, 66);
    EXPECT_EQ(platform_.timer_period(main_, 1), 66);
    platform_.set_timer(main_, 1, 0);  // a rate above 1000 per second
    EXPECT_EQ(platform_.timer_period(main_, 1), 10);
    EXPECT_TRUE(platform_.fire_timer(main_, 1));
    EXPECT_EQ(received_.back().message, msg::kTimer);
    EXPECT_EQ(received_.back().first, 1u);
    platform_.kill_timer(main_, 1);
    EXPECT_FALSE(platform_.fire_timer(main_, 1));
}

TEST_F(WindowTest, ScrollPositionStaysInsideTheRange) {
    platform_.set_scroll_info(main_, ScrollBar::kVertical, {0, 100, 10, 500});
    EXPECT_EQ(platform_.scroll_info(main_, ScrollBar::kVertical).position, 91);
    platform_.set_scroll_info(main_, ScrollBar::kVertical, {0, 100, 10, -5});
    EXPECT_EQ(platform_.scroll_info(main_, ScrollBar::kVertical).position, 0);
    platform_.scroll(main_, ScrollBar::kHorizontal, scroll::kThumbTrack, 42);
    EXPECT_EQ(received_.back().message, msg::kHScroll);
    EXPECT_EQ(scroll_code(received_.back().first), scroll::kThumbTrack);
    EXPECT_EQ(scroll_position(received_.back().first), 42);
}

TEST_F(WindowTest, MouseKeysAndPackedPoints) {
    platform_.set_key_down(key::kControl, true);
    platform_.left_click(main_, {300, 200});
    EXPECT_EQ(received_.back().message, msg::kLeftButtonDown);
    EXPECT_EQ(unpack_point(received_.back().second), (Point{300, 200}));
    EXPECT_TRUE(received_.back().first & key::kControlState);
    platform_.press_key(main_, key::kRight);
    EXPECT_EQ(received_.back().first, static_cast<uintptr_t>(key::kRight));
    EXPECT_TRUE(platform_.is_key_down(key::kControl));
    // Points left of or above the client area come back negative.
    EXPECT_EQ(unpack_point(pack_point(-3, -70)), (Point{-3, -70}));
}

TEST_F(WindowTest, DroppedFilesArriveOnlyWhenAccepted) {
    platform_.drop_files(main_, {"/a.ivf"});
    EXPECT_TRUE(dropped_.empty());
    platform_.accept_dropped_files(main_, true);
    platform_.drop_files(main_, {"/a.ivf", "/b.ivf"});
    EXPECT_EQ(dropped_, (std::vector<std::string>{"/a.ivf", "/b.ivf"}));
}

TEST_F(WindowTest, ChildrenGoWithTheirWindow) {
    WindowHandle label =
        platform_.create_control(main_, ControlKind::kCentredLabel, 2054, "", rect_at(0, 0, 3, 3));
    platform_.set_text_colour(label, rgb(255, 0, 0));
    EXPECT_EQ(platform_.text_colour(label), rgb(255, 0, 0));
    EXPECT_EQ(platform_.dialog_item(main_, 2054), label);
    platform_.set_timer(main_, 1, 50);
    platform_.destroy_window(main_);
    EXPECT_FALSE(platform_.is_window(label));
    EXPECT_FALSE(platform_.timer_period(main_, 1));
}

TEST_F(WindowTest, TipWindowTracksAtTheGivenPoint) {
    WindowHandle tip = platform_.create_tip_window(main_);
    ASSERT_NE(tip, kNoWindow);
    platform_.tip_activate(tip, true);
    platform_.tip_set_text(tip, "12(3,4)\r\nB_PRED");
    platform_.tip_track_position(tip, {110, 80});
    auto state = platform_.tip_state(tip);
    EXPECT_TRUE(state.active);
    EXPECT_EQ(state.text, "12(3,4)\r\nB_PRED");
    EXPECT_EQ(state.position, (Point{110, 80}));
    platform_.set_tip_window_fails(true);
    EXPECT_EQ(platform_.create_tip_window(main_), kNoWindow);
}

TEST_F(WindowTest, CursorDocumentsAndPaths) {
    platform_.set_cursor(Cursor::kWait);
    EXPECT_EQ(platform_.cursor(), Cursor::kWait);
    EXPECT_TRUE(platform_.open_document("/opt/tavimor/bin/Tavimor.pdf"));
    platform_.set_document_opening_fails(true);
    EXPECT_FALSE(platform_.open_document("/nowhere/Tavimor.pdf"));
    EXPECT_EQ(platform_.opened_documents().size(), 2u);
    EXPECT_EQ(platform_.temp_directory().back(), '/');
    EXPECT_EQ(directory_of(platform_.executable_path()), "/opt/tavimor/bin/");
}

TEST(Settings, ReadsWritesAndDeletesKeys) {
    HeadlessPlatform platform;
    const std::string file = "/opt/tavimor/bin/tavimor.ini";
    EXPECT_EQ(platform.profile_int("Local Info", "CheckNever", 0, file), 0);  // no file yet
    EXPECT_EQ(platform.profile_string("File History", "File0", "", 100, file), "");
    platform.write_profile_string("File History", "File0", "VP8: /a.ivf", file);
    platform.write_profile_string("File History", "File1", "VP8: /b.ivf", file);
    platform.write_profile_string("Local Info", "CheckNever", "1", file);
    EXPECT_EQ(platform.profile_string("file history", "FILE1", "", 100, file), "VP8: /b.ivf");
    EXPECT_EQ(platform.profile_int("Local Info", "CheckNever", 0, file), 1);
    platform.write_profile_string("File History", "File0", std::nullopt, file);
    EXPECT_EQ(platform.profile_string("File History", "File0", "gone", 100, file), "gone");
    EXPECT_EQ(*platform.settings_text(file),
              "[File History]\nFile1=VP8: /b.ivf\n[Local Info]\nCheckNever=1\n");
}

TEST(Settings, LongValuesAreCutWhenRead) {
    HeadlessPlatform platform;
    const std::string file = "tavimor.ini";
    std::string path = "VP8: /" + std::string(150, 'x');
    platform.write_profile_string("File History", "File0", path, file);
    EXPECT_EQ(platform.profile_string("File History", "File0", "", 100, file), path.substr(0, 100));
}

}  // namespace
}  // namespace tavimor
