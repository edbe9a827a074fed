// What the application relies on from the window system, asked the same of
// the headless implementation and of the Qt one (off screen). The user is
// played for each: headless through its scripting methods, Qt through its
// widgets and synthesized events.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QWheelEvent>
#include <algorithm>
#include <cstdlib>

#include "platform/headless/headless_platform.h"
#include "platform/qt/qt_platform.h"
#include "resources/command_ids.h"
#include "resources/control_ids.h"
#include "resources/dialog_templates.h"
#include "resources/menu_templates.h"

namespace tavimor {
namespace {

// --- The user of each window system --------------------------------------------------------------

class User {
  public:
    virtual ~User() = default;
    virtual Platform& platform() = 0;
    virtual void settle() = 0;  // lets queued messages and paints arrive
    virtual void click(WindowHandle control) = 0;
    virtual void click_tab(WindowHandle tabs, int index) = 0;
    virtual void turn_wheel(WindowHandle tabs, int notches) = 0;  // towards the user
    virtual void press_key(WindowHandle window, int virtual_key, bool control = false) = 0;
    virtual void left_click(WindowHandle window, Point client, bool control) = 0;
    virtual void type(WindowHandle edit, std::string_view text) = 0;  // replaces the text
    virtual void choose_entry(WindowHandle combo, int index) = 0;
    virtual void press_button(WindowHandle toolbar, int command) = 0;
    virtual Point context_menu(WindowHandle window, Point client) = 0;  // the screen point
    virtual void drop(WindowHandle window, const std::vector<std::string>& paths) = 0;
    virtual void resize(WindowHandle window, int width, int height) = 0;
    virtual std::optional<int> timer_period(WindowHandle window, int id) = 0;
    // Until fired() says so, or long enough that it would have.
    virtual void let_timer_run(WindowHandle window, int id, std::function<bool()> fired) = 0;
    virtual uint32_t pixel(WindowHandle window, Point at) = 0;  // what is seen, 0x00RRGGBB
    // What the user does in the next modal dialog; left open, it is cancelled.
    virtual void in_next_dialog(std::function<void(WindowHandle)> script) = 0;
};

class HeadlessUser : public User {
  public:
    Platform& platform() override { return h_; }
    void settle() override { h_.deliver_posted(); }
    void click(WindowHandle c) override { h_.click(h_.parent_window(c), h_.control_id(c)); }
    void click_tab(WindowHandle tabs, int index) override { h_.choose_tab(tabs, index); }
    void turn_wheel(WindowHandle tabs, int notches) override {
        h_.choose_tab(tabs,
                      std::clamp(h_.tab_selection(tabs) + notches, 0, h_.tab_count(tabs) - 1));
    }
    void press_key(WindowHandle window, int virtual_key, bool control) override {
        h_.set_key_down(key::kControl, control);
        h_.press_key(window, virtual_key);
        h_.set_key_down(key::kControl, false);
    }
    void left_click(WindowHandle window, Point client, bool control) override {
        h_.set_key_down(key::kControl, control);
        h_.left_click(window, client);
        h_.set_key_down(key::kControl, false);
    }
    void type(WindowHandle e, std::string_view text) override {
        h_.type_text(h_.parent_window(e), h_.control_id(e), text);
    }
    void choose_entry(WindowHandle c, int index) override {
        h_.choose_list_entry(h_.parent_window(c), h_.control_id(c), index);
    }
    void press_button(WindowHandle bar, int command) override {
        h_.press_toolbar_button(bar, command);
    }
    Point context_menu(WindowHandle window, Point client) override {
        h_.open_context_menu(window, h_.client_to_screen(window, client));
        return h_.client_to_screen(window, client);
    }
    void drop(WindowHandle window, const std::vector<std::string>& paths) override {
        h_.drop_files(window, paths);
    }
    void resize(WindowHandle window, int w, int h) override { h_.resize_client(window, w, h); }
    std::optional<int> timer_period(WindowHandle w, int id) override {
        return h_.timer_period(w, id);
    }
    void let_timer_run(WindowHandle w, int id, std::function<bool()>) override {
        h_.fire_timer(w, id);
    }
    uint32_t pixel(WindowHandle window, Point at) override {
        return h_.client_pixels(window)[at.y * h_.client_rect(window).width() + at.x];
    }
    void in_next_dialog(std::function<void(WindowHandle)> script) override {
        h_.script_next_dialog("", [script](HeadlessPlatform&, WindowHandle d) { script(d); });
    }

  private:
    HeadlessPlatform h_;
};

class QtUser : public User {
  public:
    Platform& platform() override { return qt_; }
    void settle() override {
        for (int round = 0; round < 4; ++round) QCoreApplication::processEvents();
    }
    void click(WindowHandle control) override {
        QWidget* button = qt_.widget(control);
        // Check boxes and radio buttons take the click on their indicator.
        bool box = button->inherits("QCheckBox") || button->inherits("QRadioButton");
        QTest::mouseClick(button, Qt::LeftButton, {},
                          box ? QPoint(6, button->height() / 2) : button->rect().center());
    }
    void click_tab(WindowHandle tabs, int index) override {
        auto* bar = static_cast<QTabBar*>(qt_.widget(tabs));
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }
    void turn_wheel(WindowHandle tabs, int notches) override {
        QWheelEvent wheel({5, 5}, qt_.widget(tabs)->mapToGlobal(QPointF(5, 5)), {},
                          {0, -120 * notches}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(qt_.widget(tabs), &wheel);
    }
    // Keys and clicks go as plain events, which leave Qt's own record of the
    // keyboard alone: the platform must go by the event itself.
    void press_key(WindowHandle window, int virtual_key, bool control) override {
        static const std::map<int, Qt::Key> kKeys = {{key::kLeft, Qt::Key_Left},
                                                     {key::kRight, Qt::Key_Right},
                                                     {key::kReturn, Qt::Key_Return},
                                                     {key::kEscape, Qt::Key_Escape}};
        for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent event(type, kKeys.at(virtual_key),
                            control ? Qt::ControlModifier : Qt::NoModifier);
            QCoreApplication::sendEvent(qt_.widget(window), &event);
        }
    }
    void left_click(WindowHandle window, Point client, bool control) override {
        QPointF at(client.x, client.y), screen = qt_.widget(window)->mapToGlobal(at);
        auto modifiers = control ? Qt::ControlModifier : Qt::NoModifier;
        QMouseEvent press(QEvent::MouseButtonPress, at, screen, Qt::LeftButton, Qt::LeftButton,
                          modifiers);
        QMouseEvent release(QEvent::MouseButtonRelease, at, screen, Qt::LeftButton, {}, modifiers);
        QCoreApplication::sendEvent(qt_.widget(window), &press);
        QCoreApplication::sendEvent(qt_.widget(window), &release);
    }
    void type(WindowHandle edit, std::string_view text) override {
        QTest::keyClick(qt_.widget(edit), Qt::Key_A, Qt::ControlModifier);  // select all
        QTest::keyClicks(qt_.widget(edit), QString::fromStdString(std::string(text)));
    }
    void choose_entry(WindowHandle combo, int index) override {
        auto* box = static_cast<QComboBox*>(qt_.widget(combo));
        box->showPopup();
        QRect item = box->view()->visualRect(box->model()->index(index, 0));
        QTest::mouseClick(box->view()->viewport(), Qt::LeftButton, {}, item.center());
    }
    void press_button(WindowHandle toolbar, int command) override {
        auto* bar = static_cast<QToolBar*>(qt_.widget(toolbar));
        for (QAction* action : bar->actions()) {
            QWidget* button = bar->widgetForAction(action);
            // What is not shown cannot be pressed.
            if (action->property("tavimor_command").toInt() == command && button->isVisible())
                QTest::mouseClick(button, Qt::LeftButton);
        }
    }
    Point context_menu(WindowHandle window, Point client) override {
        QWidget* target = qt_.widget(window);
        if (auto* view = qobject_cast<QPlainTextEdit*>(target)) target = view->viewport();
        QPoint at(client.x, client.y), screen = target->mapToGlobal(at);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, screen);
        QCoreApplication::sendEvent(target, &event);
        return {screen.x(), screen.y()};
    }
    void drop(WindowHandle window, const std::vector<std::string>& paths) override {
        QMimeData data;
        QList<QUrl> urls;
        for (const std::string& path : paths) urls << QUrl::fromLocalFile(path.c_str());
        data.setUrls(urls);
        QDragEnterEvent enter({5, 5}, Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(qt_.widget(window)->window(), &enter);
        QDropEvent drop({5, 5}, Qt::CopyAction, &data, Qt::LeftButton, {});
        if (enter.isAccepted()) QCoreApplication::sendEvent(qt_.widget(window)->window(), &drop);
    }
    void resize(WindowHandle window, int width, int height) override {
        QWidget* client = qt_.widget(window);
        QSize grow(width - client->width(), height - client->height());
        client->window()->resize(client->window()->size() + grow);
        settle();
    }
    std::optional<int> timer_period(WindowHandle w, int id) override {
        return qt_.timer_period(w, id);
    }
    void let_timer_run(WindowHandle w, int id, std::function<bool()> fired) override {
        int patience = qt_.timer_period(w, id) ? 1000 : 100;  // ms
        QElapsedTimer waited;
        waited.start();
        while (!fired() && waited.elapsed() < patience) QTest::qWait(5);
    }
    uint32_t pixel(WindowHandle window, Point at) override {
        return qt_.widget(window)->grab().toImage().pixel(at.x, at.y) & 0xFFFFFF;
    }
    void in_next_dialog(std::function<void(WindowHandle)> script) override {
        QTimer::singleShot(0, &context_, [this, script] {
            QWidget* modal = QApplication::activeModalWidget();
            WindowHandle dialog{modal->property("tavimor_handle").toInt()};
            script(dialog);
            if (qt_.is_window(dialog) && modal->isVisible()) press_key(dialog, key::kEscape, false);
            if (qt_.is_window(dialog) && modal->isVisible()) qt_.end_dialog(dialog, ctl::kCancel);
        });
    }

  private:
    int argc_ = 0;
    QtPlatform qt_{argc_, nullptr};
    QObject context_;  // scripts of dialogs that never came go with the user
};

// --- The fixture ---------------------------------------------------------------------------------

struct Heard {
    WindowHandle window;
    unsigned message;
    uintptr_t first;
    intptr_t second;
};
using Reaction = std::function<intptr_t(WindowHandle, unsigned, uintptr_t, intptr_t)>;

class Behaviour : public ::testing::TestWithParam<std::string> {
  protected:
    void SetUp() override {
        if (GetParam() == "qt")
            user_ = std::make_unique<QtUser>();
        else
            user_ = std::make_unique<HeadlessUser>();
    }
    Platform& platform() { return user_->platform(); }
    User& user() { return *user_; }

    // Records what the window hears; react may answer before the default does.
    WindowProc recorder(Reaction react = nullptr) {
        return [this, react](WindowHandle w, unsigned m, uintptr_t f, intptr_t s) -> intptr_t {
            heard_.push_back({w, m, f, s});
            intptr_t result = react ? react(w, m, f, s) : 0;
            return result ? result : platform().default_window_proc(w, m, f, s);
        };
    }
    WindowHandle make_main(Reaction react = nullptr, bool shown = true) {
        WindowHandle main = platform().create_main_window("main", recorder(std::move(react)));
        if (shown) platform().show_window(main, ShowCommand::kShow);
        user().settle();
        heard_.clear();
        return main;
    }
    WindowHandle shown_dialog(std::string_view name, WindowHandle owner) {
        WindowHandle dialog = platform().create_dialog(name, owner, recorder());
        platform().show_window(dialog, ShowCommand::kShow);
        heard_.clear();
        return dialog;
    }
    std::vector<Heard> heard(unsigned message) const {
        std::vector<Heard> out;
        std::copy_if(heard_.begin(), heard_.end(), std::back_inserter(out),
                     [message](const Heard& h) { return h.message == message; });
        return out;
    }

    std::vector<Heard> heard_;
    std::unique_ptr<User> user_;  // goes first: its windows may still call recorders
};

// --- Windows, messages, timers -------------------------------------------------------------------

TEST_P(Behaviour, ControlsAreSeenOnlyWhenEveryWindowTheyLieInIs) {
    WindowHandle main = make_main(nullptr, false);
    WindowHandle label =
        platform().create_control(main, ControlKind::kLabel, 7, "x", rect_at(10, 20, 30, 40));
    EXPECT_FALSE(platform().is_window_visible(label));
    platform().show_window(main, ShowCommand::kShow);
    EXPECT_TRUE(platform().is_window_visible(label));
    EXPECT_EQ(platform().window_rect(label), rect_at(10, 20, 30, 40));
    Point origin = platform().client_to_screen(main, {0, 0});
    EXPECT_EQ(platform().client_to_screen(label, {5, 6}), (Point{origin.x + 15, origin.y + 26}));

    WindowHandle dialog = platform().create_dialog("GOTODLG", main, recorder());
    WindowHandle column = platform().dialog_item(dialog, ctl::kGotoColumn);
    WindowHandle frame = platform().dialog_item(dialog, ctl::kGotoFrame);  // hidden by its template
    EXPECT_FALSE(platform().is_window_visible(column));
    platform().show_window(dialog, ShowCommand::kShow);
    EXPECT_TRUE(platform().is_window_visible(column));
    EXPECT_FALSE(platform().is_window_visible(frame));
    platform().show_window(frame, ShowCommand::kShow);
    EXPECT_TRUE(platform().is_window_visible(frame));
    platform().show_window(dialog, ShowCommand::kHide);
    EXPECT_FALSE(platform().is_window_visible(column));
    // Enabling is the window's own.
    platform().enable_window(dialog, false);
    EXPECT_FALSE(platform().is_window_enabled(dialog));
    EXPECT_TRUE(platform().is_window_enabled(column));
}

TEST_P(Behaviour, SentMessagesArriveAtOncePostedOnesInOrderAfter) {
    WindowHandle other = platform().create_main_window("other", recorder());
    WindowHandle main = make_main([&](WindowHandle w, unsigned m, uintptr_t f, intptr_t) {
        if (m == msg::kUser && f == 1) platform().post_message(w, msg::kUser, 3, 0);
        if (m == msg::kUser && f == 3) platform().post_quit(5);
        return intptr_t{m == msg::kUser + 1 ? 42 : 0};
    });
    platform().post_message(main, msg::kUser, 1, 0);
    platform().post_message(main, msg::kUser, 2, 0);
    EXPECT_EQ(platform().send_message(main, msg::kUser + 1, 0, 0), 42);
    EXPECT_EQ(heard_.size(), 1u);
    platform().destroy_window(other);
    platform().post_message(other, msg::kUser, 9, 0);  // gone: dropped
    EXPECT_EQ(platform().run_message_loop(), 5);
    std::vector<uintptr_t> order;
    for (const Heard& h : heard(msg::kUser)) order.push_back(h.first);
    EXPECT_EQ(order, (std::vector<uintptr_t>{1, 2, 3}));
}

TEST_P(Behaviour, TimersRunAtLeastAtTheMinimumPeriodUntilKilled) {
    WindowHandle main = make_main();
    auto fired = [&] { return !heard(msg::kTimer).empty(); };
    platform().set_timer(main, 1, 0);
    EXPECT_EQ(user().timer_period(main, 1), 10);
    user().let_timer_run(main, 1, fired);
    ASSERT_TRUE(fired());
    platform().set_timer(main, 1, 66);  // replaces the period
    EXPECT_EQ(user().timer_period(main, 1), 66);
    platform().kill_timer(main, 1);
    EXPECT_EQ(user().timer_period(main, 1), std::nullopt);
    heard_.clear();
    user().let_timer_run(main, 1, fired);
    EXPECT_FALSE(fired());
}

// --- Painting and presenting ---------------------------------------------------------------------

TEST_P(Behaviour, InvalidationsBeforeAPaintBringOneKPaint) {
    WindowHandle main = make_main();
    auto paints_after_settling = [&] {
        user().settle();
        return heard(msg::kPaint).size();
    };
    for (int i = 0; i < 3; ++i) platform().invalidate(main);
    EXPECT_EQ(paints_after_settling(), 1u);
    platform().invalidate(main);
    EXPECT_EQ(paints_after_settling(), 2u);
    platform().show_window(main, ShowCommand::kHide);
    platform().invalidate(main);
    EXPECT_EQ(paints_after_settling(), 2u);  // hidden: painted once shown
    platform().show_window(main, ShowCommand::kShow);
    EXPECT_EQ(paints_after_settling(), 3u);
    user().resize(main, 300, 200);
    EXPECT_EQ(paints_after_settling(), 4u);
    ASSERT_FALSE(heard(msg::kSize).empty());
    EXPECT_EQ(unpack_point(heard(msg::kSize).back().second), (Point{300, 200}));
    EXPECT_EQ(platform().client_rect(main), rect_at(0, 0, 300, 200));
}

TEST_P(Behaviour, PresentsShowTheLastPictureAndAskNoRepaint) {
    // 3x2 with padded rows: red, green, grey / blue, black, white.
    const uint32_t kPixels[8] = {0xFF0000, 0x00FF00, 0x808080, 0, 0x0000FF, 0, 0xFFFFFF, 0};
    struct Shown {
        SurfaceView pixels;
        Rect source;
        Point at;
    } shown{{reinterpret_cast<const uint8_t*>(kPixels), 3, 2, 16, 4}, {0, 0, 3, 2}, {10, 20}};
    // The procedure presents what was presented last, as the display does.
    WindowHandle main = make_main([&](WindowHandle w, unsigned m, uintptr_t, intptr_t) {
        if (m == msg::kPaint) platform().present(w, shown.pixels, shown.source, shown.at);
        return intptr_t{0};
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
    EXPECT_EQ(heard(msg::kPaint).size(), 1u);  // presenting during kPaint asks for no other
    EXPECT_EQ(user().pixel(main, {10, 20}), 0xFF0000u);
    EXPECT_EQ(user().pixel(main, {12, 20}), 0x808080u);
    EXPECT_EQ(user().pixel(main, {10, 21}), 0x0000FFu);
    // Part of it: the source's corner lands on the destination; the picture before is gone.
    EXPECT_TRUE(present({shown.pixels, {1, 1, 3, 2}, {30, 40}}));
    EXPECT_EQ(user().pixel(main, {30, 40}), 0x000000u);
    EXPECT_EQ(user().pixel(main, {29, 40}), 0xFFFFFFu);
    EXPECT_EQ(user().pixel(main, {10, 20}), 0xFFFFFFu);
    const uint8_t kThree[6] = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66};
    present({{kThree, 2, 1, 6, 3}, {0, 0, 2, 1}, {5, 5}});
    EXPECT_EQ(user().pixel(main, {6, 5}), 0x665544u);
    const uint16_t kSixteen[2] = {0xF800, 0x07E0};  // 5-6-5 red, green
    present({{reinterpret_cast<const uint8_t*>(kSixteen), 2, 1, 4, 2}, {0, 0, 2, 1}, {5, 5}});
    EXPECT_EQ(user().pixel(main, {6, 5}), 0x00FC00u);
}

// --- Keys, mouse, context menus, dropped files ---------------------------------------------------

TEST_P(Behaviour, KeysAndClicksCarryTheControlKey) {
    std::vector<bool> control_down;
    WindowHandle main = make_main([&](WindowHandle, unsigned m, uintptr_t f, intptr_t) {
        if ((m == msg::kKeyDown && f == key::kRight) || m == msg::kLeftButtonDown)
            control_down.push_back(platform().is_key_down(key::kControl));
        return intptr_t{0};
    });
    user().press_key(main, key::kRight, true);
    user().press_key(main, key::kRight, false);
    user().left_click(main, {30, 40}, true);
    EXPECT_EQ(control_down, (std::vector<bool>{true, false, true}));
    ASSERT_EQ(heard(msg::kLeftButtonDown).size(), 1u);
    EXPECT_TRUE(heard(msg::kLeftButtonDown)[0].first & key::kControlState);
    EXPECT_EQ(unpack_point(heard(msg::kLeftButtonDown)[0].second), (Point{30, 40}));
}

TEST_P(Behaviour, ClicksOnAFrameReachItsDialogAtTheDialogsPoint) {
    WindowHandle dialog = shown_dialog("STREAMGRAPHDLG", make_main());
    user().settle();
    heard_.clear();
    WindowHandle frame = platform().dialog_item(dialog, ctl::kStreamGraphFrame);
    const Rect at = platform().window_rect(frame);
    user().left_click(frame, {5, 7}, false);
    const std::vector<Heard> clicks = heard(msg::kLeftButtonDown);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].window, dialog);
    EXPECT_EQ(unpack_point(clicks[0].second), (Point{at.left + 5, at.top + 7}));
}

TEST_P(Behaviour, ContextMenuNamesTheWindowAndTheScreenPoint) {
    WindowHandle main = make_main();
    Point screen = user().context_menu(main, {15, 25});
    ASSERT_EQ(heard(msg::kContextMenu).size(), 1u);
    EXPECT_EQ(heard(msg::kContextMenu)[0].first, static_cast<uintptr_t>(main));
    EXPECT_EQ(unpack_point(heard(msg::kContextMenu)[0].second), screen);
    // A control's own procedure sees its context menu.
    WindowHandle view =
        platform().create_control(main, ControlKind::kTextView, 5, "", rect_at(0, 0, 90, 60));
    platform().set_control_proc(view, recorder([](auto...) { return intptr_t{1}; }));
    user().context_menu(view, {3, 4});
    ASSERT_EQ(heard(msg::kContextMenu).size(), 2u);
    EXPECT_EQ(heard(msg::kContextMenu)[1].window, view);
    EXPECT_EQ(heard(msg::kContextMenu)[1].first, static_cast<uintptr_t>(view));
}

TEST_P(Behaviour, DroppedFilesArriveOnlyWhileAccepted) {
    std::vector<std::string> dropped;
    WindowHandle main = make_main([&](WindowHandle, unsigned m, uintptr_t, intptr_t s) {
        if (m == msg::kDropFiles) dropped = dropped_paths(s);
        return intptr_t{0};
    });
    user().drop(main, {"/a.ivf"});
    EXPECT_TRUE(dropped.empty());
    platform().accept_dropped_files(main, true);
    user().drop(main, {"/a.ivf", "/b c.ivf"});
    EXPECT_EQ(dropped, (std::vector<std::string>{"/a.ivf", "/b c.ivf"}));
}

// --- Dialogs -------------------------------------------------------------------------------------

TEST_P(Behaviour, DialogsHaveTheirTemplateControlsBeforeInitDialog) {
    WindowHandle main = make_main();
    for (const DialogTemplate& form : dialog_templates()) {
        SCOPED_TRACE(form.name);
        auto addressed = [&](WindowHandle dialog, auto check) {
            for (const ControlTemplate& control : form.controls) {
                WindowHandle item = platform().dialog_item(dialog, control.id);
                if (control.id != kUnaddressedControl) check(control, item);
            }
        };
        int inits = 0;
        auto on_init = [&](WindowHandle dialog, unsigned m, uintptr_t, intptr_t) {
            if (m != msg::kInitDialog) return intptr_t{0};
            ++inits;
            addressed(dialog, [&](const ControlTemplate& control, WindowHandle item) {
                EXPECT_EQ(platform().control_id(item), control.id);
                EXPECT_EQ(platform().window_text(item), control.text);
                EXPECT_FALSE(platform().is_window_visible(item));  // not shown yet
            });
            return intptr_t{0};
        };
        WindowHandle dialog = platform().create_dialog(form.name, main, recorder(on_init));
        EXPECT_EQ(inits, 1);
        EXPECT_EQ(platform().window_text(dialog), form.title);
        EXPECT_EQ(platform().client_rect(dialog), rect_at(0, 0, form.width, form.height));
        platform().show_window(dialog, ShowCommand::kShow);
        addressed(dialog, [&](const ControlTemplate& control, WindowHandle item) {
            EXPECT_EQ(platform().is_window_visible(item), control.visible) << control.id;
        });
        platform().destroy_window(dialog);
    }
    EXPECT_EQ(platform().create_dialog("NOSUCHDLG", main, recorder()), kNoWindow);
}

TEST_P(Behaviour, ModalDialogsEndByTheirProcedure) {
    WindowHandle main = make_main();
    auto end_at_init = [&](WindowHandle dialog, unsigned m, uintptr_t, intptr_t) {
        if (m == msg::kInitDialog) platform().end_dialog(dialog, 7);
        return intptr_t{0};
    };
    EXPECT_EQ(platform().run_dialog("FPSDLG", main, recorder(end_at_init)), 7);  // never shown
    EXPECT_TRUE(heard(msg::kCommand).empty());
    EXPECT_EQ(heard_.back().message, msg::kDestroy);

    auto end_on_buttons = [&](WindowHandle dialog, unsigned m, uintptr_t f, intptr_t) {
        if (m == msg::kCommand && (command_id(f) == ctl::kOk || command_id(f) == ctl::kCancel))
            platform().end_dialog(dialog, command_id(f));
        return intptr_t{0};
    };
    WindowHandle cancel = kNoWindow;
    bool field_seen = false;
    std::string typed;
    user().in_next_dialog([&](WindowHandle dialog) {
        field_seen = platform().is_window_visible(platform().dialog_item(dialog, ctl::kFpsField));
        cancel = platform().dialog_item(dialog, ctl::kCancel);
        user().press_key(dialog, key::kEscape);
    });
    heard_.clear();
    EXPECT_EQ(platform().run_dialog("FPSDLG", main, recorder(end_on_buttons)), ctl::kCancel);
    EXPECT_TRUE(field_seen);
    ASSERT_EQ(heard(msg::kCommand).size(), 1u);  // Escape: Cancel, from the Cancel button
    EXPECT_EQ(heard(msg::kCommand)[0].first, command_parameter(ctl::kCancel));
    EXPECT_EQ(heard(msg::kCommand)[0].second, static_cast<intptr_t>(cancel));
    user().in_next_dialog([&](WindowHandle dialog) {
        WindowHandle field = platform().dialog_item(dialog, ctl::kFpsField);
        user().type(field, "30");
        typed = platform().window_text(field);
        user().press_key(dialog, key::kReturn);  // clicks the default button
    });
    EXPECT_EQ(platform().run_dialog("FPSDLG", main, recorder(end_on_buttons)), ctl::kOk);
    EXPECT_EQ(typed, "30");
    EXPECT_EQ(platform().run_dialog("NOSUCHDLG", main, recorder()), -1);
}

// --- Tab controls --------------------------------------------------------------------------------

TEST_P(Behaviour, TabsChangedByCodeNeverNotify) {
    WindowHandle main = make_main();
    WindowHandle tabs =
        platform().create_control(main, ControlKind::kTabControl, 9, "", rect_at(0, 0, 400, 30));
    auto selected = [&] { return platform().tab_text(tabs, platform().tab_selection(tabs)); };
    for (const char* name : {"A", "B", "C"}) platform().tab_insert(tabs, -1, name);
    EXPECT_EQ(selected(), "A");  // the first tab comes selected
    EXPECT_EQ(platform().tab_insert(tabs, 0, "Z"), 0);
    EXPECT_EQ(selected(), "A");  // [Z A B C]
    platform().tab_select(tabs, 3);
    platform().tab_select(tabs, 9);  // no such tab: nothing changes
    EXPECT_EQ(selected(), "C");
    // The selected tab deleted: the tab in its place is selected, else the new last.
    platform().tab_delete(tabs, 3);
    EXPECT_EQ(selected(), "B");  // [Z A B]
    platform().tab_select(tabs, 1);
    platform().tab_delete(tabs, 1);
    EXPECT_EQ(selected(), "B");  // [Z B]
    platform().tab_delete(tabs, 0);
    EXPECT_EQ(platform().tab_selection(tabs), 0);  // [B]
    platform().tab_delete_all(tabs);
    EXPECT_EQ(platform().tab_count(tabs), 0);
    EXPECT_EQ(platform().tab_selection(tabs), -1);
    user().settle();
    EXPECT_TRUE(heard(msg::kNotify).empty());
}

TEST_P(Behaviour, EveryUserChangeOfATabNotifies) {
    WindowHandle tabs = kNoWindow;
    std::vector<int> selections;
    WindowHandle main = make_main([&](WindowHandle, unsigned m, uintptr_t f, intptr_t s) {
        if (m != msg::kNotify) return intptr_t{0};
        const NotifyHeader& header = notify_header(s);
        EXPECT_EQ(header.from, tabs);
        EXPECT_EQ(header.id, 9);
        EXPECT_EQ(f, 9u);
        EXPECT_EQ(header.code, notify::kTabSelectionChange);
        selections.push_back(platform().tab_selection(tabs));  // already the new tab
        return intptr_t{0};
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
}

// --- Buttons, lists, edit fields, texts, trees ---------------------------------------------------

TEST_P(Behaviour, CheckBoxesAndRadioGroupsFollowClicks) {
    WindowHandle dialog = shown_dialog("DISPCTRLDLG", make_main());
    auto item = [&](int id) { return platform().dialog_item(dialog, id); };
    auto state = [&](int id) { return platform().check_state(item(id)); };
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
    using enum CheckState;
    EXPECT_EQ(toggled, (std::vector<CheckState>{kChecked, kUnchecked, kChecked}));
    user().click(item(ctl::kStatisticsQpRadio));
    user().click(item(ctl::kStatisticsBitsRadio));
    EXPECT_EQ(state(ctl::kStatisticsBitsRadio), kChecked);
    EXPECT_EQ(state(ctl::kStatisticsQpRadio), kUnchecked);
    EXPECT_EQ(state(ctl::kComponentY), kChecked);  // not of the group
    // No input while the control or its dialog is disabled.
    platform().enable_window(dialog, false);
    heard_.clear();
    user().click(item(ctl::kComponentU));
    platform().enable_window(dialog, true);
    platform().enable_window(item(ctl::kComponentV), false);
    user().click(item(ctl::kComponentV));
    EXPECT_EQ(state(ctl::kComponentU), kUnchecked);
    EXPECT_EQ(state(ctl::kComponentV), kUnchecked);
    EXPECT_TRUE(heard(msg::kCommand).empty());
}

TEST_P(Behaviour, ListsAndEditFieldsNotifyOnlyUserChanges) {
    WindowHandle main = make_main();
    WindowHandle list =
        platform().dialog_item(shown_dialog("DEMUXERTYPEDLG", main), ctl::kTypeList);
    for (const char* kind : {"H264 Annex B", "VP8/VP8 FILE", "MPEG2 TS FILE"})
        platform().list_add(list, kind);
    EXPECT_EQ(platform().list_selection(list), -1);
    platform().list_select(list, 7);
    EXPECT_EQ(platform().list_selection(list), -1);
    user().choose_entry(list, 1);
    EXPECT_EQ(platform().list_selection(list), 1);
    std::vector<uintptr_t> notes;
    for (const Heard& h : heard(msg::kCommand)) notes.push_back(h.first);
    EXPECT_EQ(notes, (std::vector<uintptr_t>{
                         command_parameter(ctl::kTypeList, notify::kComboSelectionChange),
                         command_parameter(ctl::kTypeList, notify::kComboSelectionEndOk)}));
    platform().list_clear(list);
    EXPECT_EQ(platform().list_selection(list), -1);

    WindowHandle field = platform().dialog_item(shown_dialog("FPSDLG", main), ctl::kFpsField);
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
        WindowHandle control = platform().create_control(main, static_cast<ControlKind>(kind), 1,
                                                         "first", rect_at(0, 0, 80, 40));
        EXPECT_EQ(platform().window_text(control), "first") << kind;
        std::string text = kind == static_cast<int>(ControlKind::kEdit) ? "second" : "two\r\nlines";
        platform().set_window_text(control, text);
        EXPECT_EQ(platform().window_text(control), text) << kind;
    }
}

TEST_P(Behaviour, TreeItemsBelongToTheirTree) {
    WindowHandle main = make_main();
    WindowHandle header = platform().create_dialog("HDRINFODLG", main, recorder());
    WindowHandle tree = platform().dialog_item(header, ctl::kHeaderTree);
    WindowHandle other = platform().dialog_item(
        platform().create_dialog("CONTAINERSTRUCTDLG", main, recorder()), ctl::kStructureTree);
    TreeItem root = platform().tree_insert(tree, kTreeRoot, "frame_header");
    TreeItem key_frame = platform().tree_insert(tree, root, "key_frame");
    platform().tree_insert(tree, root, "show_frame");
    EXPECT_EQ(platform().tree_child(tree, root, 0), key_frame);
    EXPECT_EQ(platform().tree_item_text(tree, platform().tree_child(tree, root, 1)), "show_frame");
    EXPECT_EQ(platform().tree_child(tree, root, 2), kTreeRoot);
    EXPECT_EQ(platform().tree_insert(tree, TreeItem{123456}, "x"), kTreeRoot);
    EXPECT_EQ(platform().tree_item_text(other, root), "");  // another tree knows none of them
    EXPECT_EQ(platform().tree_child_count(other, root), 0);
    EXPECT_EQ(platform().tree_insert(other, root, "x"), kTreeRoot);
    platform().tree_clear(tree);
    EXPECT_EQ(platform().tree_child_count(tree, kTreeRoot), 0);
    EXPECT_EQ(platform().tree_item_text(tree, key_frame), "");
    // Filled in one go: parents come before their children; a bad parent index
    // makes a top-level item.
    platform().tree_insert(tree, kTreeRoot, "replaced");
    platform().tree_set_items(
        tree, {{-1, "frame"}, {0, "key_frame"}, {1, "width"}, {0, "q"}, {7, "stray"}});
    ASSERT_EQ(platform().tree_child_count(tree, kTreeRoot), 2);
    TreeItem frame = platform().tree_child(tree, kTreeRoot, 0);
    EXPECT_EQ(platform().tree_item_text(tree, frame), "frame");
    EXPECT_EQ(platform().tree_child_count(tree, frame), 2);
    EXPECT_EQ(platform().tree_item_text(tree, platform().tree_child(tree, frame, 1)), "q");
    EXPECT_EQ(platform().tree_item_text(
                  tree, platform().tree_child(tree, platform().tree_child(tree, frame, 0), 0)),
              "width");
    EXPECT_EQ(platform().tree_item_text(tree, platform().tree_child(tree, kTreeRoot, 1)), "stray");
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
    ASSERT_EQ(platform().menu_item_count(bar), 5);
    MenuHandle tools = platform().submenu(bar, kToolsMenuPosition);
    ASSERT_EQ(platform().menu_item_count(tools), 11);
    EXPECT_EQ(platform().menu_item_command(tools, 7), cmd::kMbSearch);
    EXPECT_EQ(platform().menu_item_label(bar, by_command(cmd::kEndMbInfoDump)), "End MB info Dump");
    EXPECT_EQ(platform().menu_item_label(bar, by_command(cmd::kRecentFiles)), "Recent Files");
    EXPECT_TRUE(platform().enable_menu_item(bar, by_command(cmd::kMbSearch), false));
    EXPECT_FALSE(platform().is_menu_item_enabled(tools, by_position(7)));
    EXPECT_TRUE(platform().check_menu_item(bar, by_command(cmd::kMbRect), true));
    EXPECT_TRUE(platform().is_menu_item_checked(bar, by_command(cmd::kMbRect)));

    MenuHandle recent = platform().submenu(platform().submenu(bar, 0), 2);
    platform().insert_menu_item(recent, -1, 215, "VP8: /b.ivf");
    platform().insert_menu_item(recent, 99, 216, "VP8: /c.ivf");  // past the end: appended
    platform().insert_menu_item(recent, 0, 214, "VP8: /a.ivf");
    EXPECT_EQ(platform().menu_item_command(recent, 2), 216);
    EXPECT_TRUE(platform().delete_menu_item(bar, by_command(214)));  // found in the submenu
    EXPECT_FALSE(platform().delete_menu_item(bar, by_command(214)));
    EXPECT_EQ(platform().menu_item_label(recent, by_position(0)), "VP8: /b.ivf");
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
    EXPECT_EQ(platform().dialog_item(main, ctl::kToolbar), toolbar);
    EXPECT_EQ(platform().window_rect(toolbar).width(), platform().client_rect(main).width());
    EXPECT_EQ(platform().button_state(toolbar, cmd::kStepBackward), kButtonIndeterminate);
    EXPECT_EQ(platform().button_tooltip(toolbar, cmd::kPlay), "Begin/Resume Playback");
    for (int command : {cmd::kPlay, cmd::kFastForward, cmd::kMbRect})
        platform().set_button_state(toolbar, command, kButtonEnabled);
    platform().set_button_state(toolbar, cmd::kStepForward, kButtonEnabled | kButtonIndeterminate);
    platform().set_button_state(toolbar, cmd::kMbBlocks, kButtonEnabled | kButtonHidden);
    user().settle();
    for (int command : {cmd::kOpen, cmd::kStepBackward, cmd::kStepForward, cmd::kMbBlocks,
                        cmd::kPlay, cmd::kFastForward, cmd::kMbRect})
        user().press_button(toolbar, command);
    // Greyed (indeterminate, enabled or not) and hidden buttons send nothing.
    std::vector<int> commands;
    for (const Heard& h : heard(msg::kCommand)) commands.push_back(command_id(h.first));
    EXPECT_EQ(commands,
              (std::vector<int>{cmd::kOpen, cmd::kPlay, cmd::kFastForward, cmd::kMbRect}));
    EXPECT_EQ(heard(msg::kCommand)[0].second, static_cast<intptr_t>(toolbar));
    // The check group keeps the last pressed checked; other buttons keep their state.
    EXPECT_EQ(platform().button_state(toolbar, cmd::kFastForward), kButtonEnabled | kButtonChecked);
    EXPECT_EQ(platform().button_state(toolbar, cmd::kPlay), kButtonEnabled);
    EXPECT_EQ(platform().button_state(toolbar, cmd::kMbRect), kButtonEnabled);
}

// --- The tip window ------------------------------------------------------------------------------

TEST_P(Behaviour, TipShowsWhileActiveAtTheTrackedPoint) {
    WindowHandle tip = platform().create_tip_window(make_main());
    ASSERT_NE(tip, kNoWindow);
    EXPECT_FALSE(platform().is_window_visible(tip));
    platform().tip_activate(tip, true);
    platform().tip_set_text(tip, "12(3,4)\r\nB_PRED");
    platform().tip_track_position(tip, {110, 80});
    EXPECT_TRUE(platform().is_window_visible(tip));
    EXPECT_EQ(platform().window_rect(tip).left, 110);
    EXPECT_EQ(platform().window_rect(tip).top, 80);
    platform().tip_activate(tip, false);
    EXPECT_FALSE(platform().is_window_visible(tip));
}

INSTANTIATE_TEST_SUITE_P(Platforms, Behaviour, ::testing::Values("headless", "qt"),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace tavimor

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);  // one for the whole run
    return RUN_ALL_TESTS();
}
