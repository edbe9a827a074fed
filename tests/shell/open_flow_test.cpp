// Opening and closing streams: the open dialog, a dropped file, the command
// line, a stream already open, files that cannot be streams, and Close.
#include <filesystem>
#include <fstream>

#include "containers/extraction_request.h"
#include "containers/file_kind.h"
#include "containers/format_table.h"
#include "platform/message_box.h"
#include "resources/command_ids.h"
#include "resources/control_ids.h"
#include "shell/view_state.h"
#include "tests/shell/shell_fixture.h"

namespace tavimor::test {
namespace {

class OpenFlow : public ShellFixture {
  protected:
    // What a newly opened stream shows, whatever way it came.
    void expect_opened(const std::string& path);
};

void OpenFlow::expect_opened(const std::string& path) {
    HeadlessPlatform& platform = platform_;
    EXPECT_EQ(platform.window_text(main_window()), path);
    EXPECT_EQ(path_of(view_state().current_stream_path), path);
    EXPECT_EQ(status(), "Frame 1");
    EXPECT_EQ(platform.tab_count(tab_bar()), 4);
    const Rect tabs = platform.window_rect(tab_bar());
    EXPECT_EQ(tabs.width(), 350);
    EXPECT_EQ(tabs.top, platform.window_rect(toolbar()).height() + 3);
    EXPECT_EQ(button(cmd::kStepForward), kButtonEnabled);
    EXPECT_EQ(button(cmd::kMbRect), kButtonEnabled | kButtonChecked);  // its overlay is on
    for (const char* name : {"HDRINFODLG", "MBINFODLG", "PIXELINFODLG", "SUMMARYDLG"})
        EXPECT_TRUE(platform.is_window_visible(platform.find_dialog(name))) << name;
    // The information dialogs got their tabs from the module.
    WindowHandle pixel = platform.find_dialog("PIXELINFODLG");
    EXPECT_EQ(platform.tab_count(platform.dialog_item(pixel, ctl::kPixelInfoTabs)), 5);
    EXPECT_EQ(platform.font(platform.dialog_item(pixel, ctl::kPixelInfoText))->face,
              "Lucida Console");
}

TEST_F(OpenFlow, OpenShowsTheFirstPictureWithTheDialogsAroundIt) {
    const std::string path = stream("sample_320x240.ivf");
    then([&] {
        open(path);
        expect_opened(path);
        ASSERT_EQ(platform_.file_dialogs().size(), 1u);
        const FileDialogRequest& request = platform_.file_dialogs()[0].request;
        ASSERT_EQ(request.filters.size(), 4u);
        EXPECT_EQ(request.filters[0].pattern, "*.*");
        EXPECT_EQ(request.filters[3].pattern, "*.vp8");
        EXPECT_TRUE(request.file_must_exist);
        // The after-open layout: MB info at the right edge at y 70, summary at (0, 100) 300 high.
        const Rect client = platform_.client_rect(main_window());
        const Rect mb_info = platform_.window_rect(platform_.find_dialog("MBINFODLG"));
        const Point corner = platform_.client_to_screen(main_window(), {0, 0});
        EXPECT_EQ(mb_info.right, corner.x + client.right);
        EXPECT_EQ(mb_info.top, corner.y + 70);
        const Rect summary = platform_.window_rect(platform_.find_dialog("SUMMARYDLG"));
        EXPECT_EQ(summary.top, corner.y + 100);
        EXPECT_EQ(summary.height(), 300);
        EXPECT_TRUE(platform_.message_boxes().empty());
    });
    EXPECT_EQ(run(), 0);
}

TEST_F(OpenFlow, ACancelledOpenStillChoosesTheModuleByTheKindLeftBefore) {
    then([&] {
        // The first Open: the stream kind is still 0, which no module reads.
        platform_.answer_next_file_dialog(std::nullopt);
        choose(cmd::kOpen);
        ASSERT_EQ(message_texts(), std::vector<std::string>{"This file is not supported!"});
        EXPECT_EQ(platform_.window_text(main_window()), "Tavimor(VP8 Only) 2.00");
        EXPECT_EQ(platform_.window_rect(tab_bar()).width(), 0);
        // After a VP8 stream the VP8 module is chosen, silently, and nothing opens.
        open(stream("sample_320x240.ivf"));
        choose(cmd::kClose);
        platform_.answer_next_file_dialog(std::nullopt);
        choose(cmd::kOpen);
        EXPECT_EQ(platform_.message_boxes().size(), 1u);
        EXPECT_EQ(view_state().current_frame_index, -1);
        // Cancelling the file-type dialog ends the same way.
        platform_.answer_next_file_dialog(stream("sample_320x240.ivf"));
        choose(cmd::kOpen);
        EXPECT_EQ(platform_.message_boxes().size(), 1u);
        EXPECT_EQ(platform_.window_text(main_window()), "Tavimor(VP8 Only) 2.00");
    });
    EXPECT_EQ(run(), 0);
}

TEST_F(OpenFlow, ADroppedFileOpensLikeOpenAndOnlyTheFirstOfSeveral) {
    const std::string first = stream("inter_dense_48x48.ivf");
    then([&] {
        accept_file_type();
        platform_.drop_files(main_window(), {first, stream("sample_320x240.ivf")});
        expect_opened(first);
        EXPECT_EQ(path_of(view_state().chosen_file_path), first);
        EXPECT_TRUE(platform_.file_dialogs().empty());
    });
    EXPECT_EQ(run(), 0);
}

TEST_F(OpenFlow, TheCommandLineOpensTheStreamFromItsContentWhateverItsName) {
    const std::string renamed = temp_ + "clip.bin";
    std::filesystem::copy_file(stream("sample_320x240.ivf"), renamed);
    then([&] { expect_opened(renamed); });
    EXPECT_EQ(run({renamed}), 0);
}

TEST_F(OpenFlow, OpeningWhileAStreamIsOpenAsksFirst) {
    const std::string first = stream("sample_320x240.ivf");
    const std::string second = stream("inter_dense_48x48.ivf");
    then([&] {
        open(first);
        platform_.answer_next_message_box(mb::kAnswerNo);
        drop(second);
        ASSERT_EQ(platform_.message_boxes().size(), 1u);
        EXPECT_EQ(platform_.message_boxes()[0].text, first + " is opened, close it?");
        EXPECT_EQ(platform_.message_boxes()[0].caption, "Close file?");
        expect_opened(first);  // No keeps it

        press(cmd::kStepForward);
        platform_.answer_next_message_box(mb::kAnswerYes);
        drop(second);
        expect_opened(second);
        EXPECT_EQ(view_state().current_frame_index, 1);
    });
    EXPECT_EQ(run(), 0);
}

TEST_F(OpenFlow, AFileThatIsNoStreamIsReportedAndNothingOpens) {
    const std::string text = temp_ + "notes.ivf";
    std::ofstream(text) << "not a stream at all";
    then([&] {
        open(text);
        ASSERT_EQ(platform_.message_boxes().size(), 1u);
        EXPECT_EQ(platform_.message_boxes()[0].text, text + " cannot be opened as a stream.");
        EXPECT_EQ(platform_.window_text(main_window()), "Tavimor(VP8 Only) 2.00");
        EXPECT_FALSE(platform_.is_window_visible(platform_.find_dialog("MBINFODLG")));
        EXPECT_EQ(platform_.window_rect(tab_bar()).width(), 0);
    });
    EXPECT_EQ(run(), 0);
}

TEST_F(OpenFlow, KindsWithoutAModuleAreNotSupported) {
    const std::string raw = temp_ + "frames.yuv";
    std::ofstream(raw) << "yuv";
    // A container kind whose parser this build lacks, while there is one.
    std::string container, format;
    const std::pair<int, const char*> kinds[] = {{kContainerMp4, "clip.mp4"},
                                                 {kContainerTs, "clip.ts"},
                                                 {kContainerFlv, "clip.flv"},
                                                 {kContainerMkv, "clip.mkv"}};
    for (const auto& [kind, name] : kinds) {
        if (find_format(kind) || !container.empty()) continue;
        container = temp_ + name;
        format = format_name(kind);
        std::ofstream(container) << "container";
    }
    then([&] {
        open(raw);
        ASSERT_EQ(platform_.message_boxes().size(), 1u);
        const auto& box = platform_.message_boxes()[0];
        EXPECT_EQ(box.text, "This file is not supported!");
        EXPECT_EQ(box.caption, "Warning");
        EXPECT_EQ(box.style, mb::kOk | mb::kIconError);
        if (!container.empty()) {
            // One message says so.
            open(container);
            ASSERT_EQ(platform_.message_boxes().size(), 2u);
            EXPECT_EQ(platform_.message_boxes()[1].text,
                      container + ": " + format + " files cannot be read by this version yet");
        }
        open(stream("sample_320x240.ivf"));  // a VP8 stream still opens afterwards
        expect_opened(stream("sample_320x240.ivf"));
    });
    EXPECT_EQ(run(), 0);
}

TEST_F(OpenFlow, ClosePutsTheWindowBackAsItWasWithoutAStream) {
    then([&] {
        open(stream("sample_320x240.ivf"));
        press(cmd::kStepForward);
        view_state().overlay_flags = 0x3E;
        choose(cmd::kClose);
        const ViewState& view = view_state();
        EXPECT_EQ(view.current_frame_index, -1);
        EXPECT_EQ(view.overlay_flags, 2);
        EXPECT_EQ(view.frames_per_second, 15);
        EXPECT_EQ(path_of(view.current_stream_path), "video.h264");
        EXPECT_EQ(platform_.window_text(main_window()), "Tavimor(VP8 Only) 2.00");
        EXPECT_EQ(status(), "");
        EXPECT_EQ(platform_.window_rect(tab_bar()).width(), 0);
        for (const char* name : {"HDRINFODLG", "MBINFODLG", "PIXELINFODLG", "SUMMARYDLG"})
            EXPECT_EQ(platform_.find_dialog(name), kNoWindow) << name;
        for (int command : {cmd::kPlay, cmd::kStepBackward, cmd::kMbRect, cmd::kGotoMb})
            EXPECT_EQ(button(command), kButtonIndeterminate) << command;
        // The picture is gone from the window.
        const auto pixels = platform_.client_pixels(main_window());
        EXPECT_EQ(pixels[static_cast<size_t>(view.origin_y + 5) *
                             platform_.client_rect(main_window()).width() +
                         view.origin_x + 5],
                  0xFFFFFFu);
    });
    EXPECT_EQ(run(), 0);
}

TEST(FileKind, ExtensionsAreComparedExactly) {
    EXPECT_EQ(stream_kind_from_extension("/a/clip.ivf"), 7);
    EXPECT_EQ(stream_kind_from_extension("/a/clip.IVF"), 7);
    EXPECT_EQ(stream_kind_from_extension("clip.vp8"), 7);
    EXPECT_EQ(stream_kind_from_extension("clip.webm"), 5);
    EXPECT_EQ(stream_kind_from_extension("clip.WEBM"), 5);
    EXPECT_EQ(stream_kind_from_extension("clip.Webm"), 0);  // mixed case is not recognised
    EXPECT_EQ(stream_kind_from_extension("clip.f4v"), 4);
    EXPECT_EQ(stream_kind_from_extension("clip.trp"), 3);
    EXPECT_EQ(stream_kind_from_extension("clip.3gp"), 2);
    EXPECT_EQ(stream_kind_from_extension("clip.yuv"), 6);
    EXPECT_EQ(stream_kind_from_extension("/dir.ivf/clip"),
              0);  // the dot of a folder is no extension
    EXPECT_EQ(stream_kind_from_extension("clip.ivf.bak"), 0);
}

TEST(FileKind, ContentShowsTheKindWhenTheNameDoesNot) {
    EXPECT_EQ(stream_kind_from_content(stream("sample_320x240.ivf")), 7);
    EXPECT_EQ(stream_kind_from_content("/nonexistent/file"), -1);
    const std::string path = std::filesystem::temp_directory_path() / "tavimor-kind-bin";
    std::ofstream(path, std::ios::binary) << std::string("\x1A\x45\xDF\xA3 matroska", 13);
    EXPECT_EQ(stream_kind_from_content(path), 5);
    EXPECT_EQ(detect_stream_kind(path), 5);
    std::ofstream(path, std::ios::binary) << "FLV\x01 flash video";
    EXPECT_EQ(stream_kind_from_content(path), 4);
    std::ofstream(path, std::ios::binary) << "....ftypisom....";
    EXPECT_EQ(stream_kind_from_content(path), 2);
    std::ofstream(path, std::ios::binary) << "short";
    EXPECT_EQ(stream_kind_from_content(path), -1);
    EXPECT_EQ(detect_stream_kind(path), 0);
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace tavimor::test
