// Makes the manual's screenshots (a build step): runs the analyser's window
// on Qt's off-screen platform with the bundled sample stream, drives it
// through its commands as a user would, and saves the main window, every
// menu, dialog and view as PNG files named after what they show.
//
//   tavimor-manual-screenshots STREAM DECODED CONTAINER OUT_DIR
//
// DECODED is the stream's pictures as raw I420 (tavimor-cli decode): the
// original pictures of the comparison are made from them with a small
// deterministic disturbance, so that the PSNR views have something to show.
// CONTAINER is a WebM file with a VP8 track (the container tour).
#include <stdlib.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QTabBar>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/messages.h"
#include "platform/qt/qt_platform.h"
#include "resources/command_ids.h"
#include "resources/control_ids.h"
#include "shell/application.h"
#include "shell/module_registry.h"
#include "shell/settings_path.h"
#include "vp8module/vp8_module.h"

namespace tavimor {
namespace {

namespace fs = std::filesystem;

// One action of the tour; the script runs one per tick of its timer, so that
// what an action opened has been laid out and painted before the next.
using Step = std::function<void()>;

class Tour {
  public:
    Tour(QtPlatform& platform, std::string decoded, std::string out_dir, std::string container,
         std::string work)
        : platform_(platform),
          decoded_(std::move(decoded)),
          out_(std::move(out_dir)),
          container_(std::move(container)),
          work_(std::move(work)) {}

    void start();
    int failures() const { return failures_; }

  private:
    void add(Step step) { steps_.push_back(std::move(step)); }
    void tick();

    QWidget* main_widget() const;
    WindowHandle main_window() const;
    void command(int id, intptr_t extra = 0);
    void save(const QPixmap& pixmap, const std::string& name);
    void shot_main(const std::string& name);
    void shot_picture(const std::string& name);
    void shot_desktop(const std::string& name);
    void shot_window(const QString& title, const std::string& name);
    void shot_modal(const std::string& name);
    void resize_window(const QString& title, int width, int height);
    void close_modal();
    void press_modal_button(const QString& text);
    void shot_menu(int index, const std::string& name);
    void select_view_tab(int index);
    void select_dialog_tab(const QString& title, int index);
    void key(int virtual_key);
    void choose_file(const std::string& path);
    void add_menus();
    void add_views();
    void add_overlays();
    void add_information_dialogs();
    void add_tool_dialogs();
    void add_modal_dialogs();
    void add_comparison();
    void add_container();
    void make_original();

    QtPlatform& platform_;
    std::string decoded_;
    std::string out_;
    std::string container_;
    std::string work_;
    std::string original_;
    std::string dropped_;
    std::vector<Step> steps_;
    size_t next_ = 0;
    int failures_ = 0;
    QTimer timer_;
};

QWidget* Tour::main_widget() const {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->inherits("QMainWindow") && widget->isVisible()) return widget;
    return nullptr;
}

WindowHandle Tour::main_window() const {
    QWidget* widget = main_widget();
    return widget ? WindowHandle{widget->property("tavimor_handle").toInt()} : kNoWindow;
}

void Tour::command(int id, intptr_t extra) {
    platform_.post_message(main_window(), msg::kCommand, command_parameter(id), extra);
}

void Tour::save(const QPixmap& pixmap, const std::string& name) {
    const std::string path = out_ + "/" + name + ".png";
    if (pixmap.isNull() || !pixmap.save(QString::fromStdString(path), "PNG")) {
        std::fprintf(stderr, "tavimor-manual-screenshots: no picture for %s\n", name.c_str());
        ++failures_;
    }
}

void Tour::shot_main(const std::string& name) {
    QWidget* widget = main_widget();
    save(widget ? widget->grab() : QPixmap(), name);
}

// The picture with its status label, cut out of the main window below the
// view tabs and drawn at twice its size, so that the overlays can be told.
void Tour::shot_picture(const std::string& name) {
    QWidget* main = main_widget();
    WindowHandle tabs = platform_.dialog_item(main_window(), ctl::kViewTabBar);
    QWidget* bar = platform_.widget(tabs);
    if (!main || !bar) {
        save(QPixmap(), name);
        return;
    }
    const QImage image = main->grab().toImage();
    const int top = bar->mapTo(main, QPoint(0, bar->height())).y() + 2;
    const QRgb background = image.pixel(2, image.height() - 2);
    QRect box;
    for (int y = top; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background) box |= QRect(x, y, 1, 1);
    if (box.isEmpty()) {
        save(QPixmap(), name);
        return;
    }
    const QImage picture = image.copy(box.adjusted(-4, -4, 4, 4));
    save(QPixmap::fromImage(
             picture.scaled(picture.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation)),
         name);
}

// Every visible window at its place, as the screen would show them.
void Tour::shot_desktop(const std::string& name) {
    QRect area;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && !widget->inherits("QMenu")) area |= widget->frameGeometry();
    QPixmap canvas(area.size());
    canvas.fill(QColor(0x3a, 0x4a, 0x5a));
    QPainter painter(&canvas);
    QWidget* main = main_widget();
    if (main) painter.drawPixmap(main->geometry().topLeft() - area.topLeft(), main->grab());
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (!widget->isVisible() || widget == main || widget->inherits("QMenu")) continue;
        const QPoint at = widget->geometry().topLeft() - area.topLeft();
        painter.fillRect(QRect(at, widget->size()).adjusted(-1, -1, 1, 1), Qt::black);
        painter.drawPixmap(at, widget->grab());
    }
    painter.end();
    save(canvas, name);
}

void Tour::shot_window(const QString& title, const std::string& name) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->windowTitle() == title) {
            save(widget->grab(), name);
            return;
        }
    }
    std::fprintf(stderr, "tavimor-manual-screenshots: no window \"%s\" for %s\n", qPrintable(title),
                 name.c_str());
    ++failures_;
}

void Tour::resize_window(const QString& title, int width, int height) {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && widget->windowTitle() == title) widget->resize(width, height);
}

void Tour::shot_modal(const std::string& name) {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) {
        std::fprintf(stderr, "tavimor-manual-screenshots: no dialog open for %s\n", name.c_str());
        ++failures_;
        return;
    }
    save(modal->grab(), name);
}

void Tour::close_modal() {
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->reject();
}

void Tour::press_modal_button(const QString& text) {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return;
    for (QAbstractButton* button : modal->findChildren<QAbstractButton*>()) {
        if (button->text().remove('&') == text) {
            button->click();
            return;
        }
    }
    std::fprintf(stderr, "tavimor-manual-screenshots: no button \"%s\"\n", qPrintable(text));
    ++failures_;
}

// The menu bar's menu at the index, opened under its title, with the window
// behind it.
void Tour::shot_menu(int index, const std::string& name) {
    QWidget* main = main_widget();
    auto* bar = main ? main->findChild<QMenuBar*>() : nullptr;
    if (!bar || index >= bar->actions().size() || !bar->actions()[index]->menu()) {
        std::fprintf(stderr, "tavimor-manual-screenshots: no menu %d\n", index);
        ++failures_;
        return;
    }
    QAction* title = bar->actions()[index];
    QMenu* menu = title->menu();
    menu->adjustSize();
    const QPixmap items = menu->grab();
    const QRect place = bar->actionGeometry(title);
    const QPoint at = bar->mapTo(main, place.bottomLeft()) + QPoint(0, 1);
    QPixmap canvas = main->grab();
    QPainter painter(&canvas);
    painter.fillRect(QRect(bar->mapTo(main, place.topLeft()), place.size()),
                     QColor(0xcc, 0xdd, 0xf4));
    painter.setPen(Qt::black);
    painter.drawText(QRect(bar->mapTo(main, place.topLeft()), place.size()), Qt::AlignCenter,
                     title->text().remove('&'));
    painter.drawRect(QRect(at, items.size()).adjusted(-1, -1, 0, 0));
    painter.drawPixmap(at, items);
    painter.end();
    const int width = std::max(at.x() + items.width() + 40, 360);
    const int height = std::min(canvas.height(), at.y() + items.height() + 24);
    save(canvas.copy(0, 0, std::min(width, canvas.width()), height), name);
}

void Tour::select_view_tab(int index) {
    WindowHandle tabs = platform_.dialog_item(main_window(), ctl::kViewTabBar);
    if (auto* bar = qobject_cast<QTabBar*>(platform_.widget(tabs))) bar->setCurrentIndex(index);
}

void Tour::select_dialog_tab(const QString& title, int index) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (!widget->isVisible() || widget->windowTitle() != title) continue;
        if (auto* bar = widget->findChild<QTabBar*>()) bar->setCurrentIndex(index);
        return;
    }
}

void Tour::key(int virtual_key) {
    platform_.post_message(main_window(), msg::kKeyDown, static_cast<uintptr_t>(virtual_key), 0);
}

void Tour::choose_file(const std::string& path) {
    if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
        // Typed into the name field, as a user would (the folder is listed
        // in the background, so selectFile() may not have taken yet).
        if (auto* name = dialog->findChild<QLineEdit*>("fileNameEdit"))
            name->setText(QString::fromStdString(path));
        // Accepted as it stands (accept() would wait for the folder listing).
        static_cast<QDialog*>(dialog)->done(QDialog::Accepted);
        return;
    }
    QWidget* modal = QApplication::activeModalWidget();
    std::fprintf(stderr, "tavimor-manual-screenshots: no file dialog for %s (%s)\n", path.c_str(),
                 modal ? modal->metaObject()->className() : "nothing open");
    ++failures_;
}

void Tour::add_menus() {
    const char* names[] = {"menu-file", "menu-info", "menu-tools", "menu-view", "menu-help"};
    for (int i = 0; i < 5; ++i) add([this, i, names] { shot_menu(i, names[i]); });
}

void Tour::add_views() {
    const char* names[] = {"view-final", "view-prelf", "view-predicted", "view-residual"};
    for (int i = 0; i < 4; ++i) {
        add([this, i] { select_view_tab(i); });
        add([this, i, names] { shot_picture(names[i]); });
    }
    add([this] { select_view_tab(0); });
}

void Tour::add_overlays() {
    // MB Rect is on from the start.
    add([this] { shot_picture("overlay-rect"); });
    add([this] { command(cmd::kMbBlocks); });
    add([this] { command(cmd::kMbMvs); });
    add([this] { shot_picture("overlay-blocks-mvs"); });
    add([this] { command(cmd::kMbBlocks); });
    add([this] { command(cmd::kMbMvs); });
    add([this] { command(cmd::kStatisticsBits); });
    add([this] { shot_picture("overlay-bits"); });
    add([this] { command(cmd::kStatisticsOff); });
    // The context menu of the picture: shown while it is open.
    add([this] {
        const Point at = platform_.client_to_screen(main_window(), Point{200, 200});
        platform_.post_message(main_window(), msg::kContextMenu, 0, pack_point(at.x, at.y));
    });
    add([this] {
        QWidget* popup = QApplication::activePopupWidget();
        save(popup ? popup->grab() : QPixmap(), "context-menu");
        if (popup) popup->close();
    });
}

void Tour::add_information_dialogs() {
    add([this] { resize_window("Summary Info", 420, 640); });
    add([this] { shot_window("Summary Info", "dialog-summary"); });
    // The header tree opened out, in a window tall enough to show it.
    add([this] {
        resize_window("Header Info", 420, 640);
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->isVisible() && widget->windowTitle() == "Header Info")
                if (auto* tree = widget->findChild<QTreeWidget*>()) tree->expandAll();
    });
    add([this] { shot_window("Header Info", "dialog-header"); });
    add([this] { shot_window("MB Info", "dialog-mbinfo"); });
    add([this] { select_dialog_tab("MB Info", 1); });
    add([this] { shot_window("MB Info", "dialog-predinfo"); });
    add([this] { select_dialog_tab("MB Info", 0); });
    add([this] { shot_window("Pixel Info", "dialog-pixelinfo"); });
    add([this] { select_dialog_tab("Pixel Info", 4); });
    add([this] { shot_window("Pixel Info", "dialog-pixelinfo-coef"); });
    add([this] { select_dialog_tab("Pixel Info", 0); });
}

void Tour::add_tool_dialogs() {
    add([this] { command(cmd::kPictureAnalyzer); });
    add([this] { shot_window("Display Control", "dialog-display-control"); });
    add([this] { command(cmd::kHistogram); });
    add([this] { shot_window("Graphs", "dialog-histogram"); });
    add([this] { command(cmd::kMbSearch); });
    add([this] { shot_window("MB Search", "dialog-mb-search"); });
    add([this] { command(cmd::kStreamGraph); });
    add([this] { shot_window("Stream Graph", "dialog-stream-graph"); });
}

void Tour::add_modal_dialogs() {
    // Each modal dialog: opened by its command, shot, closed.
    static constexpr std::pair<int, const char*> kDialogs[] = {
        {cmd::kFpsSettings, "dialog-fps"},
        {cmd::kGotoMb, "dialog-goto"},
        {cmd::kStartMbInfoDump, "dialog-dump-type"},
        {cmd::kAbout, "dialog-about"},
    };
    for (const auto& [id, name] : kDialogs) {
        add([this, id = id] { command(id); });
        add([this, name = name] { shot_modal(name); });
        add([this] { close_modal(); });
    }
}

// Disturbs the decoded pictures, so that "Orig YUV", "Final-Orig" and the
// PSNR have something to show: rings of up to four levels on the luma, one
// level of noise everywhere.
void Tour::make_original() {
    constexpr size_t kWidth = 320, kHeight = 240;
    constexpr size_t kLuma = kWidth * kHeight, kFrame = kLuma * 3 / 2;
    original_ = work_ + "/original_320x240.yuv";
    std::ifstream in(decoded_, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (size_t i = 0; i < bytes.size(); ++i) {
        const size_t at = i % kFrame;
        int change = static_cast<int>((i * 7 + i / 13) % 3) - 1;
        if (at < kLuma) {
            const size_t x = at % kWidth, y = at / kWidth;
            const size_t dx = x > 160 ? x - 160 : 160 - x, dy = y > 120 ? y - 120 : 120 - y;
            change += static_cast<int>((dx * dx + dy * dy) / 180 % 9) - 4;
        }
        const int value = static_cast<unsigned char>(bytes[i]) + change;
        bytes[i] = static_cast<char>(std::clamp(value, 0, 255));
    }
    std::ofstream(original_, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void Tour::add_comparison() {
    add([this] { command(cmd::kOpenReferenceYuv); });
    add([this] { choose_file(original_); });
    add([this] { select_view_tab(4); });
    add([this] { shot_picture("view-orig"); });
    add([this] { select_view_tab(5); });
    add([this] { shot_picture("view-final-orig"); });
    add([this] { select_view_tab(0); });
    add([this] { shot_window("Summary Info", "dialog-summary-psnr"); });
    add([this] { command(cmd::kStreamGraph); });
    add([this] { shot_window("Stream Graph", "dialog-stream-graph-psnr"); });
}

// A WebM file dropped on the window: the question to close the open stream,
// the file-type dialog with the structure text ticked, the output dialog,
// and the structure tree.
// The top level, the EBML header, the tracks and the first cluster opened out.
void open_structure(QTreeWidget* tree) {
    tree->expandToDepth(0);
    bool cluster_seen = false;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        const QString text = (*it)->text(0).trimmed();
        const bool first_cluster = text == "Segment Cluster" && !cluster_seen;
        if (text == "Header" || text == "Segment Tracks" || text == "Track Entry" || first_cluster)
            (*it)->setExpanded(true);
        cluster_seen = cluster_seen || first_cluster;
    }
}

void Tour::add_container() {
    add([this] { command(cmd::kDroppedFile, path_parameter(dropped_)); });
    add([this] { shot_modal("dialog-close-file"); });
    add([this] { press_modal_button("Yes"); });
    add([this] {
        if (QWidget* modal = QApplication::activeModalWidget())
            for (QCheckBox* box : modal->findChildren<QCheckBox*>()) box->setChecked(true);
    });
    add([this] { shot_modal("dialog-file-type"); });
    add([this] { press_modal_button("OK"); });
    add([this] { shot_modal("dialog-video-output"); });
    add([this] { press_modal_button("OK"); });
    add([this] { command(cmd::kContainerStructure); });
    // The structure text chosen in the dialog's list, as a user picks it.
    add([this] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (!widget->isVisible() || widget->windowTitle() != "Container Structure") continue;
            if (auto* list = widget->findChild<QComboBox*>()) {
                list->setCurrentIndex(0);
                emit list->activated(0);
            }
            if (auto* tree = widget->findChild<QTreeWidget*>()) open_structure(tree);
        }
    });
    add([this] { shot_window("Container Structure", "dialog-container-structure"); });
}

void Tour::start() {
    make_original();
    dropped_ = work_ + "/" + fs::path(container_).filename().string();
    fs::copy_file(container_, dropped_, fs::copy_options::overwrite_existing);
    // The start-up notice, then the stream opened from the command line.
    add([this] { shot_modal("dialog-notice"); });
    add([this] { close_modal(); });
    add([] {});
    add([this] { shot_desktop("desktop"); });
    add([this] { shot_main("main-window"); });
    add_menus();
    add([this] { command(cmd::kStepForward); });
    add([this] { command(cmd::kStepForward); });
    add([this] { key(key::kRight); });
    add([this] { key(key::kRight); });
    add([this] { key(key::kDown); });
    add([this] { shot_main("stepped"); });
    add_views();
    add_overlays();
    add_information_dialogs();
    add_tool_dialogs();
    add_modal_dialogs();
    add_comparison();
    add_container();
    add([this] { shot_desktop("container-desktop"); });
    // Nothing may be left open: a dialog's window belongs to the main window.
    add([this] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            std::fprintf(stderr, "tavimor-manual-screenshots: \"%s\" is still open\n",
                         qPrintable(modal->windowTitle()));
            ++failures_;
            close_modal();
        }
    });
    add([this] {
        if (QWidget* main = main_widget()) main->close();
    });
    QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
    timer_.start(150);
}

void Tour::tick() {
    if (next_ >= steps_.size()) {
        timer_.stop();
        return;
    }
    steps_[next_++]();
}

}  // namespace
}  // namespace tavimor

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr,
                     "usage: tavimor-manual-screenshots STREAM DECODED CONTAINER OUT_DIR\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    char pattern[] = "/tmp/tavimor-manual-XXXXXX";
    const char* work = mkdtemp(pattern);
    if (!work) return 1;
    setenv("TMPDIR", work, 1);
    // The sample is opened from the tour's own folder, which the pictures name.
    const std::string stream =
        std::string(work) + "/" + std::filesystem::path(argv[1]).filename().string();
    std::filesystem::copy_file(argv[1], stream);
    const std::string runtime = std::string(work) + "/runtime";
    std::filesystem::create_directory(runtime);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    const std::string decoded = argv[2];
    const std::string container = argv[3];
    const std::string out = argv[4];
    std::filesystem::create_directories(out);
    int qt_argc = 1;
    tavimor::QtPlatform platform(qt_argc, argv);
    tavimor::provide_vp8_module(tavimor::create_vp8_module);
    // A settings file of the tour's own: the notice shows, no recent files.
    const std::string settings = tavimor::settings_path(platform.executable_path());
    std::ofstream(settings) << "[Local Info]\nCheckNever=0\n";
    tavimor::Tour tour(platform, decoded, out, container, work);
    tour.start();
    const int status = tavimor::run_application(platform, {stream});
    std::filesystem::remove(settings);
    std::filesystem::remove_all(work);
    return status == 0 && tour.failures() == 0 ? 0 : 1;
}
