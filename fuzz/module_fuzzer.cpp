// Opens arbitrary bytes as a stream in the VP8 module, run on the headless
// window system as the window runs it, and looks at it as an analyst would:
// the first bytes choose the steps (forward, back, a macroblock, a tab), the
// rest is the IVF stream. Every step rebuilds the information dialogs' texts
// (MB Info or Pred Info, Pixel Info of the chosen tab, Summary) and the
// header tree through the module; the last ones are read at the end. The module may refuse the
// stream or stop at a damaged frame (the window then shows a message); it must not crash, leak or
// leave files.
#include <sys/stat.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "cli/cli_error.h"
#include "cli/module_session.h"
#include "fuzz/fuzz_folder.h"
#include "platform/headless/headless_platform.h"
#include "resources/control_ids.h"
#include "shell/shell_services.h"
#include "shell/view_state.h"

namespace {

constexpr size_t kStepBytes = 8;
constexpr int kMbSize = 16;
constexpr int kMbInfoTabs = 2;
constexpr int kPixelTabs = 5;
constexpr int kWindowWidth = 320, kWindowHeight = 240;

// Every text of the tree, depth first, so that each item is visited.
size_t tree_text_size(tavimor::HeadlessPlatform& platform, tavimor::WindowHandle tree,
                      tavimor::TreeItem parent) {
    size_t size = 0;
    const int children = platform.tree_child_count(tree, parent);
    for (int i = 0; i < children; ++i) {
        const tavimor::TreeItem child = platform.tree_child(tree, parent, i);
        size += platform.tree_item_text(tree, child).size() + tree_text_size(platform, tree, child);
    }
    return size;
}

// Reads what the dialogs show now.
size_t read_texts(tavimor::ModuleSession& session) {
    tavimor::HeadlessPlatform& platform = session.platform();
    const tavimor::InformationDialogs& dialogs = tavimor::shell_services().information;
    size_t size = session.summary_text().size() + session.mb_info_text().size();
    size +=
        platform.window_text(platform.dialog_item(dialogs.pixel_info, tavimor::ctl::kPixelInfoText))
            .size();
    size +=
        tree_text_size(platform, platform.dialog_item(dialogs.header, tavimor::ctl::kHeaderTree),
                       tavimor::kTreeRoot);
    return size;
}

// The macroblock a step byte and the next one choose, within the picture.
void select_macroblock(tavimor::ModuleSession& session, uint8_t first, uint8_t second) {
    const tavimor::ViewState& view = tavimor::view_state();
    const int columns = view.picture_width / kMbSize, rows = view.picture_height / kMbSize;
    if (columns <= 0 || rows <= 0) return;
    session.select_macroblock((first >> 2) % columns, second % rows);
}

// One step of the analyst; returns how many step bytes it used.
size_t step(tavimor::ModuleSession& session, const uint8_t* steps, size_t left) {
    const uint8_t action = steps[0];
    switch (action & 3) {
        case 0:
            session.timed_step(1);
            return 1;
        case 1:
            session.timed_step(0);
            return 1;
        case 2:
            select_macroblock(session, action, left > 1 ? steps[1] : 0);
            return left > 1 ? 2 : 1;
        default:
            session.choose_mb_info_tab((action >> 2) % kMbInfoTabs);
            session.choose_pixel_tab((action >> 3) % kPixelTabs);
            return 1;
    }
}

// Whether every key frame of the IVF stream has at most 256 x 128 samples.
// Large pictures would spend the run allocating, decoding and drawing (a
// 16383 x 16383 key frame takes over 256 MB), where small ones reach the
// same code many times faster. Frames follow the 32-byte header, each after
// a 4-byte little-endian size and an 8-byte time stamp.
bool small_pictures(const uint8_t* stream, size_t size) {
    constexpr size_t kFileHeader = 32, kFrameHeader = 12;
    for (size_t at = kFileHeader; at + kFrameHeader <= size;) {
        const uint32_t length = stream[at] | stream[at + 1] << 8 | stream[at + 2] << 16 |
                                static_cast<uint32_t>(stream[at + 3]) << 24;
        at += kFrameHeader;
        const uint8_t* frame = stream + at;
        if (size - at >= 10 && length >= 10 && (frame[0] & 1) == 0) {
            const int width = (frame[6] | frame[7] << 8) & 0x3fff;
            const int height = (frame[8] | frame[9] << 8) & 0x3fff;
            if (width * height > 256 * 128) return false;
        }
        if (length > size - at) break;
        at += length;
    }
    return true;
}

// The process's environment, set once: the session's working files go into
// the same kind of place as the folder's, and the window system's runtime
// files into the folder. A session that named a runtime folder of its own
// would add an environment string on every input, which the C library never
// frees: the fuzzer would then look for a leak after each input.
bool set_environment(const tavimor::fuzz::FuzzFolder& folder) {
    if (folder.path("").rfind("/dev/shm/", 0) == 0) setenv("TMPDIR", "/dev/shm", 1);
    const std::string runtime = folder.path("runtime");
    return mkdir(runtime.c_str(), 0700) == 0 && setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const tavimor::fuzz::FuzzFolder folder("module-fuzz");
    static const bool environment_set = folder.made() && set_environment(folder);
    if (size < kStepBytes || !environment_set) return 0;
    if (!small_pictures(data + kStepBytes, size - kStepBytes)) return 0;
    const std::string stream = folder.path("input.ivf");
    if (!folder.write(stream, data + kStepBytes, size - kStepBytes)) return 0;
    try {
        tavimor::ModuleSession session(stream);
        // A window as small as the pictures: its whole client area is drawn on every step.
        session.platform().resize_client(tavimor::shell_services().main_window, kWindowWidth,
                                         kWindowHeight);
        session.timed_step(1);
        for (size_t used = 0; used < kStepBytes;)
            used += step(session, data + used, kStepBytes - used);
        read_texts(session);
    } catch (const tavimor::InputError&) {
        // Refused or stopped, with the window's message: what a user sees.
    }
    return 0;
}
