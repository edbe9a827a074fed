// What the application relies on from the window system, held the same on the
// headless implementation and on the Qt one (off screen): every test runs on
// both, with the user played by tests/platform/platform_user.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>

#include "resources/command_ids.h"
#include "resources/control_ids.h"
#include "resources/dialog_templates.h"
#include "resources/menu_templates.h"
#include "tests/platform/platform_user.h"

namespace tavimor::test {
namespace {

struct Heard {
    WindowHandle window;
    unsigned message;
    uintptr_t first;
    intptr_t second;
};

using Reaction = std::function<intptr_t(WindowHandle, unsigned, uintptr_t, intptr_t)>;

class Behaviour : public ::testing::TestWithParam<std::string> {
  protected:
    void SetUp() override { user_ = make_platform_user(GetParam()); }

    Platform& platform() { return user_->platform(); }
    PlatformUser& user() { return *user_; }

    // Records what the window hears, lets react answer first, then does
    // what the window system does by default.
    WindowProc recorder(Reaction react = nullptr) {
        return [this, react](WindowHandle window, unsigned message, uintptr_t first,
                             intptr_t second) -> intptr_t {
            heard_.push_back({window, message, first, second});
            if (react) {
                if (intptr_t result = react(window, message, first, second)) return result;
            }
            return platform().default_window_proc(window, message, first, second);
        };
    }
    WindowHandle make_main(Reaction react = nullptr, bool shown = true) {
        WindowHandle main = platform().create_main_window("main", recorder(std::move(react)));
        if (shown) platform().show_window(main, ShowCommand::kShow);
        user().settle();
        heard_.clear();
        return main;
    }
    std::vector<Heard> heard(unsigned message) const {
        std::vector<Heard> out;
        for (const Heard& h : heard_)
            if (h.message == message) out.push_back(h);
        return out;
    }
    std::vector<int> commands() const {
        std::vector<int> out;
        for (const Heard& h : heard(msg::kCommand)) out.push_back(command_id(h.first));
        return out;
    }

    std::vector<Heard> heard_;
    std::unique_ptr<PlatformUser> user_;  // goes first: its windows may still call recorders
};

// --- Windows, messages, timers, scroll bars -------------------------------------------------

TEST_P(Behaviour, ControlsAreSeenOnlyWhenEveryWindowTheyLieInIs) {
    WindowHandle main = make_main(nullptr, false);
    WindowHandle label =
        platform().create_control(main, ControlKind::kLabel, 7, "x", rect_at(10, 20, 30, 40));
    EXPECT_FALSE(platform().is_window_visible(label));
    platform().show_window(main, ShowCommand::kShow);
    EXPECT_TRUE(platform().is_window_visible(label));
    EXPECT_EQ(platform().window_rect(label), rect_at(10, 20, 30, 40));
    EXPECT_EQ(platform().client_rect(label), rect_at(0, 0, 30, 40));
    platform().move_window(label, rect_at(1, 2, 3, 4));
    EXPECT_EQ(platform().window_rect(label), rect_at(1, 2, 3, 4));
    Point origin = platform().client_to_screen(main, {0, 0});
    EXPECT_EQ(platform().client_to_screen(label, {5, 6}), (Point{origin.x + 6, origin.y + 8}));

    WindowHandle dialog = platform().create_dialog("GOTODLG", main, recorder());
    WindowHandle column = platform().dialog_item(dialog, ctl::kGotoColumn);
    WindowHandle frame = platform().dialog_item(dialog, ctl::kGotoFrame);  // hidden by its template
    EXPECT_FALSE(platform().is_window_visible(dialog));
    EXPECT_FALSE(platform().is_window_visible(column));
    platform().show_window(dialog, ShowCommand::kShow);
    EXPECT_TRUE(platform().is_window_visible(column));
    EXPECT_FALSE(platform().is_window_visible(frame));
    platform().show_window(frame, ShowCommand::kShow);
    EXPECT_TRUE(platform().is_window_visible(frame));
    platform().show_window(dialog, ShowCommand::kHide);
    EXPECT_FALSE(platform().is_window_visible(column));
    // Enabling is the window's own: a control of a disabled dialog reads enabled.
    platform().enable_window(dialog, false);
    EXPECT_FALSE(platform().is_window_enabled(dialog));
    EXPECT_TRUE(platform().is_window_enabled(column));
    platform().enable_window(column, false);
    EXPECT_FALSE(platform().is_window_enabled(column));
    EXPECT_EQ(platform().parent_window(column), dialog);
    platform().destroy_window(dialog);
    EXPECT_FALSE(platform().is_window(column));
}

TEST_P(Behaviour, SentMessagesArriveAtOncePostedOnesInOrderAfter) {
    WindowHandle other = platform().create_main_window("other", recorder());
    WindowHandle main = make_main(
        [&](WindowHandle window, unsigned message, uintptr_t first, intptr_t) -> intptr_t {
            if (message == msg::kUser + 1 && first == 1)
                platform().post_message(window, msg::kUser + 3, 3, 0);
            if (message == msg::kUser + 3) platform().post_quit(5);
            return message == msg::kUser + 2 ? 42 : 0;
        });
    platform().post_message(main, msg::kUser + 1, 1, 0);
    platform().post_message(main, msg::kUser + 1, 2, 0);
    EXPECT_EQ(platform().send_message(main, msg::kUser + 2, 0, 0), 42);
    ASSERT_EQ(heard_.size(), 1u);  // the sent one only
    platform().destroy_window(other);
    platform().post_message(other, msg::kUser + 1, 9, 0);  // gone: dropped
    EXPECT_EQ(platform().send_message(other, msg::kUser + 2, 0, 0), 0);
    EXPECT_EQ(platform().run_message_loop(), 5);
    std::vector<uintptr_t> order;
    for (const Heard& h : heard_)
        if (h.message != msg::kPaint && h.message != msg::kDestroy) order.push_back(h.first);
    EXPECT_EQ(order, (std::vector<uintptr_t>{0, 1, 2, 3}));
}

TEST_P(Behaviour, TimersRunAtLeastAtTheMinimumPeriodUntilKilled) {
    WindowHandle main = make_main();
    auto fired = [&] { return !heard(msg::kTimer).empty(); };
    platform().set_timer(main, 1, 0);
    EXPECT_EQ(user().timer_period(main, 1), 10);
    user().let_timer_run(main, 1, fired);
    ASSERT_TRUE(fired());
    EXPECT_EQ(heard(msg::kTimer)[0].first, 1u);
    platform().set_timer(main, 1, 66);  // replaces the period
    EXPECT_EQ(user().timer_period(main, 1), 66);
    platform().set_timer(main, 1, -3);
    EXPECT_EQ(user().timer_period(main, 1), 10);
    platform().kill_timer(main, 1);
    EXPECT_EQ(user().timer_period(main, 1), std::nullopt);
    heard_.clear();
    user().let_timer_run(main, 1, fired);
    EXPECT_FALSE(fired());
    platform().set_timer(WindowHandle{9999}, 1, 50);  // no such window
    EXPECT_EQ(user().timer_period(WindowHandle{9999}, 1), std::nullopt);
}

TEST_P(Behaviour, ScrollPositionsStayWhereTheThumbCanGo) {
    WindowHandle main = make_main();
    auto clamped = [&](ScrollInfo info) {
        platform().set_scroll_info(main, ScrollBar::kVertical, info);
        return platform().scroll_info(main, ScrollBar::kVertical);
    };
    EXPECT_EQ(clamped({0, 100, 10, 500}), (ScrollInfo{0, 100, 10, 91}));
    EXPECT_EQ(clamped({0, 100, 10, -5}).position, 0);
    EXPECT_EQ(clamped({0, 100, 0, 150}).position, 100);
    EXPECT_EQ(clamped({0, 5, 20, 3}).position, 0);  // a page longer than the range
    EXPECT_EQ(clamped({10, 20, 1, 0}).position, 10);
    EXPECT_EQ(platform().scroll_info(main, ScrollBar::kHorizontal), ScrollInfo{});
}

// --- Painting and presenting ------------------------------------------------------------------

TEST_P(Behaviour, InvalidationsBeforeAPaintBringOneKPaint) {
    WindowHandle main = make_main();
    for (int i = 0; i < 3; ++i) platform().invalidate(main);
    user().settle();
    EXPECT_EQ(heard(msg::kPaint).size(), 1u);
    platform().invalidate(main);
    user().settle();
    EXPECT_EQ(heard(msg::kPaint).size(), 2u);
    // A hidden window is painted once it is shown.
    platform().show_window(main, ShowCommand::kHide);
    platform().invalidate(main);
    user().settle();
    EXPECT_EQ(heard(msg::kPaint).size(), 2u);
    platform().show_window(main, ShowCommand::kShow);
    user().settle();
    EXPECT_EQ(heard(msg::kPaint).size(), 3u);
    // So is a resized one, after its kSize.
    user().resize_client(main, 300, 200);
    user().settle();
    EXPECT_EQ(platform().client_rect(main), rect_at(0, 0, 300, 200));
    ASSERT_FALSE(heard(msg::kSize).empty());
    EXPECT_EQ(unpack_point(heard(msg::kSize).back().second), (Point{300, 200}));
    EXPECT_EQ(heard(msg::kPaint).size(), 4u);
}

TEST_P(Behaviour, PresentsShowTheLastPictureAndAskNoRepaint) {
    // A 3x2 picture with padded rows: red, green, grey / blue, black, white.
    const uint32_t kPixels[8] = {0xFF0000, 0x00FF00, 0x808080, 0, 0x0000FF, 0, 0xFFFFFF, 0};
    SurfaceView picture{reinterpret_cast<const uint8_t*>(kPixels), 3, 2, 16, 4};
    // The procedure presents again what was presented last, as the display does.
    struct Shown {
        SurfaceView pixels;
        Rect source;
        Point at;
    } shown{picture, {0, 0, 3, 2}, {10, 20}};
    WindowHandle main =
        make_main([&](WindowHandle window, unsigned message, uintptr_t, intptr_t) -> intptr_t {
            if (message == msg::kPaint)
                platform().present(window, shown.pixels, shown.source, shown.at);
            return 0;
        });
    auto present = [&](Shown next) {
        shown = next;
        return platform().present(main, next.pixels, next.source, next.at);
    };
    EXPECT_TRUE(present(shown));
    user().settle();
    EXPECT_TRUE(heard(msg::kPaint).empty());  // a present only paints what it stored
    platform().invalidate(main);
    user().settle();
    EXPECT_EQ(heard(msg::kPaint).size(), 1u);  // the present during kPaint asks for no other
    EXPECT_EQ(user().client_pixel(main, {10, 20}), 0xFF0000u);
    EXPECT_EQ(user().client_pixel(main, {12, 20}), 0x808080u);
    EXPECT_EQ(user().client_pixel(main, {10, 21}), 0x0000FFu);

    // Part of the picture: the source's corner lands on the destination; the
    // picture before is gone.
    EXPECT_TRUE(present({picture, {1, 1, 3, 2}, {30, 40}}));
    EXPECT_EQ(user().client_pixel(main, {30, 40}), 0x000000u);
    EXPECT_EQ(user().client_pixel(main, {31, 40}), 0xFFFFFFu);
    EXPECT_EQ(user().client_pixel(main, {29, 40}), 0xFFFFFFu);
    EXPECT_EQ(user().client_pixel(main, {10, 20}), 0xFFFFFFu);

    // 3-byte and 5-6-5 pictures.
    const uint8_t kThree[6] = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66};
    present({{kThree, 2, 1, 6, 3}, {0, 0, 2, 1}, {5, 5}});
    EXPECT_EQ(user().client_pixel(main, {6, 5}), 0x665544u);
    const uint16_t kSixteen[2] = {0xF800, 0x07E0};
    present({{reinterpret_cast<const uint8_t*>(kSixteen), 2, 1, 4, 2}, {0, 0, 2, 1}, {5, 5}});
    EXPECT_EQ(user().client_pixel(main, {5, 5}), 0xF80000u);
    EXPECT_EQ(user().client_pixel(main, {6, 5}), 0x00FC00u);
}

// --- Keys, mouse, context menus, dropped files ----------------------------------------------

TEST_P(Behaviour, KeysAndClicksCarryTheControlKey) {
    std::vector<bool> control_down;
    WindowHandle main =
        make_main([&](WindowHandle, unsigned message, uintptr_t first, intptr_t) -> intptr_t {
            bool arrow = message == msg::kKeyDown && first == key::kRight;
            if (arrow || message == msg::kLeftButtonDown)
                control_down.push_back(platform().is_key_down(key::kControl));
            return 0;
        });
    user().press_key(main, key::kRight, true);
    user().press_key(main, key::kRight, false);
    user().left_click(main, {30, 40}, true);
    EXPECT_EQ(control_down, (std::vector<bool>{true, false, true}));
    auto clicks = heard(msg::kLeftButtonDown);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_TRUE(clicks[0].first & key::kControlState);
    EXPECT_EQ(unpack_point(clicks[0].second), (Point{30, 40}));
}

TEST_P(Behaviour, ContextMenuNamesTheWindowAndTheScreenPoint) {
    WindowHandle main = make_main();
    Point screen = user().open_context_menu(main, {15, 25});
    auto menus = heard(msg::kContextMenu);
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(menus[0].first, static_cast<uintptr_t>(main));
    EXPECT_EQ(unpack_point(menus[0].second), screen);
    // A control's own procedure sees its context menu first.
    WindowHandle view =
        platform().create_control(main, ControlKind::kTextView, 5, "", rect_at(0, 0, 90, 60));
    platform().set_control_proc(view, recorder([](auto...) -> intptr_t { return 1; }));
    heard_.clear();
    user().open_context_menu(view, {3, 4});
    ASSERT_EQ(heard(msg::kContextMenu).size(), 1u);
    EXPECT_EQ(heard_[0].window, view);
    EXPECT_EQ(heard_[0].first, static_cast<uintptr_t>(view));
}

TEST_P(Behaviour, DroppedFilesArriveOnlyWhileAccepted) {
    std::vector<std::string> dropped;
    WindowHandle main =
        make_main([&](WindowHandle, unsigned message, uintptr_t, intptr_t second) -> intptr_t {
            if (message == msg::kDropFiles) dropped = dropped_paths(second);
            return 0;
        });
    user().drop_files(main, {"/a.ivf"});
    EXPECT_TRUE(dropped.empty());
    platform().accept_dropped_files(main, true);
    user().drop_files(main, {"/a.ivf", "/b c.ivf"});
    EXPECT_EQ(dropped, (std::vector<std::string>{"/a.ivf", "/b c.ivf"}));
}

// --- Dialogs ----------------------------------------------------------------------------------

TEST_P(Behaviour, DialogsHaveTheirTemplateControlsBeforeInitDialog) {
    WindowHandle main = make_main();
    for (const DialogTemplate& dialog_template : dialog_templates()) {
        SCOPED_TRACE(dialog_template.name);
        int inits = 0;
        auto check_controls = [&](WindowHandle dialog, unsigned message, uintptr_t,
                                  intptr_t) -> intptr_t {
            if (message != msg::kInitDialog) return 0;
            ++inits;
            for (const ControlTemplate& control : dialog_template.controls) {
                if (control.id == kUnaddressedControl) continue;
                WindowHandle item = platform().dialog_item(dialog, control.id);
                if (item == kNoWindow) {
                    ADD_FAILURE() << "no control " << control.id;
                    continue;
                }
                EXPECT_EQ(platform().control_id(item), control.id);
                EXPECT_EQ(platform().window_text(item), control.text);
                EXPECT_FALSE(platform().is_window_visible(item));  // the dialog is not shown yet
            }
            return 0;
        };
        WindowHandle dialog =
            platform().create_dialog(dialog_template.name, main, recorder(check_controls));
        ASSERT_EQ(inits, 1);
        EXPECT_EQ(platform().window_text(dialog), dialog_template.title);
        EXPECT_EQ(platform().client_rect(dialog),
                  rect_at(0, 0, dialog_template.width, dialog_template.height));
        platform().show_window(dialog, ShowCommand::kShow);
        for (const ControlTemplate& control : dialog_template.controls) {
            if (control.id == kUnaddressedControl) continue;
            EXPECT_EQ(platform().is_window_visible(platform().dialog_item(dialog, control.id)),
                      control.visible)
                << control.id;
        }
        platform().destroy_window(dialog);
    }
    EXPECT_EQ(platform().create_dialog("NOSUCHDLG", main, recorder()), kNoWindow);
}

TEST_P(Behaviour, ModalDialogsEndByTheirProcedure) {
    WindowHandle main = make_main();
    // Ended while it initialises: never shown, the result comes back at once.
    auto end_at_once = [&](WindowHandle dialog, unsigned message, uintptr_t, intptr_t) {
        if (message == msg::kInitDialog) platform().end_dialog(dialog, 7);
        return intptr_t{0};
    };
    EXPECT_EQ(platform().run_dialog("FPSDLG", main, recorder(end_at_once)), 7);
    EXPECT_TRUE(heard(msg::kCommand).empty());
    EXPECT_EQ(heard_.back().message, msg::kDestroy);

    // OK and Cancel end the dialog with their identifier.
    auto end_on_buttons = [&](WindowHandle dialog, unsigned message, uintptr_t first, intptr_t) {
        int id = command_id(first);
        if (message == msg::kCommand && (id == ctl::kOk || id == ctl::kCancel))
            platform().end_dialog(dialog, id);
        return intptr_t{0};
    };
    WindowHandle cancel = kNoWindow;
    bool shown = false;
    user().in_next_dialog([&](WindowHandle dialog) {
        shown = platform().is_window_visible(platform().dialog_item(dialog, ctl::kFpsField));
        cancel = platform().dialog_item(dialog, ctl::kCancel);
        user().press_key(dialog, key::kEscape);
    });
    heard_.clear();
    EXPECT_EQ(platform().run_dialog("FPSDLG", main, recorder(end_on_buttons)), ctl::kCancel);
    EXPECT_TRUE(shown);
    ASSERT_EQ(heard(msg::kCommand).size(), 1u);
    EXPECT_EQ(heard(msg::kCommand)[0].first, command_parameter(ctl::kCancel));
    EXPECT_EQ(heard(msg::kCommand)[0].second, static_cast<intptr_t>(cancel));

    // Return clicks the default button.
    std::string typed;
    user().in_next_dialog([&](WindowHandle dialog) {
        WindowHandle field = platform().dialog_item(dialog, ctl::kFpsField);
        user().type(field, "30");
        typed = platform().window_text(field);
        user().press_key(dialog, key::kReturn);
    });
    EXPECT_EQ(platform().run_dialog("FPSDLG", main, recorder(end_on_buttons)), ctl::kOk);
    EXPECT_EQ(typed, "30");
    EXPECT_EQ(platform().run_dialog("NOSUCHDLG", main, recorder()), -1);
}

// --- Tab controls -------------------------------------------------------------------------------

TEST_P(Behaviour, TabsChangedByCodeNeverNotify) {
    WindowHandle main = make_main();
    WindowHandle tabs =
        platform().create_control(main, ControlKind::kTabControl, 9, "", rect_at(0, 0, 400, 30));
    for (const char* name : {"A", "B", "C"}) platform().tab_insert(tabs, -1, name);
    EXPECT_EQ(platform().tab_count(tabs), 3);
    EXPECT_EQ(platform().tab_selection(tabs), 0);  // the first tab comes selected
    EXPECT_EQ(platform().tab_insert(tabs, 0, "Z"), 0);
    EXPECT_EQ(platform().tab_selection(tabs), 1);  // A stays selected: [Z A B C]
    EXPECT_EQ(platform().tab_text(tabs, 0), "Z");
    platform().tab_select(tabs, 3);
    platform().tab_select(tabs, 9);  // no such tab: nothing changes
    EXPECT_EQ(platform().tab_selection(tabs), 3);
    // The selected tab deleted: the tab in its place is selected, else the new last.
    platform().tab_delete(tabs, 3);
    EXPECT_EQ(platform().tab_selection(tabs), 2);  // [Z A B], B
    platform().tab_select(tabs, 1);
    platform().tab_delete(tabs, 1);
    EXPECT_EQ(platform().tab_selection(tabs), 1);  // [Z B], B
    platform().tab_delete(tabs, 0);
    EXPECT_EQ(platform().tab_selection(tabs), 0);  // [B]
    EXPECT_EQ(platform().tab_text(tabs, 0), "B");
    platform().tab_delete_all(tabs);
    EXPECT_EQ(platform().tab_count(tabs), 0);
    EXPECT_EQ(platform().tab_selection(tabs), -1);
    user().settle();
    EXPECT_TRUE(heard(msg::kNotify).empty());
}

TEST_P(Behaviour, EveryUserChangeOfATabNotifies) {
    WindowHandle tabs = kNoWindow;
    std::vector<int> selections;
    WindowHandle main = make_main(
        [&](WindowHandle, unsigned message, uintptr_t first, intptr_t second) -> intptr_t {
            if (message != msg::kNotify) return 0;
            const NotifyHeader& header = notify_header(second);
            EXPECT_EQ(header.from, tabs);
            EXPECT_EQ(header.id, 9);
            EXPECT_EQ(header.code, notify::kTabSelectionChange);
            EXPECT_EQ(first, 9u);
            selections.push_back(platform().tab_selection(tabs));  // already the new tab
            return 0;
        });
    tabs = platform().create_control(main, ControlKind::kTabControl, 9, "", rect_at(0, 0, 400, 30));
    for (const char* name : {"Final", "Predicted", "Residual", "Coef"})
        platform().tab_insert(tabs, -1, name);
    user().settle();
    user().click_tab(tabs, 2);
    user().click_tab(tabs, 2);  // already selected: no change
    user().press_key(tabs, key::kRight);
    user().press_key(tabs, key::kRight);  // past the last: no change
    user().press_key(tabs, key::kLeft);
    user().turn_wheel(tabs, 1);
    user().turn_wheel(tabs, -1);
    EXPECT_EQ(selections, (std::vector<int>{2, 3, 2, 3, 2}));
    EXPECT_EQ(platform().tab_selection(tabs), 2);
}

// --- Buttons, combo boxes, edit fields, texts, trees
// ----------------------------------------------

TEST_P(Behaviour, CheckBoxesAndRadioGroupsFollowClicks) {
    WindowHandle main = make_main();
    WindowHandle dialog = platform().create_dialog("DISPCTRLDLG", main, recorder());
    platform().show_window(dialog, ShowCommand::kShow);
    auto item = [&](int id) { return platform().dialog_item(dialog, id); };
    auto state = [&](int id) { return platform().check_state(item(id)); };
    heard_.clear();
    user().click(item(ctl::kComponentY));
    EXPECT_EQ(state(ctl::kComponentY), CheckState::kChecked);
    ASSERT_EQ(heard(msg::kCommand).size(), 1u);
    EXPECT_EQ(heard(msg::kCommand)[0].first, command_parameter(ctl::kComponentY));
    EXPECT_EQ(heard(msg::kCommand)[0].second, static_cast<intptr_t>(item(ctl::kComponentY)));
    // Only the program makes a box indeterminate; the user toggles checked and unchecked.
    platform().set_check(item(ctl::kComponentY), CheckState::kIndeterminate);
    EXPECT_EQ(state(ctl::kComponentY), CheckState::kIndeterminate);
    std::vector<CheckState> toggled;
    for (int i = 0; i < 3; ++i) {
        user().click(item(ctl::kComponentY));
        toggled.push_back(state(ctl::kComponentY));
    }
    EXPECT_EQ(toggled, (std::vector<CheckState>{CheckState::kChecked, CheckState::kUnchecked,
                                                CheckState::kChecked}));
    user().click(item(ctl::kStatisticsQpRadio));
    user().click(item(ctl::kStatisticsBitsRadio));
    EXPECT_EQ(state(ctl::kStatisticsBitsRadio), CheckState::kChecked);
    EXPECT_EQ(state(ctl::kStatisticsQpRadio), CheckState::kUnchecked);
    EXPECT_EQ(state(ctl::kComponentY), CheckState::kChecked);  // not of the group
    // No input while the control or its dialog is disabled.
    platform().enable_window(dialog, false);
    heard_.clear();
    user().click(item(ctl::kComponentU));
    platform().enable_window(dialog, true);
    platform().enable_window(item(ctl::kComponentV), false);
    user().click(item(ctl::kComponentV));
    EXPECT_EQ(state(ctl::kComponentU), CheckState::kUnchecked);
    EXPECT_EQ(state(ctl::kComponentV), CheckState::kUnchecked);
    EXPECT_TRUE(heard(msg::kCommand).empty());
}

TEST_P(Behaviour, ComboBoxesAndEditFieldsNotifyOnlyUserChanges) {
    WindowHandle main = make_main();
    WindowHandle dialog = platform().create_dialog("DEMUXERTYPEDLG", main, recorder());
    platform().show_window(dialog, ShowCommand::kShow);
    WindowHandle list = platform().dialog_item(dialog, ctl::kTypeList);
    for (const char* kind : {"H264 Annex B", "VP8/VP8 FILE", "MPEG2 TS FILE"})
        platform().list_add(list, kind);
    EXPECT_EQ(platform().list_count(list), 3);
    EXPECT_EQ(platform().list_selection(list), -1);
    EXPECT_EQ(platform().list_text(list, 1), "VP8/VP8 FILE");
    platform().list_select(list, 2);
    EXPECT_EQ(platform().list_selection(list), 2);
    platform().list_select(list, 7);
    EXPECT_EQ(platform().list_selection(list), -1);
    heard_.clear();
    user().choose_entry(list, 1);
    EXPECT_EQ(platform().list_selection(list), 1);
    std::vector<int> notifications;
    for (const Heard& h : heard(msg::kCommand))
        notifications.push_back(command_notification(h.first));
    EXPECT_EQ(notifications,
              (std::vector<int>{notify::kComboSelectionChange, notify::kComboSelectionEndOk}));
    platform().list_clear(list);
    EXPECT_EQ(platform().list_count(list), 0);
    EXPECT_EQ(platform().list_selection(list), -1);
    WindowHandle box =
        platform().create_control(main, ControlKind::kListBox, 4, "", rect_at(0, 0, 90, 90));
    for (const char* entry : {"a", "b"}) platform().list_add(box, entry);
    platform().list_select(box, 1);
    EXPECT_EQ(platform().list_selection(box), 1);
    platform().list_select(box, 5);  // no such entry: none selected
    EXPECT_EQ(platform().list_selection(box), -1);

    WindowHandle fps = platform().create_dialog("FPSDLG", main, recorder());
    platform().show_window(fps, ShowCommand::kShow);
    WindowHandle field = platform().dialog_item(fps, ctl::kFpsField);
    heard_.clear();
    platform().set_window_text(field, "15");
    EXPECT_TRUE(heard(msg::kCommand).empty());
    user().type(field, "25");
    EXPECT_EQ(platform().window_text(field), "25");
    ASSERT_FALSE(heard(msg::kCommand).empty());
    EXPECT_EQ(heard(msg::kCommand).back().first,
              command_parameter(ctl::kFpsField, notify::kEditChange));
}

TEST_P(Behaviour, EveryControlKindReadsBackItsText) {
    WindowHandle main = make_main();
    for (int kind = 0; kind <= static_cast<int>(ControlKind::kGraphFrame); ++kind) {
        SCOPED_TRACE(kind);
        WindowHandle control = platform().create_control(
            main, static_cast<ControlKind>(kind), 100 + kind, "first", rect_at(0, 0, 80, 40));
        EXPECT_EQ(platform().window_text(control), "first");
        platform().set_window_text(control, "second");
        EXPECT_EQ(platform().window_text(control), "second");
    }
    for (ControlKind kind :
         {ControlKind::kLabel, ControlKind::kCentredLabel, ControlKind::kTextView}) {
        WindowHandle control = platform().create_control(main, kind, 1, "", rect_at(0, 0, 80, 40));
        platform().set_window_text(control, "line\r\nnext");
        EXPECT_EQ(platform().window_text(control), "line\r\nnext");
    }
    platform().set_window_text(main, "Tavimor(VP8 Only) 2.00");
    EXPECT_EQ(platform().window_text(main), "Tavimor(VP8 Only) 2.00");
}

TEST_P(Behaviour, TreeItemsBelongToTheirTree) {
    WindowHandle main = make_main();
    WindowHandle header = platform().create_dialog("HDRINFODLG", main, recorder());
    WindowHandle other = platform().create_dialog("CONTAINERSTRUCTDLG", main, recorder());
    WindowHandle tree = platform().dialog_item(header, ctl::kHeaderTree);
    WindowHandle other_tree = platform().dialog_item(other, ctl::kStructureTree);
    TreeItem root = platform().tree_insert(tree, kTreeRoot, "frame_header");
    TreeItem key_frame = platform().tree_insert(tree, root, "key_frame");
    platform().tree_insert(tree, root, "show_frame");
    EXPECT_EQ(platform().tree_child_count(tree, kTreeRoot), 1);
    EXPECT_EQ(platform().tree_child_count(tree, root), 2);
    EXPECT_EQ(platform().tree_child(tree, root, 0), key_frame);
    EXPECT_EQ(platform().tree_item_text(tree, platform().tree_child(tree, root, 1)), "show_frame");
    EXPECT_EQ(platform().tree_child(tree, root, 2), kTreeRoot);
    EXPECT_EQ(platform().tree_insert(tree, TreeItem{123456}, "x"), kTreeRoot);
    // Another tree knows nothing of these items.
    EXPECT_EQ(platform().tree_item_text(other_tree, root), "");
    EXPECT_EQ(platform().tree_child_count(other_tree, root), 0);
    EXPECT_EQ(platform().tree_insert(other_tree, root, "x"), kTreeRoot);
    platform().tree_clear(tree);
    EXPECT_EQ(platform().tree_child_count(tree, kTreeRoot), 0);
    EXPECT_EQ(platform().tree_item_text(tree, key_frame), "");
    TreeItem again = platform().tree_insert(tree, kTreeRoot, "frame_header");
    platform().destroy_window(header);  // its items go with it
    EXPECT_EQ(platform().tree_item_text(tree, again), "");
    EXPECT_EQ(platform().tree_child_count(tree, again), 0);
}

// --- Menus and the toolbar -----------------------------------------------------------------------

TEST_P(Behaviour, MenusFromTemplatesAreFoundByCommandAndPosition) {
    WindowHandle main = make_main();
    MenuHandle bar = platform().load_menu(kMenuBarName);
    platform().set_menu(main, bar);
    EXPECT_EQ(platform().window_menu(main), bar);
    ASSERT_EQ(platform().menu_item_count(bar), 5);
    EXPECT_EQ(platform().menu_item_label(bar, by_position(4)), "Help");
    EXPECT_EQ(platform().menu_item_command(bar, 0), -1);  // a submenu
    MenuHandle tools = platform().submenu(bar, kToolsMenuPosition);
    ASSERT_EQ(platform().menu_item_count(tools), 10);
    EXPECT_EQ(platform().menu_item_command(tools, 7), cmd::kMbSearch);
    EXPECT_EQ(platform().menu_item_label(bar, by_command(cmd::kEndMbInfoDump)), "End MB info Dump");
    EXPECT_EQ(platform().menu_item_label(bar, by_command(cmd::kRecentFiles)), "Recent Files");
    EXPECT_EQ(platform().submenu(tools, 0), kNoMenu);

    EXPECT_TRUE(platform().enable_menu_item(bar, by_command(cmd::kMbSearch), false));
    EXPECT_FALSE(platform().is_menu_item_enabled(tools, by_position(7)));
    EXPECT_TRUE(platform().is_menu_item_enabled(tools, by_position(6)));
    EXPECT_TRUE(platform().check_menu_item(bar, by_command(cmd::kMbRect), true));
    EXPECT_TRUE(platform().is_menu_item_checked(bar, by_command(cmd::kMbRect)));
    platform().check_menu_item(bar, by_command(cmd::kMbRect), false);
    EXPECT_FALSE(platform().is_menu_item_checked(bar, by_command(cmd::kMbRect)));

    MenuHandle recent = platform().submenu(platform().submenu(bar, 0), 2);
    ASSERT_EQ(platform().menu_item_count(recent), 0);
    platform().insert_menu_item(recent, -1, 215, "VP8: /b.ivf");
    platform().insert_menu_item(recent, 99, 216, "VP8: /c.ivf");  // past the end: appended
    platform().insert_menu_item(recent, 0, 214, "VP8: /a.ivf");
    EXPECT_EQ(platform().menu_item_command(recent, 0), 214);
    EXPECT_EQ(platform().menu_item_command(recent, 2), 216);
    EXPECT_TRUE(platform().delete_menu_item(bar, by_command(215)));  // found in the submenu
    EXPECT_FALSE(platform().delete_menu_item(bar, by_command(215)));
    EXPECT_EQ(platform().menu_item_count(recent), 2);
    EXPECT_EQ(platform().menu_item_label(recent, by_position(5)), "");
    EXPECT_FALSE(platform().enable_menu_item(recent, by_command(999), true));
    EXPECT_FALSE(platform().insert_submenu(recent, -1, bar, "loop"));  // not inside itself
    platform().destroy_menu(bar);
    EXPECT_EQ(platform().window_menu(main), kNoMenu);
    EXPECT_EQ(platform().menu_item_count(bar), -1);
}

TEST_P(Behaviour, ToolbarButtonsPressAsTheirStateAllows) {
    WindowHandle main = make_main();
    WindowHandle toolbar = platform().create_toolbar(main, ctl::kToolbar);
    platform().autosize_toolbar(toolbar);
    user().settle();
    EXPECT_EQ(platform().dialog_item(main, ctl::kToolbar), toolbar);
    EXPECT_EQ(platform().window_rect(toolbar).width(), platform().client_rect(main).width());
    EXPECT_GT(platform().window_rect(toolbar).height(), 0);
    EXPECT_EQ(platform().button_state(toolbar, cmd::kOpen), kButtonEnabled);
    EXPECT_EQ(platform().button_state(toolbar, cmd::kStepBackward), kButtonIndeterminate);
    EXPECT_EQ(platform().button_tooltip(toolbar, cmd::kPlay), "Begin/Resume Playback");
    EXPECT_EQ(platform().button_tooltip(toolbar, 0), "");
    for (int command : {cmd::kStop, cmd::kPlay, cmd::kPause, cmd::kFastForward, cmd::kMbRect})
        platform().set_button_state(toolbar, command, kButtonEnabled);
    platform().set_button_state(toolbar, cmd::kStepForward, kButtonEnabled | kButtonIndeterminate);
    platform().set_button_state(toolbar, cmd::kMbBlocks, kButtonEnabled | kButtonHidden);
    user().settle();
    for (int command : {cmd::kOpen, cmd::kStepBackward, cmd::kStepForward, cmd::kMbBlocks,
                        cmd::kPlay, cmd::kFastForward, cmd::kMbRect})
        user().press_toolbar_button(toolbar, command);
    // Greyed (indeterminate, enabled or not) and hidden buttons send nothing.
    EXPECT_EQ(commands(),
              (std::vector<int>{cmd::kOpen, cmd::kPlay, cmd::kFastForward, cmd::kMbRect}));
    EXPECT_EQ(heard(msg::kCommand)[0].second, static_cast<intptr_t>(toolbar));
    // Of the check group only the last pressed stays checked; other buttons keep their state.
    EXPECT_EQ(platform().button_state(toolbar, cmd::kFastForward), kButtonEnabled | kButtonChecked);
    EXPECT_EQ(platform().button_state(toolbar, cmd::kPlay), kButtonEnabled);
    EXPECT_EQ(platform().button_state(toolbar, cmd::kMbRect), kButtonEnabled);
    EXPECT_EQ(platform().button_state(toolbar, cmd::kStepForward),
              kButtonEnabled | kButtonIndeterminate);
}

// --- The tip window and settings files -----------------------------------------------------------

TEST_P(Behaviour, TipShowsWhileActiveAtTheTrackedPoint) {
    WindowHandle main = make_main();
    WindowHandle tip = platform().create_tip_window(main);
    ASSERT_NE(tip, kNoWindow);
    EXPECT_FALSE(platform().is_window_visible(tip));
    platform().tip_activate(tip, true);
    platform().tip_set_text(tip, "12(3,4)\r\nB_PRED");
    platform().tip_track_position(tip, {110, 80});
    EXPECT_TRUE(platform().is_window_visible(tip));
    Rect at = platform().window_rect(tip);
    EXPECT_EQ((Point{at.left, at.top}), (Point{110, 80}));
    platform().tip_activate(tip, false);
    EXPECT_FALSE(platform().is_window_visible(tip));
}

TEST_P(Behaviour, SettingsFilesAreReadWrittenAndKeysDeleted) {
    std::string file =
        (std::filesystem::temp_directory_path() / ("tavimor-behaviour-" + GetParam() + ".ini"))
            .string();
    std::filesystem::remove(file);
    EXPECT_EQ(platform().profile_int("Local Info", "CheckNever", 7, file), 7);  // no file yet
    EXPECT_TRUE(platform().write_profile_string("File History", "File0", "VP8: /a.ivf", file));
    EXPECT_TRUE(platform().write_profile_string("Local Info", "CheckNever", "1", file));
    EXPECT_EQ(platform().profile_string("file history", "FILE0", "", 100, file), "VP8: /a.ivf");
    EXPECT_EQ(platform().profile_string("File History", "File0", "", 5, file), "VP8: ");
    EXPECT_EQ(platform().profile_int("Local Info", "CheckNever", 0, file), 1);
    EXPECT_TRUE(platform().write_profile_string("File History", "File0", std::nullopt, file));
    EXPECT_EQ(platform().profile_string("File History", "File0", "gone", 100, file), "gone");
    EXPECT_EQ(platform().profile_int("Local Info", "CheckNever", 0, file), 1);
    std::filesystem::remove(file);
}

INSTANTIATE_TEST_SUITE_P(Platforms, Behaviour, ::testing::Values("headless", "qt"),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             return info.param;
                         });

}  // namespace
}  // namespace tavimor::test

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);  // one for the whole run
    return RUN_ALL_TESTS();
}
