#include "tests/vp8module/module_fixture.h"

#include <unistd.h>

#include <filesystem>
#include <memory>

#include "cli/md5.h"
#include "display/video_display.h"
#include "platform/messages.h"
#include "resources/control_ids.h"
#include "resources/menu_templates.h"
#include "shell/module_registry.h"
#include "shell/shell_services.h"
#include "shell/view_state.h"
#include "vp8dec/decoder_instance.h"
#include "vp8module/vp8_module.h"
#include "vp8module/vp8_module_state.h"

namespace tavimor::test {

void ModuleFixture::SetUp() {
    provide_vp8_module(create_vp8_module);
    char pattern[] = "/tmp/tavimor-module-XXXXXX";
    temp_ = std::string(mkdtemp(pattern)) + "/";
    platform_.set_temp_directory(temp_);
    ViewState& view = view_state();
    view = ViewState{};
    reset_view_state(view);
    set_path(view.temp_directory, temp_);
    ShellServices& services = shell_services();
    services = ShellServices{};
    services.platform = &platform_;
    services.main_window = platform_.create_main_window(
        "test", [this](WindowHandle w, unsigned m, uintptr_t f, intptr_t s) {
            return platform_.default_window_proc(w, m, f, s);
        });
    const MenuHandle menu_bar = platform_.load_menu(kMenuBarName);
    platform_.set_menu(services.main_window, menu_bar);
    services.tools_menu = platform_.submenu(menu_bar, kToolsMenuPosition);
    services.toolbar = platform_.create_toolbar(services.main_window, ctl::kToolbar);
    services.status_label =
        platform_.create_control(services.main_window, ControlKind::kCentredLabel,
                                 ctl::kStatusLabel, "", rect_at(0, 0, 10, 10));
    services.display = display_create();
    display_bind(services.display, &platform_, services.main_window);
}

void ModuleFixture::TearDown() {
    if (module_) module_->close();
    ShellServices& services = shell_services();
    display_destroy(services.display);
    services = ShellServices{};
    std::filesystem::remove_all(temp_);
}

bool ModuleFixture::open(const std::string& path) {
    module_ = selectModule(kStreamVp8, kCodecVp8);
    module_->open(path.c_str());
    if (!module_->is_open(0)) return false;
    shell_services().frame_table = std::make_unique<FrameTable>();
    return true;
}

void ModuleFixture::step(int direction) {
    view_state().direction = direction;
    module_->tick();
}

std::string md5_of(const vp8::PlanarPicture& picture, int width, int height) {
    Md5 md5;
    for (int r = 0; r < height; ++r) md5.update(picture.luma_rows[r], static_cast<size_t>(width));
    for (int plane = 0; plane < 2; ++plane)
        for (int r = 0; r < (height + 1) / 2; ++r)
            md5.update(picture.chroma_rows[plane][r], static_cast<size_t>((width + 1) / 2));
    return md5.hex_digest();
}

std::string ModuleFixture::shown_md5() const {
    Vp8ModuleState& state = vp8_module_state();
    const vp8::DecoderInstance* instance = vp8::decoder_instance(&state.decoder);
    if (!state.record || !instance) return "";
    return md5_of(state.record->final_picture, instance->width, instance->height);
}

int ModuleFixture::decoded_pictures() const {
    Vp8ModuleState& state = vp8_module_state();
    const vp8::DecoderInstance* instance = vp8::decoder_instance(&state.decoder);
    return instance ? instance->shown_count : 0;
}

int64_t ModuleFixture::stream_position() const {
    return vp8_module_state().stream.position();
}

}  // namespace tavimor::test
