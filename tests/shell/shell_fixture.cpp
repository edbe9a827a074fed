#include "tests/shell/shell_fixture.h"

#include <unistd.h>

#include <filesystem>

#include "resources/control_ids.h"
#include "shell/application.h"
#include "shell/module_registry.h"
#include "tests/support/test_paths.h"
#include "vp8module/vp8_module.h"

namespace tavimor::test {

void ShellFixture::SetUp() {
    provide_vp8_module(create_vp8_module);
    char pattern[] = "/tmp/tavimor-shell-XXXXXX";
    temp_ = std::string(mkdtemp(pattern)) + "/";
    platform_.set_temp_directory(temp_);
    // The settings file goes beside the executable, in the test's folder.
    platform_.set_executable_path(temp_ + "tavimor");
}

void ShellFixture::TearDown() {
    provide_vp8_module(create_vp8_module);
    std::filesystem::remove_all(temp_);
}

void ShellFixture::then(std::function<void()> step) {
    platform_.when_idle([step = std::move(step)](HeadlessPlatform&) { step(); });
}

int ShellFixture::run(const std::vector<std::string>& arguments) {
    return run_application(platform_, arguments);
}

WindowHandle ShellFixture::toolbar() const {
    return platform_.dialog_item(main_window(), ctl::kToolbar);
}

WindowHandle ShellFixture::tab_bar() const {
    return platform_.dialog_item(main_window(), ctl::kViewTabBar);
}

WindowHandle ShellFixture::status_label() const {
    return platform_.dialog_item(main_window(), ctl::kStatusLabel);
}

std::string ShellFixture::status() const {
    return platform_.window_text(status_label());
}

unsigned ShellFixture::button(int command) const {
    return platform_.button_state(toolbar(), command);
}

bool ShellFixture::choose(int command) {
    return platform_.choose_menu_command(main_window(), command);
}

bool ShellFixture::press(int command) {
    return platform_.press_toolbar_button(toolbar(), command);
}

void ShellFixture::press_with_ctrl(int virtual_key) {
    platform_.set_key_down(key::kControl, true);
    platform_.press_key(main_window(), virtual_key);
    platform_.set_key_down(key::kControl, false);
}

void ShellFixture::open(const std::string& path) {
    platform_.answer_next_file_dialog(path);
    accept_file_type();
    choose(211);
}

void ShellFixture::accept_file_type(bool syntax_parsing) {
    platform_.script_next_dialog("DEMUXERTYPEDLG",
                                 [syntax_parsing](HeadlessPlatform& user, WindowHandle dialog) {
                                     if (syntax_parsing)
                                         user.click(dialog, ctl::kEnableSyntaxParsing);
                                     user.click(dialog, ctl::kOk);
                                 });
}

void ShellFixture::drop(const std::string& path) {
    accept_file_type();
    platform_.drop_files(main_window(), {path});
}

std::vector<std::string> ShellFixture::message_texts() const {
    std::vector<std::string> texts;
    for (const auto& box : platform_.message_boxes()) texts.push_back(box.text);
    return texts;
}

std::string stream(const std::string& name) {
    return data_path(name);
}

}  // namespace tavimor::test
