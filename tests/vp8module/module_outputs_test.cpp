// What the module writes and computes per picture: the YUV output, the
// macroblock information dump, the residual view and the coefficient cache.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include <filesystem>
#include <fstream>

#include "platform/messages.h"
#include "resources/command_ids.h"
#include "resources/control_ids.h"
#include "shell/shell_services.h"
#include "shell/view_state.h"
#include "tests/support/test_paths.h"
#include "tests/vp8module/module_fixture.h"
#include "vp8dec/mb_modes.h"
#include "vp8module/coefficient_cache.h"
#include "vp8module/picture_records.h"
#include "vp8module/pixel_text.h"
#include "vp8module/vp8_module_state.h"

namespace tavimor::test {
namespace {

class ModuleOutputs : public ModuleFixture {
  protected:
    void SetUp() override {
        ModuleFixture::SetUp();
        ASSERT_TRUE(open(data_path("sample_320x240.ivf")));
        pixel_dialog_ =
            platform_.create_dialog("PIXELINFODLG", shell_services().main_window,
                                    [this](WindowHandle d, unsigned m, uintptr_t f, intptr_t s) {
                                        return module_->dialog_filter(d, m, f, s);
                                    });
        shell_services().information.pixel_info = pixel_dialog_;
    }
    void TearDown() override {
        ViewState& view = view_state();
        if (view.mb_info_dump_file > 0) ::close(view.mb_info_dump_file);
        view.mb_info_dump_file = 0;
        ModuleFixture::TearDown();
    }
    void choose_pixel_tab(int tab) {
        platform_.tab_select(platform_.dialog_item(pixel_dialog_, ctl::kPixelInfoTabs), tab);
    }
    std::string read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    void start_dump(int type) {
        ViewState& view = view_state();
        view.mb_info_dump_file =
            ::open((temp_ + "dump.txt").c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0600);
        view.dump_type = type;
    }

    WindowHandle pixel_dialog_ = kNoWindow;
};

TEST_F(ModuleOutputs, YuvOutputTakesEachNewPictureOnce) {
    const std::string path = temp_ + "out.yuv";
    platform_.answer_next_file_dialog(path);
    module_->command(shell_services().main_window, msg::kCommand, cmd::kStartYuvOutput, 0);
    MenuHandle tools = shell_services().tools_menu;
    EXPECT_FALSE(platform_.is_menu_item_enabled(tools, by_position(0)));
    EXPECT_TRUE(platform_.is_menu_item_enabled(tools, by_position(1)));
    const size_t picture = 320 * 240 * 3 / 2;
    for (int i = 0; i < 5; ++i) step(1);
    EXPECT_EQ(read(path).size(), 5 * picture);
    step(0);
    step(0);
    step(1);
    step(1);  // recalled from the cache: not written again
    EXPECT_EQ(read(path).size(), 5 * picture);
    step(1);
    EXPECT_EQ(read(path).size(), 6 * picture);
    module_->command(shell_services().main_window, msg::kCommand, cmd::kEndYuvOutput, 0);
    EXPECT_TRUE(platform_.is_menu_item_enabled(tools, by_position(0)));
    step(1);
    EXPECT_EQ(read(path).size(), 6 * picture);

    // A file that cannot be made is said so, and Start stays offered.
    platform_.answer_next_file_dialog(temp_ + "no/such/folder/out.yuv");
    module_->command(shell_services().main_window, msg::kCommand, cmd::kStartYuvOutput, 0);
    ASSERT_EQ(platform_.message_boxes().size(), 1u);
    EXPECT_TRUE(platform_.is_menu_item_enabled(tools, by_position(0)));
}

TEST_F(ModuleOutputs, TheDumpTakesNewPicturesOnlyFromFrameZero) {
    start_dump(0);
    step(1);
    step(1);
    const std::string two = read(temp_ + "dump.txt");
    EXPECT_EQ(two.rfind("\n+++++++++++++++++ Frame=0 +++++++++++++++++\r\n==== MB 0(0, 0) ====", 0),
              0u);
    EXPECT_NE(two.find("+++++++++++++++++ Frame=1 +++++++++++++++++"), std::string::npos);
    EXPECT_NE(two.find("==== MB 299(19, 14) ===="), std::string::npos);
    step(0);  // back: nothing is written
    step(1);  // recalled: nothing either
    EXPECT_EQ(read(temp_ + "dump.txt"), two);
}

TEST_F(ModuleOutputs, ThePixelDumpFollowsThePixelDialogsTab) {
    choose_pixel_tab(kPixelCoef);
    start_dump(1);
    step(1);
    const std::string dump = read(temp_ + "dump.txt");
    EXPECT_NE(dump.find("Frame 0, MB 0(0, 0)\r\n"), std::string::npos);
    EXPECT_NE(dump.find("+------------------------+"), std::string::npos);  // five wide
    EXPECT_EQ(dump.find("+----------------+"), std::string::npos);
}

TEST_F(ModuleOutputs, ASkippedMacroblockHasAUniformResidualViewAndZeroCoefficients) {
    step(1);
    step(1);
    Vp8ModuleState& state = vp8_module_state();
    const MbGrid grid = picture_grid();
    int column = -1, row = -1;
    for (int r = 0; r < grid.rows && column < 0; ++r)
        for (int c = 0; c < grid.columns && column < 0; ++c)
            if (mb_record(state, c, r).skip && !mb_record(state, c, r).has_residual)
                column = c, row = r;
    ASSERT_GE(column, 0) << "the sample's second picture has skipped macroblocks";
    ViewState& view = view_state();
    view.selected_tab = 3;  // Residual
    view.refresh_request = kRefreshRedraw;
    module_->refresh(1);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(view.shown_picture.luma_rows[16 * row + y][16 * column + x], 128);
    const std::optional<MbCoefficients> coefficients =
        mb_coefficients(state, column + row * grid.columns);
    ASSERT_TRUE(coefficients);
    for (int16_t value : *coefficients) ASSERT_EQ(value, 0);
}

TEST_F(ModuleOutputs, TwoSelectionsInOnePictureReadTheCoefficientsOnce) {
    step(1);
    Vp8ModuleState& state = vp8_module_state();
    const std::string first = pixel_info_text(state, kPixelCoef, 0, 0);
    ASSERT_NE(first, "Data not available\r\n");
    std::filesystem::rename(state.analysis_paths[3], state.analysis_paths[3] + ".gone");
    EXPECT_NE(pixel_info_text(state, kPixelResidual, 32, 16), "Data not available\r\n");
    EXPECT_EQ(pixel_info_text(state, kPixelCoef, 0, 0), first);
    step(1);  // a new picture needs the file again
    EXPECT_EQ(pixel_info_text(state, kPixelCoef, 0, 0), "Data not available\r\n");
    std::filesystem::rename(state.analysis_paths[3] + ".gone", state.analysis_paths[3]);
}

}  // namespace
}  // namespace tavimor::test

namespace tavimor::test {
namespace {

bool full_device_available() {
    struct stat info {};
    return ::stat("/dev/full", &info) == 0 && S_ISCHR(info.st_mode);
}

struct Stopped {
    int status;
};

[[noreturn]] void stop_by_throwing(int status) {
    throw Stopped{status};
}

TEST_F(ModuleOutputs, AFullDiskEndsEachOutputWithOneMessage) {
    if (!full_device_available()) GTEST_SKIP() << "no /dev/full here";
    const WindowHandle window = shell_services().main_window;
    const MenuHandle tools = shell_services().tools_menu;
    // YUV output: the output ends, its menu items are back at "Start".
    platform_.answer_next_file_dialog("/dev/full");
    module_->command(window, msg::kCommand, cmd::kStartYuvOutput, 0);
    step(1);
    ASSERT_EQ(platform_.message_boxes().size(), 1u);
    EXPECT_EQ(platform_.message_boxes()[0].text,
              "Failed to write the YUV output file /dev/full (No space left on device); the "
              "output is ended.");
    EXPECT_TRUE(platform_.is_menu_item_enabled(tools, by_position(0)));
    EXPECT_FALSE(platform_.is_menu_item_enabled(tools, by_position(1)));
    step(1);
    EXPECT_EQ(platform_.message_boxes().size(), 1u) << "said once";

    // The macroblock information dump likewise.
    view_state().mb_info_dump_file = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
    view_state().dump_type = 0;
    step(1);
    ASSERT_EQ(platform_.message_boxes().size(), 2u);
    EXPECT_EQ(platform_.message_boxes()[1].text,
              "Failed to write the MB info dump file (No space left on device); the dump is "
              "ended.");
    EXPECT_EQ(view_state().mb_info_dump_file, 0);
    EXPECT_TRUE(platform_.is_menu_item_enabled(tools, by_position(2)));
    EXPECT_FALSE(platform_.is_menu_item_enabled(tools, by_position(3)));

    // The header tree: said, and the device is left as it is.
    platform_.answer_next_file_dialog("/dev/full");
    module_->command(window, msg::kCommand, cmd::kDumpHeaderTree, 0);
    ASSERT_EQ(platform_.message_boxes().size(), 3u);
    EXPECT_EQ(platform_.message_boxes()[2].text,
              "Failed to write the header tree to /dev/full: No space left on device");
    EXPECT_TRUE(full_device_available());
}

TEST_F(ModuleOutputs, WorkingFilesThatCannotBeWrittenStopTheAnalyser) {
    // The files may grow no further than a little beyond their size now, as
    // on a disk that fills up; the signal for it is ignored, so writes fail.
    shell_services().exit_process = stop_by_throwing;
    const auto previous_signal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    ::getrlimit(RLIMIT_FSIZE, &previous);
    rlimit limited = previous;
    limited.rlim_cur = 600 * 1024;
    ::setrlimit(RLIMIT_FSIZE, &limited);
    int status = -1;
    try {
        for (int i = 0; i < 20; ++i) step(1);
    } catch (const Stopped& stopped) {
        status = stopped.status;
    }
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previous_signal);
    EXPECT_EQ(status, 1);
    ASSERT_EQ(platform_.message_boxes().size(), 1u);
    const std::string text = platform_.message_boxes()[0].text;
    EXPECT_EQ(text.rfind("Failed to write the ", 0), 0u) << text;
    EXPECT_NE(text.find("in the temporary folder: File too large.\nThe analyser stops."),
              std::string::npos)
        << text;
}

}  // namespace
}  // namespace tavimor::test
