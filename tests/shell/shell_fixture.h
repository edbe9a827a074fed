// The application run on the headless window system for a test: the steps a
// test queues run as the user, one after the other, while the window is up.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "shell/codec_module.h"

namespace tavimor::test {

class ShellFixture : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Queues a step; steps run once the window is up, in order, with the
    // messages they post delivered in between.
    void then(std::function<void()> step);
    // Runs the application with the arguments until its window is gone or
    // no step is left; returns the exit code.
    int run(const std::vector<std::string>& arguments = {});

    WindowHandle main_window() const { return platform_.main_window(); }
    WindowHandle toolbar() const;
    WindowHandle tab_bar() const;
    WindowHandle status_label() const;
    std::string status() const;
    unsigned button(int command) const;
    // Chooses a menu item or presses a toolbar button; false when it cannot be reached.
    bool choose(int command);
    bool press(int command);
    // Ctrl held while the key goes down.
    void press_with_ctrl(int virtual_key);
    // Opens the stream through "Open" as the user would (no stream may be
    // open), confirming the kind the file-type dialog proposes.
    void open(const std::string& path);
    // The next file-type dialog is confirmed as it comes (with syntax parsing
    // when asked).
    void accept_file_type(bool syntax_parsing = false);
    // Drops the file on the window and confirms its kind.
    void drop(const std::string& path);
    std::vector<std::string> message_texts() const;

    HeadlessPlatform platform_;
    std::string temp_;
};

// A bundled test stream.
std::string stream(const std::string& name);

}  // namespace tavimor::test
