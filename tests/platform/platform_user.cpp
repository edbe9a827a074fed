#include "tests/platform/platform_user.h"

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QWheelEvent>
#include <algorithm>

#include "platform/headless/headless_platform.h"
#include "platform/qt/qt_platform.h"
#include "resources/control_ids.h"

namespace tavimor::test {

namespace {

class HeadlessUser : public PlatformUser {
  public:
    Platform& platform() override { return headless_; }
    void settle() override { headless_.deliver_posted(); }
    void click(WindowHandle control) override {
        headless_.click(headless_.parent_window(control), headless_.control_id(control));
    }
    void click_tab(WindowHandle tabs, int index) override { headless_.choose_tab(tabs, index); }
    void turn_wheel(WindowHandle tabs, int notches) override {
        int last = headless_.tab_count(tabs) - 1;
        headless_.choose_tab(tabs, std::clamp(headless_.tab_selection(tabs) + notches, 0, last));
    }
    void press_key(WindowHandle window, int virtual_key, bool control) override {
        headless_.set_key_down(key::kControl, control);
        headless_.press_key(window, virtual_key);
        headless_.set_key_down(key::kControl, false);
    }
    void left_click(WindowHandle window, Point client, bool control) override {
        headless_.set_key_down(key::kControl, control);
        headless_.left_click(window, client);
        headless_.set_key_down(key::kControl, false);
    }
    void type(WindowHandle edit, std::string_view text) override {
        headless_.type_text(headless_.parent_window(edit), headless_.control_id(edit), text);
    }
    void choose_entry(WindowHandle combo, int index) override {
        headless_.choose_list_entry(headless_.parent_window(combo), headless_.control_id(combo),
                                    index);
    }
    void press_toolbar_button(WindowHandle toolbar, int command) override {
        headless_.press_toolbar_button(toolbar, command);
    }
    Point open_context_menu(WindowHandle window, Point client) override {
        Point screen = headless_.client_to_screen(window, client);
        headless_.open_context_menu(window, screen);
        return screen;
    }
    void drop_files(WindowHandle window, const std::vector<std::string>& paths) override {
        headless_.drop_files(window, paths);
    }
    void resize_client(WindowHandle window, int width, int height) override {
        headless_.resize_client(window, width, height);
    }
    std::optional<int> timer_period(WindowHandle window, int id) override {
        return headless_.timer_period(window, id);
    }
    void let_timer_run(WindowHandle window, int id, const std::function<bool()>&) override {
        headless_.fire_timer(window, id);
    }
    uint32_t client_pixel(WindowHandle window, Point at) override {
        std::vector<uint32_t> pixels = headless_.client_pixels(window);
        return pixels[static_cast<size_t>(at.y) * headless_.client_rect(window).width() + at.x];
    }
    void in_next_dialog(std::function<void(WindowHandle)> script) override {
        headless_.script_next_dialog(
            "", [script](HeadlessPlatform&, WindowHandle dialog) { script(dialog); });
    }

  private:
    HeadlessPlatform headless_;
};

Qt::Key qt_key(int virtual_key) {
    switch (virtual_key) {
        case key::kLeft:
            return Qt::Key_Left;
        case key::kRight:
            return Qt::Key_Right;
        case key::kUp:
            return Qt::Key_Up;
        case key::kDown:
            return Qt::Key_Down;
        case key::kReturn:
            return Qt::Key_Return;
        case key::kEscape:
            return Qt::Key_Escape;
        default:
            return static_cast<Qt::Key>(virtual_key);  // digits and capitals share their codes
    }
}

class QtUser : public PlatformUser {
  public:
    QtUser() : qt_(argc_, nullptr) {}
    Platform& platform() override { return qt_; }
    void settle() override {
        for (int round = 0; round < 4; ++round) QCoreApplication::processEvents();
    }
    void click(WindowHandle control) override {
        QWidget* button = qt_.widget(control);
        // Check boxes and radio buttons take clicks on their indicator.
        bool indicator = button->inherits("QCheckBox") || button->inherits("QRadioButton");
        QPoint at = indicator ? QPoint(6, button->height() / 2) : button->rect().center();
        QTest::mouseClick(button, Qt::LeftButton, {}, at);
    }
    void click_tab(WindowHandle tabs, int index) override {
        auto* bar = static_cast<QTabBar*>(qt_.widget(tabs));
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }
    void turn_wheel(WindowHandle tabs, int notches) override {
        QWidget* bar = qt_.widget(tabs);
        QPointF at(5, 5);
        QWheelEvent wheel(at, bar->mapToGlobal(at), QPoint(), QPoint(0, -120 * notches),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(bar, &wheel);
    }
    // Keys and clicks are sent as plain events, which leave Qt's own record of
    // the keyboard alone: the platform must go by the event itself.
    void press_key(WindowHandle window, int virtual_key, bool control) override {
        Qt::KeyboardModifiers modifiers = control ? Qt::ControlModifier : Qt::NoModifier;
        for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent event(type, qt_key(virtual_key), modifiers);
            QCoreApplication::sendEvent(qt_.widget(window), &event);
        }
    }
    void left_click(WindowHandle window, Point client, bool control) override {
        Qt::KeyboardModifiers modifiers = control ? Qt::ControlModifier : Qt::NoModifier;
        QWidget* target = qt_.widget(window);
        QPointF at(client.x, client.y), screen = target->mapToGlobal(at);
        QMouseEvent press(QEvent::MouseButtonPress, at, screen, Qt::LeftButton, Qt::LeftButton,
                          modifiers);
        QCoreApplication::sendEvent(target, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, screen, Qt::LeftButton, Qt::NoButton,
                            modifiers);
        QCoreApplication::sendEvent(target, &release);
    }
    void type(WindowHandle edit, std::string_view text) override {
        auto* field = static_cast<QLineEdit*>(qt_.widget(edit));
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);  // typing replaces the selection
        QTest::keyClicks(field, QString::fromUtf8(text.data(), static_cast<int>(text.size())));
    }
    void choose_entry(WindowHandle combo, int index) override {
        auto* box = static_cast<QComboBox*>(qt_.widget(combo));
        box->showPopup();
        QAbstractItemView* list = box->view();
        QRect item = list->visualRect(box->model()->index(index, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
    }
    void press_toolbar_button(WindowHandle toolbar, int command) override {
        auto* bar = static_cast<QToolBar*>(qt_.widget(toolbar));
        for (QAction* action : bar->actions()) {
            if (action->property("tavimor_command").toInt() != command) continue;
            QWidget* button = bar->widgetForAction(action);
            // What is not shown cannot be pressed.
            if (button && button->isVisible()) QTest::mouseClick(button, Qt::LeftButton);
        }
    }
    Point open_context_menu(WindowHandle window, Point client) override {
        QWidget* target = qt_.widget(window);
        if (auto* area = qobject_cast<QAbstractScrollArea*>(target)) target = area->viewport();
        QPoint at(client.x, client.y), screen = target->mapToGlobal(at);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, screen);
        QCoreApplication::sendEvent(target, &event);
        return {screen.x(), screen.y()};
    }
    void drop_files(WindowHandle window, const std::vector<std::string>& paths) override {
        QWidget* frame = qt_.widget(window)->window();
        QMimeData data;
        QList<QUrl> urls;
        for (const std::string& path : paths)
            urls << QUrl::fromLocalFile(QString::fromStdString(path));
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(frame, &enter);
        if (!enter.isAccepted()) return;  // the window refuses the drag
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(frame, &drop);
    }
    void resize_client(WindowHandle window, int width, int height) override {
        QWidget* client = qt_.widget(window);
        QWidget* frame = client->window();
        frame->resize(frame->size() + QSize(width - client->width(), height - client->height()));
        settle();
    }
    std::optional<int> timer_period(WindowHandle window, int id) override {
        return qt_.timer_period(window, id);
    }
    void let_timer_run(WindowHandle window, int id, const std::function<bool()>& fired) override {
        // A timer that is not set is given a few of the shortest periods.
        int patience = qt_.timer_period(window, id) ? 1000 : 100;
        QElapsedTimer waited;
        waited.start();
        while (!fired() && waited.elapsed() < patience) QTest::qWait(5);
    }
    uint32_t client_pixel(WindowHandle window, Point at) override {
        return qt_.widget(window)->grab().toImage().pixel(at.x, at.y) & 0xFFFFFF;
    }
    void in_next_dialog(std::function<void(WindowHandle)> script) override {
        QTimer::singleShot(0, &context_, [this, script] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal) return;
            WindowHandle dialog{modal->property("tavimor_handle").toInt()};
            script(dialog);
            if (qt_.is_window(dialog) && modal->isVisible()) press_key(dialog, key::kEscape, false);
            if (qt_.is_window(dialog) && modal->isVisible()) qt_.end_dialog(dialog, ctl::kCancel);
        });
    }

  private:
    int argc_ = 0;
    QtPlatform qt_;
    QObject context_;  // the scripts of dialogs that never came go with the user
};

}  // namespace

std::unique_ptr<PlatformUser> make_platform_user(const std::string& kind) {
    if (kind == "qt") return std::make_unique<QtUser>();
    return std::make_unique<HeadlessUser>();
}

}  // namespace tavimor::test
