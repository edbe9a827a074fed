#include "platform/qt/qt_platform.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/file_replacement.h"
#include "platform/message_box.h"
#include "platform/qt/qt_conversions.h"
#include "platform/qt/qt_widgets.h"
#include "platform/scroll_limits.h"
#include "platform/text_renderer.h"
#include "platform/timer_period.h"
#include "resources/image_ids.h"
#include "resources/images.h"

namespace tavimor {

namespace {

constexpr int kTipMaximumWidth = 150;

QString filter_string(const std::vector<FileFilter>& filters) {
    QStringList parts;
    for (const FileFilter& filter : filters) {
        // "*.*" means every file here, also those without a dot.
        QString pattern = filter.pattern == "*.*" ? "*" : to_qstring(filter.pattern);
        parts << to_qstring(filter.name) + " (" + pattern + ")";
    }
    return parts.join(";;");
}

QString selected_filter(const FileDialogRequest& request) {
    QStringList parts = filter_string(request.filters).split(";;");
    if (request.selected_filter < 0 || request.selected_filter >= parts.size()) return {};
    return parts[request.selected_filter];
}

// The source rectangle of the pixels as a Qt image.
// The picture's part `from` in `image`, which keeps its memory when it has
// the size already (a step presents a picture of the same size each time).
void picture_of(const SurfaceView& pixels, const Rect& from, QImage& image) {
    if (image.size() != QSize(from.width(), from.height()) ||
        image.format() != QImage::Format_RGB32)
        image = QImage(from.width(), from.height(), QImage::Format_RGB32);
    if (image.isNull()) return;  // no memory for it
    size_t row_bytes = static_cast<size_t>(from.width()) * 4;
    for (int y = 0; y < from.height(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(image.scanLine(y));
        if (pixels.bytes_per_pixel == 4) {
            // Same layout: B, G, R and a fourth byte that Qt wants opaque.
            std::memcpy(row,
                        pixels.pixels + static_cast<size_t>(from.top + y) * pixels.pitch +
                            static_cast<size_t>(from.left) * 4,
                        row_bytes);
            for (int x = 0; x < from.width(); ++x) row[x] |= 0xFF000000u;
        } else {
            for (int x = 0; x < from.width(); ++x)
                row[x] = 0xFF000000u | rgb_at(pixels, from.left + x, from.top + y);
        }
    }
}

}  // namespace

QtPlatform::QtPlatform(int& argc, char** argv) {
    if (!QCoreApplication::instance())
        owned_application_ = std::make_unique<QApplication>(argc, argv);
    context_ = std::make_unique<QObject>();
    input_ = std::make_unique<QtInputState>();
    install_font_substitutes();
    QApplication::setWindowIcon(QIcon(to_pixmap(load_image(kAppIcon))));
}

QtPlatform::~QtPlatform() {
    // Posted messages still queued, timers and the menus' bookkeeping go first.
    timers_.clear();
    context_.reset();
    // Every window still standing, and what destroyed windows left for Qt to
    // delete; a window's children go with it.
    std::vector<QPointer<QWidget>> windows = dying_;
    for (auto& [handle, record] : records_) {
        if (record->widget && record->widget->isWindow()) windows.push_back(record->widget);
    }
    records_.clear();
    tree_items_.clear();
    for (QPointer<QWidget>& window : windows) delete window.data();
    std::vector<QPointer<QMenu>> menus;
    for (auto& [handle, menu] : menus_) {
        if (!qobject_cast<QMenu*>(menu->parent())) menus.push_back(menu);
    }
    menus_.clear();
    for (QPointer<QMenu>& menu : menus) delete menu.data();
}

QtPlatform::Record* QtPlatform::find(WindowHandle window) {
    auto it = records_.find(static_cast<int>(window));
    if (it == records_.end() || !it->second->widget) return nullptr;
    return it->second.get();
}

const QtPlatform::Record* QtPlatform::find(WindowHandle window) const {
    auto it = records_.find(static_cast<int>(window));
    if (it == records_.end() || !it->second->widget) return nullptr;
    return it->second.get();
}

void QtPlatform::add(WindowHandle handle, QWidget* widget, std::unique_ptr<Record> record) {
    record->widget = widget;
    if (!record->client) record->client = widget;
    widget->setProperty("tavimor_handle", static_cast<int>(handle));
    records_[static_cast<int>(handle)] = std::move(record);
}

QWidget* QtPlatform::widget(WindowHandle window) const {
    const Record* record = find(window);
    return record ? record->client.data() : nullptr;
}

QWidget* QtPlatform::container(WindowHandle window) const {
    return widget(window);
}

void QtPlatform::forget(WindowHandle window) {
    std::vector<int> children;
    for (auto& [handle, record] : records_) {
        if (record->parent == window) children.push_back(handle);
    }
    for (int child : children) forget(WindowHandle{child});
    for (auto it = timers_.begin(); it != timers_.end();) {
        if (it->first.first == static_cast<int>(window)) {
            it->second->stop();
            it->second->deleteLater();  // it may be the timer calling now
            it = timers_.erase(it);
        } else {
            ++it;
        }
    }
    std::erase_if(tree_items_,
                  [window](const auto& entry) { return entry.second->control == window; });
    records_.erase(static_cast<int>(window));
}

// --- The message loop ------------------------------------------------------------

int QtPlatform::run_message_loop() {
    return QApplication::exec();
}

void QtPlatform::post_quit(int exit_code) {
    QMetaObject::invokeMethod(
        qApp, [exit_code] { QCoreApplication::exit(exit_code); }, Qt::QueuedConnection);
}

// --- Windows ------------------------------------------------------------------------

WindowHandle QtPlatform::create_main_window(std::string_view title, WindowProc proc) {
    auto record = std::make_unique<Record>();
    record->role = QtRole::kMain;
    record->proc = std::move(proc);
    Record* kept = record.get();
    WindowHandle handle = reserve_handle();
    Sender send = [this, handle](unsigned message, uintptr_t first, intptr_t second) {
        return send_message(handle, message, first, second);
    };
    auto* client = new ClientArea(
        handle, send,
        [kept](QPainter& painter) {
            if (!kept->frame.isNull())
                painter.drawImage(QPoint(kept->frame_at.x, kept->frame_at.y), kept->frame);
        },
        *input_);
    client->setBackgroundRole(QPalette::Base);
    auto* vertical = new QScrollBar(Qt::Vertical);
    auto* horizontal = new QScrollBar(Qt::Horizontal);
    vertical->hide();
    horizontal->hide();
    kept->bars = {horizontal, vertical};
    kept->client = client;
    auto* frame = new MainFrame(send, client, vertical, horizontal, *input_);
    frame->setWindowTitle(to_qstring(title));
    frame->resize(1024, 768);
    add(handle, frame, std::move(record));
    for (ScrollBar bar : {ScrollBar::kHorizontal, ScrollBar::kVertical}) {
        QScrollBar* widget = kept->bars[static_cast<int>(bar)];
        unsigned message = bar == ScrollBar::kHorizontal ? msg::kHScroll : msg::kVScroll;
        QObject::connect(widget, &QAbstractSlider::actionTriggered, widget,
                         [this, handle, widget, message, bar](int action) {
                             int code = -1;
                             switch (action) {
                                 case QAbstractSlider::SliderSingleStepSub:
                                     code = scroll::kLineUp;
                                     break;
                                 case QAbstractSlider::SliderSingleStepAdd:
                                     code = scroll::kLineDown;
                                     break;
                                 case QAbstractSlider::SliderPageStepSub:
                                     code = scroll::kPageUp;
                                     break;
                                 case QAbstractSlider::SliderPageStepAdd:
                                     code = scroll::kPageDown;
                                     break;
                                 case QAbstractSlider::SliderMove:
                                     code = scroll::kThumbTrack;
                                     break;
                                 case QAbstractSlider::SliderToMinimum:
                                     code = scroll::kTop;
                                     break;
                                 case QAbstractSlider::SliderToMaximum:
                                     code = scroll::kBottom;
                                     break;
                                 default:
                                     break;
                             }
                             int position = widget->sliderPosition();
                             // The procedure sets the position; the bar shows what it set.
                             if (code >= 0)
                                 send_message(handle, message, scroll_parameter(code, position), 0);
                             widget->setSliderPosition(scroll_info(handle, bar).position);
                         });
    }
    send_message(handle, msg::kCreate, 0, 0);
    return handle;
}

void QtPlatform::destroy_window(WindowHandle window) {
    Record* record = find(window);
    if (!record) return;
    send_message(window, msg::kDestroy, 0, 0);
    record = find(window);
    if (!record) return;
    QWidget* widget = record->widget;
    forget(window);
    widget->hide();
    widget->deleteLater();  // it may be the widget whose event is being handled
    std::erase_if(dying_, [](const QPointer<QWidget>& gone) { return gone.isNull(); });
    dying_.push_back(widget);
}

bool QtPlatform::is_window(WindowHandle window) const {
    return find(window) != nullptr;
}

intptr_t QtPlatform::default_window_proc(WindowHandle window, unsigned message, uintptr_t,
                                         intptr_t) {
    if (message == msg::kClose) destroy_window(window);
    return 0;
}

void QtPlatform::show_window(WindowHandle window, ShowCommand command) {
    Record* record = find(window);
    if (!record) return;
    switch (command) {
        case ShowCommand::kHide:
            record->widget->hide();
            break;
        case ShowCommand::kShow:
            record->widget->show();
            break;
        case ShowCommand::kMaximised:
            // Window managers without a maximised state still get a window
            // that fills the screen.
            if (QScreen* screen = record->widget->screen())
                record->widget->setGeometry(screen->availableGeometry());
            record->widget->showMaximized();
            break;
    }
}

bool QtPlatform::is_window_visible(WindowHandle window) const {
    const Record* record = find(window);
    return record && record->widget->isVisible();
}

void QtPlatform::enable_window(WindowHandle window, bool enabled) {
    if (Record* record = find(window)) record->widget->setEnabled(enabled);
}

bool QtPlatform::is_window_enabled(WindowHandle window) const {
    // The window's own state: a control of a disabled dialog reads enabled,
    // though it takes no input while the dialog is disabled.
    const Record* record = find(window);
    return record && !record->widget->testAttribute(Qt::WA_ForceDisabled);
}

void QtPlatform::move_window(WindowHandle window, const Rect& rect) {
    if (Record* record = find(window))
        record->widget->setGeometry(rect.left, rect.top, rect.width(), rect.height());
}

Rect QtPlatform::window_rect(WindowHandle window) const {
    const Record* record = find(window);
    if (!record) return {};
    QRect geometry = record->widget->geometry();
    return rect_at(geometry.x(), geometry.y(), geometry.width(), geometry.height());
}

Rect QtPlatform::client_rect(WindowHandle window) const {
    const Record* record = find(window);
    if (!record) return {};
    return {0, 0, record->client->width(), record->client->height()};
}

Point QtPlatform::client_to_screen(WindowHandle window, Point point) const {
    const Record* record = find(window);
    if (!record) return point;
    QPoint global = record->client->mapToGlobal(QPoint(point.x, point.y));
    return {global.x(), global.y()};
}

void QtPlatform::invalidate(WindowHandle window) {
    Record* record = find(window);
    if (!record) return;
    if (auto* client = dynamic_cast<ClientArea*>(record->client.data())) {
        client->invalidate();
    } else {
        record->client->update();
    }
}

void QtPlatform::update_window(WindowHandle control) {
    Record* record = find(control);
    if (record && record->widget && record->widget->isVisible()) record->widget->repaint();
}

void QtPlatform::accept_dropped_files(WindowHandle window, bool accept) {
    Record* record = find(window);
    if (!record) return;
    if (auto* frame = dynamic_cast<MainFrame*>(record->widget.data()))
        frame->accepting_drops = accept;
}

WindowHandle QtPlatform::parent_window(WindowHandle window) const {
    const Record* record = find(window);
    return record ? record->parent : kNoWindow;
}

// --- Messages and timers -------------------------------------------------------------

intptr_t QtPlatform::send_message(WindowHandle window, unsigned message, uintptr_t first,
                                  intptr_t second) {
    Record* record = find(window);
    if (!record) return 0;
    if (record->control_proc) {
        WindowProc proc = record->control_proc;
        return proc(window, message, first, second);
    }
    if (record->proc) {
        WindowProc proc = record->proc;  // the procedure may destroy the window
        return proc(window, message, first, second);
    }
    return default_window_proc(window, message, first, second);
}

void QtPlatform::post_message(WindowHandle window, unsigned message, uintptr_t first,
                              intptr_t second) {
    QMetaObject::invokeMethod(
        context_.get(),
        [this, window, message, first, second] { send_message(window, message, first, second); },
        Qt::QueuedConnection);
}

void QtPlatform::set_timer(WindowHandle window, int id, int period_ms) {
    if (!find(window)) return;
    QTimer*& timer = timers_[{static_cast<int>(window), id}];
    if (!timer) {
        timer = new QTimer(context_.get());
        QObject::connect(timer, &QTimer::timeout, timer, [this, window, id] {
            send_message(window, msg::kTimer, static_cast<uintptr_t>(id), 0);
        });
    }
    timer->start(effective_timer_period(period_ms));
}

std::optional<int> QtPlatform::timer_period(WindowHandle window, int id) const {
    auto it = timers_.find({static_cast<int>(window), id});
    if (it == timers_.end()) return std::nullopt;
    return it->second->interval();
}

void QtPlatform::kill_timer(WindowHandle window, int id) {
    auto it = timers_.find({static_cast<int>(window), id});
    if (it == timers_.end()) return;
    it->second->stop();
    it->second->deleteLater();
    timers_.erase(it);
}

// --- Scroll bars --------------------------------------------------------------------------

void QtPlatform::sync_scroll_bar(WindowHandle window, ScrollBar bar) {
    Record* record = find(window);
    if (!record || !record->bars[static_cast<int>(bar)]) return;
    const ScrollInfo& info = record->scroll[static_cast<int>(bar)];
    QScrollBar* widget = record->bars[static_cast<int>(bar)];
    int last = last_scroll_position(info);
    QSignalBlocker quiet(widget);
    widget->setRange(info.min, last);
    widget->setPageStep(std::max(info.page, 1));
    widget->setSingleStep(1);
    widget->setSliderPosition(info.position);
    widget->setValue(info.position);
    widget->setVisible(last > info.min);
}

void QtPlatform::set_scroll_info(WindowHandle window, ScrollBar bar, const ScrollInfo& info) {
    Record* record = find(window);
    if (!record) return;
    record->scroll[static_cast<int>(bar)] = clamp_scroll_position(info);
    sync_scroll_bar(window, bar);
}

ScrollInfo QtPlatform::scroll_info(WindowHandle window, ScrollBar bar) const {
    const Record* record = find(window);
    return record ? record->scroll[static_cast<int>(bar)] : ScrollInfo{};
}

// --- Pictures and text ------------------------------------------------------------------------

bool QtPlatform::present(WindowHandle window, const SurfaceView& pixels, const Rect& source,
                         Point destination) {
    Record* record = find(window);
    if (!record || !pixels.pixels) return false;
    Rect from = intersect(source, {0, 0, pixels.width, pixels.height});
    if (from.empty())
        record->frame = QImage();
    else
        picture_of(pixels, from, record->frame);
    record->frame_at = {destination.x + from.left - source.left,
                        destination.y + from.top - source.top};
    if (auto* client = dynamic_cast<ClientArea*>(record->client.data())) {
        client->picture_changed();
    } else {
        record->client->update();
    }
    return true;
}

TextBitmap QtPlatform::render_text(std::string_view text, const FontRequest& font) {
    return render_text_with_qt(text, font);
}

// --- Message boxes, file dialogs, cursors, documents, keyboard -----------------------------------

int QtPlatform::message_box(WindowHandle owner, std::string_view text, std::string_view caption,
                            unsigned style) {
    Record* record = find(owner);
    QMessageBox box(record ? record->widget.data() : nullptr);
    box.setWindowTitle(to_qstring(caption));
    box.setText(display_text(text));
    switch (style & mb::kIconMask) {
        case mb::kIconError:
            box.setIcon(QMessageBox::Critical);
            break;
        case mb::kIconQuestion:
            box.setIcon(QMessageBox::Question);
            break;
        case mb::kIconWarning:
            box.setIcon(QMessageBox::Warning);
            break;
        case mb::kIconInformation:
            box.setIcon(QMessageBox::Information);
            break;
        default:
            break;
    }
    if ((style & mb::kButtonMask) == mb::kYesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? mb::kAnswerYes : mb::kAnswerNo;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return mb::kAnswerOk;
}

std::optional<std::string> QtPlatform::open_file_dialog(WindowHandle owner,
                                                        const FileDialogRequest& request) {
    Record* record = find(owner);
    QString chosen_filter = selected_filter(request);
    QString path = QFileDialog::getOpenFileName(
        record ? record->widget.data() : nullptr, to_qstring(request.title),
        to_qstring(request.initial_path), filter_string(request.filters), &chosen_filter);
    if (path.isEmpty()) return std::nullopt;
    return path.toStdString();
}

std::optional<std::string> QtPlatform::save_file_dialog(WindowHandle owner,
                                                        const FileDialogRequest& request) {
    Record* record = find(owner);
    QString chosen_filter = selected_filter(request);
    QFileDialog::Options options;
    if (!request.overwrite_prompt) options |= QFileDialog::DontConfirmOverwrite;
    QString path = QFileDialog::getSaveFileName(
        record ? record->widget.data() : nullptr, to_qstring(request.title),
        to_qstring(request.initial_path), filter_string(request.filters), &chosen_filter, options);
    if (path.isEmpty()) return std::nullopt;
    return path.toStdString();
}

void QtPlatform::set_cursor(Cursor cursor) {
    bool wait = cursor == Cursor::kWait;
    if (wait == waiting_cursor_) return;
    waiting_cursor_ = wait;
    if (wait) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QGuiApplication::restoreOverrideCursor();
    }
}

bool QtPlatform::open_document(std::string_view path_or_address) {
    QString target = to_qstring(path_or_address);
    QUrl url = target.contains("://") || target.startsWith("mailto:") ? QUrl(target)
                                                                      : QUrl::fromLocalFile(target);
    if (target.contains('@') && !target.contains("://") && !target.startsWith("mailto:"))
        url = QUrl("mailto:" + target);
    return QDesktopServices::openUrl(url);
}

bool QtPlatform::is_key_down(int virtual_key) const {
    // While a key or mouse event is handled, the modifiers it carried; the
    // keyboard's state otherwise.
    Qt::KeyboardModifiers modifiers =
        input_->depth > 0 ? input_->modifiers : QGuiApplication::queryKeyboardModifiers();
    if (virtual_key == key::kControl) return modifiers & Qt::ControlModifier;
    if (virtual_key == key::kShift) return modifiers & Qt::ShiftModifier;
    return false;
}

// --- Paths and settings files --------------------------------------------------------------------

std::string QtPlatform::temp_directory() const {
    std::string directory = QDir::tempPath().toStdString();
    if (directory.empty() || directory.back() != '/') directory += '/';
    return directory;
}

std::string QtPlatform::executable_path() const {
    return QCoreApplication::applicationFilePath().toStdString();
}

std::string QtPlatform::load_settings_text(const std::string& file) const {
    std::ifstream in(file, std::ios::binary);
    if (!in) return {};
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool QtPlatform::store_settings_text(const std::string& file, const std::string& text) {
    return replace_file(file, text);
}

// --- The tracking tip
// ------------------------------------------------------------------------------

WindowHandle QtPlatform::create_tip_window(WindowHandle owner) {
    auto* tip =
        new QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    tip->setTextFormat(Qt::PlainText);
    tip->setWordWrap(true);
    tip->setMaximumWidth(kTipMaximumWidth);
    tip->setMargin(2);
    tip->setStyleSheet("QLabel { background: #ffffe1; color: black; border: 1px solid #767676; }");
    auto record = std::make_unique<Record>();
    record->role = QtRole::kTip;
    record->parent = owner;
    WindowHandle handle = reserve_handle();
    add(handle, tip, std::move(record));
    return handle;
}

void QtPlatform::tip_activate(WindowHandle tip, bool active) {
    Record* record = find(tip);
    if (!record) return;
    record->widget->setVisible(active);  // an active tip shows at its tracked point
}

void QtPlatform::tip_set_text(WindowHandle tip, std::string_view text) {
    Record* record = find(tip);
    if (!record) return;
    auto* label = static_cast<QLabel*>(record->widget.data());
    label->setText(display_text(text));
    label->adjustSize();
}

void QtPlatform::tip_track_position(WindowHandle tip, Point screen) {
    Record* record = find(tip);
    if (!record) return;
    record->widget->move(screen.x, screen.y);
}

}  // namespace tavimor
