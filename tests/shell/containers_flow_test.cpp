// Containers in the window: the file-type dialog, the extraction run's
// messages and files, the output dialog's path, and "Container Structure".
#include <filesystem>
#include <fstream>

#include "containers/demuxer_context.h"
#include "containers/file_kind.h"
#include "containers/format_table.h"
#include "platform/message_box.h"
#include "resources/command_ids.h"
#include "resources/control_ids.h"
#include "shell/container_extraction.h"
#include "shell/indented_tree.h"
#include "shell/video_output_dialog.h"
#include "shell/view_state.h"
#include "tests/containers/matroska_run.h"
#include "tests/shell/shell_fixture.h"

namespace tavimor::test {
namespace {

class ContainersFlow : public ShellFixture {
  protected:
    std::string file(const std::string& name, const std::string& text = "data") {
        std::ofstream(temp_ + name, std::ios::binary) << text;
        return temp_ + name;
    }
    WindowHandle structure_dialog() const { return platform_.find_dialog("CONTAINERSTRUCTDLG"); }
    WindowHandle tree() const {
        return platform_.dialog_item(structure_dialog(), ctl::kStructureTree);
    }
    // The structure texts as a run with syntax parsing leaves them.
    void write_structure(int structure_kind, const std::string& text, const std::string& pes = "") {
        std::ofstream(working_file(kStructureTextName)) << text;
        if (!pes.empty()) std::ofstream(working_file(kPesTextName)) << pes;
        view_state().stream_kind = kStreamMkv;
        view_state().structure_kind = structure_kind;
    }
    void choose_structure_type(int entry) {
        platform_.choose_list_entry(structure_dialog(), ctl::kStructureTypeList, entry);
    }
};

TEST_F(ContainersFlow, TheFileTypeDialogProposesTheKindOfTheExtension) {
    std::vector<std::string> listed;
    int proposed_trp = -1, proposed_mixed = -1;
    then([&] {
        platform_.script_next_dialog("DEMUXERTYPEDLG", [&](HeadlessPlatform& user, WindowHandle d) {
            WindowHandle list = user.dialog_item(d, ctl::kTypeList);
            for (int i = 0; i < user.list_count(list); ++i)
                listed.push_back(user.list_text(list, i));
            proposed_trp = user.list_selection(list);
        });  // cancelled
        platform_.answer_next_file_dialog(file("capture.trp"));
        choose(cmd::kOpen);
        platform_.script_next_dialog("DEMUXERTYPEDLG", [&](HeadlessPlatform& user, WindowHandle d) {
            proposed_mixed = user.list_selection(user.dialog_item(d, ctl::kTypeList));
            // The user says what it is.
            user.choose_list_entry(d, ctl::kTypeList, kStreamVp8);
            user.click(d, ctl::kOk);
        });
        platform_.answer_next_file_dialog(file("clip.Ivf", ""));
        choose(cmd::kOpen);
        EXPECT_EQ(view_state().stream_kind, kStreamVp8);
    });
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(listed, (std::vector<std::string>{"H264 Annex B", "H264 RTP", "MP4/3GP FILE",
                                                "MPEG2 TS FILE", "FLV/F4V FILE", "MKV/MKV FILE",
                                                "YUV/YUV FILE", "VP8/VP8 FILE"}));
    EXPECT_EQ(proposed_trp, kStreamTs);
    EXPECT_EQ(proposed_mixed, kStreamH264AnnexB);  // mixed case is no known extension
}

TEST_F(ContainersFlow, SyntaxParsingDecidesWhetherAStructureTextIsWritten) {
    then([&] {
        std::filesystem::remove(working_file(kStructureTextName));
        platform_.answer_next_file_dialog(file("clip.mkv"));
        accept_file_type(false);
        choose(cmd::kOpen);
        EXPECT_FALSE(std::filesystem::exists(working_file(kStructureTextName)));
        EXPECT_EQ(view_state().structure_kind, 0);
        choose(cmd::kContainerStructure);
        EXPECT_EQ(platform_.message_boxes().back().text,
                  "Syntax file not available, Please re-open the original file with syntax "
                  "parsing enabled");

        platform_.answer_next_file_dialog(file("clip.mkv"));
        accept_file_type(true);
        choose(cmd::kOpen);
        EXPECT_TRUE(std::filesystem::exists(working_file(kStructureTextName)));
        EXPECT_EQ(view_state().structure_kind, 4);
        // The run's files stay in the private folder, not the working directory.
        EXPECT_TRUE(std::filesystem::exists(working_file(kRawOutputName)));
        EXPECT_FALSE(std::filesystem::exists("tmp.raw"));
        // A stream that is no container has no structure text, whatever was ticked.
        platform_.answer_next_file_dialog(stream("sample_320x240.ivf"));
        accept_file_type(true);
        choose(cmd::kOpen);
        EXPECT_EQ(view_state().structure_kind, 0);
    });
    EXPECT_EQ(run(), 0);
}

TEST_F(ContainersFlow, ContainerStructureShowsTheTextAsATree) {
    then([&] {
        write_structure(4, "EBML\n\tHeader\n\t\tDoc Type = webm\nSegment\n\tSegment Info\n", "");
        choose(cmd::kContainerStructure);
        ASSERT_TRUE(platform_.is_window_visible(structure_dialog()));
        WindowHandle list = platform_.dialog_item(structure_dialog(), ctl::kStructureTypeList);
        ASSERT_EQ(platform_.list_count(list), 1);
        EXPECT_EQ(platform_.list_text(list, 0), "MKV Element");
        choose_structure_type(0);
        ASSERT_EQ(platform_.tree_child_count(tree(), kTreeRoot), 2);
        const TreeItem ebml = platform_.tree_child(tree(), kTreeRoot, 0);
        EXPECT_EQ(platform_.tree_item_text(tree(), ebml), "EBML");
        const TreeItem header = platform_.tree_child(tree(), ebml, 0);
        EXPECT_EQ(platform_.tree_item_text(tree(), platform_.tree_child(tree(), header, 0)),
                  "Doc Type = webm");
        platform_.click(structure_dialog(), ctl::kOpenInFile);
        EXPECT_EQ(platform_.opened_documents(),
                  std::vector<std::string>{working_file(kStructureTextName)});

        // MPEG-2 TS offers its PES text too.
        write_structure(1, "packet\n", "pes packet\n\tPTS = 1\n");
        choose(cmd::kContainerStructure);
        EXPECT_EQ(platform_.list_count(list), 2);
        EXPECT_EQ(platform_.list_text(list, 1), "PES packet");
        choose_structure_type(1);
        EXPECT_EQ(platform_.tree_item_text(tree(), platform_.tree_child(tree(), kTreeRoot, 0)),
                  "pes packet");
        std::filesystem::remove(working_file(kPesTextName));
        choose_structure_type(1);
        EXPECT_EQ(platform_.message_boxes().back().text, "Failed to open syntax file");
        // Close empties and hides it.
        choose(cmd::kClose);
        EXPECT_FALSE(platform_.is_window_visible(structure_dialog()));
        EXPECT_EQ(platform_.tree_child_count(tree(), kTreeRoot), 0);
    });
    EXPECT_EQ(run(), 0);
}

TEST_F(ContainersFlow, ATextTooLongForTheTreeIsOfferedAsAFile) {
    then([&] {
        std::string text;
        for (int i = 0; i < 50001; ++i) text += "line\n";
        write_structure(2, text);
        choose(cmd::kContainerStructure);
        platform_.answer_next_message_box(mb::kAnswerYes);
        choose_structure_type(0);
        EXPECT_EQ(platform_.tree_child_count(tree(), kTreeRoot), 50000);
        ASSERT_EQ(message_texts().back(), "Stream is too long. Do you want to open it in a file?");
        EXPECT_EQ(platform_.opened_documents(),
                  std::vector<std::string>{working_file(kStructureTextName)});
        // Exactly 50000 lines fit.
        text.resize(text.size() - 5);
        write_structure(2, text);
        const size_t asked = platform_.message_boxes().size();
        choose_structure_type(0);
        EXPECT_EQ(platform_.message_boxes().size(), asked);
    });
    EXPECT_EQ(run(), 0);
}

TEST_F(ContainersFlow, H264ContainersShowTheirStructureButAreNotOpened) {
    struct Case {
        std::string sample, extension;
        std::string first_line;
        bool pes;
    };
    const Case cases[] = {
        {"avc_baseline_176x144.3gp", "3gp", "ftyp", false},
        {"avc_high_320x240_2slices.flv", "flv", "FLV header", false},
        {"avc_main_320x240_aud.ts", "ts", "transport_packet(pos=0x00000000)", true}};
    for (const Case& c : cases) {
        const std::string container = temp_ + "clip." + c.extension;
        std::filesystem::copy_file(stream(c.sample), container,
                                   std::filesystem::copy_options::overwrite_existing);
        then([&, container] {
            platform_.script_next_dialog(
                "VIDEOOUTPUTDLG",
                [](HeadlessPlatform& user, WindowHandle d) { user.click(d, ctl::kOk); });
            platform_.answer_next_file_dialog(container);
            accept_file_type(true);
            choose(cmd::kOpen);
            // The H.264 track was written out; the VP8 module cannot show it.
            EXPECT_EQ(message_texts().back(), "This file is not supported!") << c.sample;
            EXPECT_GT(std::filesystem::file_size(temp_ + "clip.264"), 10000u) << c.sample;
            EXPECT_EQ(std::filesystem::exists(working_file(kPesTextName)), c.pes) << c.sample;
            choose(cmd::kContainerStructure);
            choose_structure_type(0);
            ASSERT_GT(platform_.tree_child_count(tree(), kTreeRoot), 0) << c.sample;
            EXPECT_EQ(platform_.tree_item_text(tree(), platform_.tree_child(tree(), kTreeRoot, 0)),
                      c.first_line);
            if (c.pes) {
                choose_structure_type(1);
                EXPECT_GT(platform_.tree_child_count(tree(), kTreeRoot), 0);
            }
            platform_.click(structure_dialog(), ctl::kCancel);
            std::filesystem::remove(temp_ + "clip.264");
            std::filesystem::remove(working_file(kPesTextName));
        });
    }
    EXPECT_EQ(run(), 0);
}

TEST_F(ContainersFlow, AWebmFileOpensItsVp8TrackAndShowsItsStructure) {
    const std::string webm = temp_ + "clip.webm";
    std::filesystem::copy_file(stream("multi_odd_99x77.webm"), webm);
    const std::string whole = mkv_file_contents(webm);
    const std::string cut = file("cut.webm", whole.substr(0, whole.size() / 2));
    std::string proposed;
    std::vector<std::string> roots, under_ebml;
    then([&] {
        platform_.script_next_dialog("VIDEOOUTPUTDLG", [&](HeadlessPlatform& user, WindowHandle d) {
            proposed = user.window_text(user.dialog_item(d, ctl::kPathField));
            user.click(d, ctl::kOk);
        });
        platform_.answer_next_file_dialog(webm);
        accept_file_type(true);
        choose(cmd::kOpen);
        EXPECT_EQ(platform_.window_text(main_window()), temp_ + "clip.vp8");
        EXPECT_EQ(status(), "Frame 1");
        EXPECT_EQ(view_state().codec_code, kFoundVp8);
        EXPECT_TRUE(message_texts().empty());
        choose(cmd::kContainerStructure);
        choose_structure_type(0);
        for (int i = 0; i < platform_.tree_child_count(tree(), kTreeRoot); ++i)
            roots.push_back(
                platform_.tree_item_text(tree(), platform_.tree_child(tree(), kTreeRoot, i)));
        const TreeItem ebml = platform_.tree_child(tree(), kTreeRoot, 0);
        for (int i = 0; i < platform_.tree_child_count(tree(), ebml); ++i)
            under_ebml.push_back(
                platform_.tree_item_text(tree(), platform_.tree_child(tree(), ebml, i)));
        choose(cmd::kClose);

        // A file cut off half-way: one message, and what came before opens.
        platform_.script_next_dialog("VIDEOOUTPUTDLG", [](HeadlessPlatform& user, WindowHandle d) {
            user.click(d, ctl::kOk);
        });
        platform_.answer_next_file_dialog(cut);
        accept_file_type(false);
        choose(cmd::kOpen);
        ASSERT_EQ(message_texts().size(), 1u);
        EXPECT_EQ(message_texts()[0].rfind("the file is cut off: it ends at byte ", 0), 0u);
        EXPECT_EQ(platform_.window_text(main_window()), temp_ + "cut.vp8");
        EXPECT_EQ(status(), "Frame 1");
    });
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(proposed, temp_ + "clip.vp8");
    // Elements the parser does not know (there are some) stay in their place.
    EXPECT_EQ(roots, (std::vector<std::string>{"EBML", "Segment"}));
    EXPECT_EQ(under_ebml, std::vector<std::string>{"Header"});
    // The track's frames are those of the stream the file was made from.
    const std::vector<IvfFrame> frames = ivf_frames(mkv_file_contents(temp_ + "clip.vp8"));
    const std::vector<IvfFrame> original =
        ivf_frames(mkv_file_contents(stream("multi_odd_99x77.ivf")));
    ASSERT_EQ(frames.size(), original.size());
    for (size_t i = 0; i < frames.size(); ++i) EXPECT_EQ(frames[i].bytes, original[i].bytes) << i;
    const size_t kept = ivf_frames(mkv_file_contents(temp_ + "cut.vp8")).size();
    EXPECT_GT(kept, 0u);
    EXPECT_LT(kept, original.size());
}

TEST(VideoOutputPath, TakesTheCodecsExtension) {
    EXPECT_EQ(video_output_path("/films/clip.webm", 2), "/films/clip.vp8");
    EXPECT_EQ(video_output_path("/films/clip.mp4", 1), "/films/clip.264");
    EXPECT_EQ(video_output_path("/films.old/clip", 2), "/films.old/clip.vp8");
    EXPECT_EQ(video_output_path("clip.tar.mkv", 2), "clip.tar.vp8");
}

TEST(IndentedTree, DepthsParentsAndLongLines) {
    HeadlessPlatform platform;
    WindowHandle main = platform.create_main_window("t", nullptr);
    WindowHandle tree =
        platform.create_control(main, ControlKind::kTreeView, 1, "", rect_at(0, 0, 10, 10));
    const std::string deep(12, '\t');
    const std::string text = "a\n\tb\n\t\tc\n\t\t\td\n\tb2\r\n" + deep + "far\n" +
                             "\t\t\t\t\t\t\t\t\tnine\n" + deep + "under nine\n" + "z" +
                             std::string(600, 'y') + "\nlast";
    std::FILE* file = std::tmpfile();
    std::fputs(text.c_str(), file);
    std::rewind(file);
    const TreeFill fill = fill_indented_tree(platform, tree, file, -1, 100);
    std::fclose(file);
    EXPECT_TRUE(fill.complete);
    EXPECT_EQ(fill.lines, 10);
    auto child = [&](TreeItem parent, int i) { return platform.tree_child(tree, parent, i); };
    auto text_of = [&](TreeItem item) { return platform.tree_item_text(tree, item); };
    const TreeItem a = child(kTreeRoot, 0);
    EXPECT_EQ(text_of(child(child(child(a, 0), 0), 0)), "d");
    EXPECT_EQ(text_of(child(a, 1)), "b2");  // the carriage return is no part of it
    // Twelve tabs and no depth-9 item yet: a root item, tabs kept.
    EXPECT_EQ(text_of(child(kTreeRoot, 1)), deep + "far");
    EXPECT_EQ(text_of(child(kTreeRoot, 2)), "nine");  // nothing at depth 8 above it
    EXPECT_EQ(text_of(child(child(kTreeRoot, 2), 0)), deep + "under nine");
    EXPECT_EQ(text_of(child(kTreeRoot, 3)).size(), 511u);  // a long line is one item, cut
    EXPECT_EQ(text_of(child(kTreeRoot, 4)), "last");       // no line break: nothing dropped
}

// A picture's header trace is the part of the trace file between two
// positions: reading starts where the file stands and stops at the end
// position, or at the line limit with the text marked incomplete.
TEST(IndentedTree, ThePartOfTheFileUpToTheEndPosition) {
    const std::string before = "earlier picture\n\tline\r\n";
    const std::string part = "frame\n\tkey\r\n\t" + std::string(600, 'w') + "\n";
    std::FILE* file = std::tmpfile();
    std::fputs((before + part + "next picture\n").c_str(), file);
    const auto read_part = [&](int max_lines) {
        std::fseek(file, static_cast<long>(before.size()), SEEK_SET);
        return read_indented_text(file, static_cast<int64_t>(before.size() + part.size()),
                                  max_lines);
    };
    const IndentedText whole = read_part(10);
    EXPECT_TRUE(whole.complete);
    ASSERT_EQ(whole.nodes.size(), 3u);
    EXPECT_EQ(whole.nodes[0].text, "frame");
    EXPECT_EQ(whole.nodes[1].text, "key");
    EXPECT_EQ(whole.nodes[1].parent, 0);
    EXPECT_EQ(whole.nodes[2].text.size(), 510u);  // 511 characters of the line, tab taken off
    const IndentedText cut = read_part(2);
    EXPECT_FALSE(cut.complete);
    EXPECT_EQ(cut.nodes.size(), 2u);
    std::fclose(file);
}

}  // namespace
}  // namespace tavimor::test

namespace tavimor::test {
namespace {

// A Matroska reader for the window's tests: it warns once, finds VP8, and
// writes a bundled IVF stream as the track; with failing_body it stops
// half-way instead.
bool failing_body = false;

int fake_body(DemuxerContext& context) {
    warn_codec(context, "Unsupported codec, skipping");
    if (!switch_to_codec_output(context, kFoundVp8)) return kFormatOk;
    std::FILE* in = std::fopen(stream("sample_320x240.ivf").c_str(), "rb");
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0) {
        std::fwrite(buffer, 1, got, context.raw_output);
        if (failing_body) break;
    }
    std::fclose(in);
    if (context.structure_text) std::fputs("EBML\n\tHeader\n", context.structure_text);
    return failing_body ? kFormatFailed : kFormatOk;
}

const FormatOperations kFakeMatroska = {
    "Matroska/WebM", [] { return std::make_unique<FormatState>(); },
    nullptr,         nullptr,
    nullptr,         fake_body,
    nullptr};

class Extraction : public ContainersFlow {
  protected:
    void SetUp() override {
        ContainersFlow::SetUp();
        provide_format(kContainerMkv, &kFakeMatroska);
        failing_body = false;
    }
    void TearDown() override {
        provide_format(kContainerMkv, nullptr);
        ContainersFlow::TearDown();
    }
    // Opens the container, answering the output dialog with the script.
    void open_container(const std::string& path, HeadlessPlatform::DialogScript output) {
        platform_.script_next_dialog("VIDEOOUTPUTDLG", std::move(output));
        platform_.answer_next_file_dialog(path);
        accept_file_type(true);
        choose(cmd::kOpen);
    }
};

TEST_F(Extraction, TheVp8TrackOpensUnderTheContainersNameWithTheVp8Extension) {
    const std::string webm = file("clip.webm");
    std::string title, proposed;
    then([&] {
        open_container(webm, [&](HeadlessPlatform& user, WindowHandle dialog) {
            title = user.window_text(dialog);
            proposed = user.window_text(user.dialog_item(dialog, ctl::kPathField));
            user.click(dialog, ctl::kOk);
        });
        EXPECT_EQ(platform_.window_text(main_window()), temp_ + "clip.vp8");
        EXPECT_EQ(status(), "Frame 1");
        EXPECT_EQ(view_state().codec_code, kFoundVp8);
        EXPECT_EQ(view_state().structure_kind, 4);
        EXPECT_EQ(message_texts(), std::vector<std::string>{"Unsupported codec, skipping"});
        EXPECT_EQ(platform_.message_boxes()[0].style, mb::kOk | mb::kIconInformation);
        const MenuHandle recent =
            platform_.submenu(platform_.submenu(platform_.window_menu(main_window()), 0), 2);
        EXPECT_EQ(platform_.menu_item_label(recent, by_position(0)), "VP8: " + temp_ + "clip.vp8");
        // Its structure is there to see.
        choose(cmd::kContainerStructure);
        choose_structure_type(0);
        EXPECT_EQ(platform_.tree_child_count(tree(), kTreeRoot), 1);
    });
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(title, "Dump VP8 File");
    EXPECT_EQ(proposed, temp_ + "clip.vp8");
}

TEST_F(Extraction, AnExistingFileIsReplacedOnlyWhenTheUserAgrees) {
    const std::string webm = file("clip.webm");
    const std::string kept = file("clip.vp8", "the user's own file");
    then([&] {
        open_container(webm, [&](HeadlessPlatform& user, WindowHandle dialog) {
            user.answer_next_message_box(mb::kAnswerNo);
            user.click(dialog, ctl::kOk);  // refused: the dialog stays
            user.answer_next_file_dialog(temp_ + "other.vp8");
            user.click(dialog, ctl::kBrowse);
            user.click(dialog, ctl::kOk);
        });
        EXPECT_EQ(platform_.window_text(main_window()), temp_ + "other.vp8");
    });
    EXPECT_EQ(run(), 0);
    std::ifstream in(kept);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "the user's own file");
}

TEST_F(Extraction, DecliningTheOutputOrAFailingParserOpensNothing) {
    const std::string webm = file("clip.webm");
    then([&] {
        open_container(webm, [](HeadlessPlatform&, WindowHandle) {});  // closed: declined
        EXPECT_EQ(platform_.window_text(main_window()), "Tavimor(VP8 Only) 2.00");
        EXPECT_EQ(message_texts().size(), 1u);  // the parser's warning only

        failing_body = true;
        open_container(webm, [](HeadlessPlatform& user, WindowHandle dialog) {
            user.click(dialog, ctl::kOk);
        });
        EXPECT_EQ(platform_.window_text(main_window()), "Tavimor(VP8 Only) 2.00");
        ASSERT_EQ(message_texts().size(), 3u);  // a warning, then one message saying why
        EXPECT_EQ(message_texts()[2], webm + ": the Matroska/WebM parser failed in its body step");
        EXPECT_EQ(view_state().current_frame_index, -1);
    });
    EXPECT_EQ(run(), 0);
}

}  // namespace
}  // namespace tavimor::test
