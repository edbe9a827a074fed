#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QToolBar>
#include <QTreeWidget>

#include "platform/control_groups.h"
#include "platform/qt/qt_conversions.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/qt_widgets.h"
#include "resources/image_ids.h"
#include "resources/images.h"

namespace tavimor {

namespace {

constexpr int kTreeItemRole = Qt::UserRole + 1;

// Passes a control's context-menu events to a procedure first.
class ContextMenuFilter : public QObject {
  public:
    explicit ContextMenuFilter(std::function<bool(QPoint)> handler, QObject* parent)
        : QObject(parent), handler_(std::move(handler)) {}

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::ContextMenu) return false;
        return handler_(static_cast<QContextMenuEvent*>(event)->globalPos());
    }

  private:
    std::function<bool(QPoint)> handler_;
};

}  // namespace

// --- Creating controls -----------------------------------------------------------------

QWidget* QtPlatform::build_control(QWidget* parent, ControlKind kind, std::string_view text) {
    QString label = to_qstring(text);
    switch (kind) {
        case ControlKind::kLabel:
            return new QLabel(label, parent);
        case ControlKind::kCentredLabel: {
            auto* centred = new QLabel(label, parent);
            centred->setAlignment(Qt::AlignCenter);
            return centred;
        }
        case ControlKind::kGroupBox:
            return new QGroupBox(label, parent);
        case ControlKind::kEdit:
            return new QLineEdit(label, parent);
        case ControlKind::kTextView: {
            auto* view = new QPlainTextEdit(display_text(text), parent);
            view->setReadOnly(true);
            view->setLineWrapMode(QPlainTextEdit::NoWrap);
            view->setTabStopDistance(8 * view->fontMetrics().horizontalAdvance(' '));
            return view;
        }
        case ControlKind::kCheckBox:
            return new TwoStateCheckBox(label, parent);
        case ControlKind::kRadioButton: {
            auto* radio = new QRadioButton(label, parent);
            radio->setAutoExclusive(false);
            return radio;
        }
        case ControlKind::kPushButton: {
            auto* button = new QPushButton(label, parent);
            button->setAutoDefault(false);
            return button;
        }
        case ControlKind::kDefaultButton: {
            auto* button = new QPushButton(label, parent);
            button->setDefault(true);
            return button;
        }
        case ControlKind::kImageButton: {
            auto* button = new QPushButton(parent);
            button->setAutoDefault(false);
            button->setIcon(QIcon(to_pixmap(load_image(kBrowseImage))));
            button->setToolTip(label);
            return button;
        }
        case ControlKind::kComboBox:
            return new QComboBox(parent);
        case ControlKind::kListBox:
            return new QListWidget(parent);
        case ControlKind::kTreeView: {
            auto* tree = new QTreeWidget(parent);
            tree->setHeaderHidden(true);
            tree->setColumnCount(1);
            return tree;
        }
        case ControlKind::kTabControl: {
            auto* tabs = new QTabBar(parent);
            tabs->setExpanding(false);
            tabs->setDrawBase(true);
            // Deleting the selected tab selects the one that takes its place,
            // or the new last tab.
            tabs->setSelectionBehaviorOnRemove(QTabBar::SelectRightTab);
            return tabs;
        }
        case ControlKind::kGraphFrame: {
            auto* frame = new QFrame(parent);
            frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            return frame;
        }
    }
    return new QWidget(parent);
}

void QtPlatform::notify(WindowHandle control, int notification) {
    Record* record = find(control);
    if (!record) return;
    send_message(record->parent, msg::kCommand, command_parameter(record->id, notification),
                 static_cast<intptr_t>(control));
}

void QtPlatform::connect_control(WindowHandle control) {
    Record* record = find(control);
    QWidget* widget = record->widget;
    if (auto* radio = dynamic_cast<QRadioButton*>(widget)) {
        QObject::connect(radio, &QAbstractButton::clicked, radio, [this, control] {
            Record* self = find(control);
            if (!self) return;
            // Check this one and uncheck the rest of its group.
            std::vector<WindowHandle> siblings;
            for (auto& [handle, other] : records_) {
                if (other->parent == self->parent && other->widget)
                    siblings.push_back(WindowHandle{handle});
            }
            size_t at = std::find(siblings.begin(), siblings.end(), control) - siblings.begin();
            auto [first, last] = radio_group_around(
                at, siblings.size(),
                [&](size_t i) { return find(siblings[i])->kind == ControlKind::kRadioButton; },
                [&](size_t i) { return find(siblings[i])->group_start; });
            for (size_t i = first; i <= last; ++i)
                static_cast<QRadioButton*>(find(siblings[i])->widget.data())->setChecked(i == at);
            notify(control, notify::kButtonClicked);
        });
    } else if (auto* button = dynamic_cast<QAbstractButton*>(widget)) {
        QObject::connect(button, &QAbstractButton::clicked, button,
                         [this, control] { notify(control, notify::kButtonClicked); });
    } else if (auto* combo = dynamic_cast<QComboBox*>(widget)) {
        QObject::connect(combo, &QComboBox::activated, combo, [this, control] {
            notify(control, notify::kComboSelectionChange);
            notify(control, notify::kComboSelectionEndOk);
        });
    } else if (auto* tabs = dynamic_cast<QTabBar*>(widget)) {
        // Clicks, arrow keys and the wheel all change the selection through
        // here; changes made by the program are made with the signals blocked.
        QObject::connect(tabs, &QTabBar::currentChanged, tabs, [this, control](int index) {
            Record* self = find(control);
            if (!self || index < 0) return;
            NotifyHeader header{control, self->id, notify::kTabSelectionChange};
            send_message(self->parent, msg::kNotify, static_cast<uintptr_t>(self->id),
                         notify_parameter(header));
        });
    } else if (auto* edit = dynamic_cast<QLineEdit*>(widget)) {
        QObject::connect(edit, &QLineEdit::textEdited, edit,
                         [this, control] { notify(control, notify::kEditChange); });
    }
}

WindowHandle QtPlatform::create_control(WindowHandle parent, ControlKind kind, int control_id,
                                        std::string_view text, const Rect& rect) {
    QWidget* host = container(parent);
    if (!host) return kNoWindow;
    QWidget* widget = build_control(host, kind, text);
    widget->setGeometry(rect.left, rect.top, rect.width(), rect.height());
    widget->show();
    auto record = std::make_unique<Record>();
    record->role = QtRole::kControl;
    record->kind = kind;
    record->id = control_id;
    record->parent = parent;
    record->text = std::string(text);
    WindowHandle handle = reserve_handle();
    add(handle, widget, std::move(record));
    connect_control(handle);
    return handle;
}

WindowHandle QtPlatform::dialog_item(WindowHandle dialog, int control_id) const {
    for (auto& [handle, record] : records_) {
        if (record->parent == dialog && record->id == control_id && record->widget)
            return WindowHandle{handle};
    }
    return kNoWindow;
}

int QtPlatform::control_id(WindowHandle control) const {
    const Record* record = find(control);
    return record ? record->id : kUnaddressedControl;
}

// --- Texts, colours and fonts -------------------------------------------------------------

void QtPlatform::set_window_text(WindowHandle window, std::string_view text) {
    Record* record = find(window);
    if (!record) return;
    QWidget* widget = record->widget;
    if (record->role != QtRole::kControl) {
        widget->setWindowTitle(to_qstring(text));
        return;
    }
    record->text = std::string(text);
    if (auto* label = dynamic_cast<QLabel*>(widget)) {
        label->setText(display_text(text));
    } else if (auto* edit = dynamic_cast<QLineEdit*>(widget)) {
        edit->setText(to_qstring(text));
    } else if (auto* view = dynamic_cast<QPlainTextEdit*>(widget)) {
        view->setPlainText(display_text(text));
    } else if (auto* button = dynamic_cast<QAbstractButton*>(widget)) {
        // An image button shows its image; its text is the tooltip.
        if (record->kind == ControlKind::kImageButton) {
            button->setToolTip(to_qstring(text));
        } else {
            button->setText(to_qstring(text));
        }
    } else if (auto* group = dynamic_cast<QGroupBox*>(widget)) {
        group->setTitle(to_qstring(text));
    }
}

std::string QtPlatform::window_text(WindowHandle window) const {
    const Record* record = find(window);
    if (!record) return {};
    if (record->role != QtRole::kControl) return record->widget->windowTitle().toStdString();
    // What the user typed; every other control reads back what was set, as set.
    if (auto* edit = dynamic_cast<QLineEdit*>(record->widget.data()))
        return edit->text().toStdString();
    return record->text;
}

void QtPlatform::set_text_colour(WindowHandle control, ColourRef colour) {
    Record* record = find(control);
    if (!record) return;
    QPalette palette = record->widget->palette();
    palette.setColor(QPalette::WindowText,
                     QColor(red_of(colour), green_of(colour), blue_of(colour)));
    palette.setColor(QPalette::Text, QColor(red_of(colour), green_of(colour), blue_of(colour)));
    record->widget->setPalette(palette);
}

void QtPlatform::set_font(WindowHandle control, const FontRequest& wanted) {
    Record* record = find(control);
    if (!record) return;
    QFont font(to_qstring(wanted.face));
    font.setPixelSize(std::max(1, wanted.cell_height));
    font.setWeight(static_cast<QFont::Weight>(std::clamp(wanted.weight, 100, 900)));
    font.setItalic(wanted.italic);
    if ((wanted.pitch_and_family & 0x0F) == 1 || (wanted.pitch_and_family & 0xF0) == 0x30) {
        font.setStyleHint(QFont::TypeWriter);
        font.setFixedPitch(true);
    }
    record->widget->setFont(font);
    if (auto* view = dynamic_cast<QPlainTextEdit*>(record->widget.data())) {
        view->setTabStopDistance(8 * QFontMetrics(font).horizontalAdvance(' '));
    }
    record->widget->update();
}

// --- Check boxes and radio buttons --------------------------------------------------------

void QtPlatform::set_check(WindowHandle control, CheckState state) {
    Record* record = find(control);
    if (!record) return;
    if (auto* box = dynamic_cast<QCheckBox*>(record->widget.data())) {
        if (state == CheckState::kIndeterminate) box->setTristate(true);
        box->setCheckState(state == CheckState::kChecked         ? Qt::Checked
                           : state == CheckState::kIndeterminate ? Qt::PartiallyChecked
                                                                 : Qt::Unchecked);
    } else if (auto* button = dynamic_cast<QAbstractButton*>(record->widget.data())) {
        button->setCheckable(true);
        button->setChecked(state == CheckState::kChecked);
    }
}

CheckState QtPlatform::check_state(WindowHandle control) const {
    const Record* record = find(control);
    if (!record) return CheckState::kUnchecked;
    if (auto* box = dynamic_cast<QCheckBox*>(record->widget.data())) {
        if (box->checkState() == Qt::PartiallyChecked) return CheckState::kIndeterminate;
        return box->isChecked() ? CheckState::kChecked : CheckState::kUnchecked;
    }
    if (auto* button = dynamic_cast<QAbstractButton*>(record->widget.data()))
        return button->isChecked() ? CheckState::kChecked : CheckState::kUnchecked;
    return CheckState::kUnchecked;
}

// --- Lists and combo boxes ------------------------------------------------------------------

void QtPlatform::list_clear(WindowHandle control) {
    Record* record = find(control);
    if (!record) return;
    if (auto* combo = dynamic_cast<QComboBox*>(record->widget.data())) combo->clear();
    if (auto* list = dynamic_cast<QListWidget*>(record->widget.data())) list->clear();
}

int QtPlatform::list_add(WindowHandle control, std::string_view text) {
    Record* record = find(control);
    if (!record) return -1;
    if (auto* combo = dynamic_cast<QComboBox*>(record->widget.data())) {
        QSignalBlocker quiet(combo);
        int had_none = combo->count() == 0;
        combo->addItem(to_qstring(text));
        if (had_none) combo->setCurrentIndex(-1);  // a new list starts without a selection
        return combo->count() - 1;
    }
    if (auto* list = dynamic_cast<QListWidget*>(record->widget.data())) {
        list->addItem(to_qstring(text));
        return list->count() - 1;
    }
    return -1;
}

int QtPlatform::list_count(WindowHandle control) const {
    const Record* record = find(control);
    if (!record) return 0;
    if (auto* combo = dynamic_cast<QComboBox*>(record->widget.data())) return combo->count();
    if (auto* list = dynamic_cast<QListWidget*>(record->widget.data())) return list->count();
    return 0;
}

std::string QtPlatform::list_text(WindowHandle control, int index) const {
    const Record* record = find(control);
    if (!record) return {};
    if (auto* combo = dynamic_cast<QComboBox*>(record->widget.data()))
        return combo->itemText(index).toStdString();
    if (auto* list = dynamic_cast<QListWidget*>(record->widget.data())) {
        QListWidgetItem* item = list->item(index);
        return item ? item->text().toStdString() : std::string{};
    }
    return {};
}

void QtPlatform::list_select(WindowHandle control, int index) {
    Record* record = find(control);
    if (!record) return;
    if (auto* combo = dynamic_cast<QComboBox*>(record->widget.data())) {
        QSignalBlocker quiet(combo);
        combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
    }
    if (auto* list = dynamic_cast<QListWidget*>(record->widget.data())) list->setCurrentRow(index);
}

int QtPlatform::list_selection(WindowHandle control) const {
    const Record* record = find(control);
    if (!record) return -1;
    if (auto* combo = dynamic_cast<QComboBox*>(record->widget.data())) return combo->currentIndex();
    if (auto* list = dynamic_cast<QListWidget*>(record->widget.data())) return list->currentRow();
    return -1;
}

// --- Tabs ----------------------------------------------------------------------------------------

namespace {

QTabBar* tab_bar(QWidget* widget) {
    return dynamic_cast<QTabBar*>(widget);
}

}  // namespace

int QtPlatform::tab_insert(WindowHandle control, int index, std::string_view text) {
    Record* record = find(control);
    QTabBar* tabs = record ? tab_bar(record->widget) : nullptr;
    if (!tabs) return -1;
    QSignalBlocker quiet(tabs);
    return tabs->insertTab(index < 0 ? tabs->count() : index, to_qstring(text));
}

void QtPlatform::tab_delete(WindowHandle control, int index) {
    Record* record = find(control);
    if (QTabBar* tabs = record ? tab_bar(record->widget) : nullptr) {
        QSignalBlocker quiet(tabs);
        tabs->removeTab(index);
    }
}

void QtPlatform::tab_delete_all(WindowHandle control) {
    Record* record = find(control);
    if (QTabBar* tabs = record ? tab_bar(record->widget) : nullptr) {
        QSignalBlocker quiet(tabs);
        while (tabs->count() > 0) tabs->removeTab(0);
    }
}

int QtPlatform::tab_count(WindowHandle control) const {
    const Record* record = find(control);
    QTabBar* tabs = record ? tab_bar(record->widget) : nullptr;
    return tabs ? tabs->count() : 0;
}

std::string QtPlatform::tab_text(WindowHandle control, int index) const {
    const Record* record = find(control);
    QTabBar* tabs = record ? tab_bar(record->widget) : nullptr;
    return tabs ? tabs->tabText(index).toStdString() : std::string{};
}

void QtPlatform::tab_select(WindowHandle control, int index) {
    Record* record = find(control);
    if (QTabBar* tabs = record ? tab_bar(record->widget) : nullptr) {
        QSignalBlocker quiet(tabs);
        tabs->setCurrentIndex(index);
    }
}

int QtPlatform::tab_selection(WindowHandle control) const {
    const Record* record = find(control);
    QTabBar* tabs = record ? tab_bar(record->widget) : nullptr;
    return tabs ? tabs->currentIndex() : -1;
}

// --- Trees ---------------------------------------------------------------------------------------

void QtPlatform::tree_clear(WindowHandle control) {
    Record* record = find(control);
    auto* tree = record ? dynamic_cast<QTreeWidget*>(record->widget.data()) : nullptr;
    if (!tree) return;
    std::erase_if(tree_items_,
                  [control](const auto& entry) { return entry.second->control == control; });
    tree->clear();
}

TreeItem QtPlatform::tree_insert(WindowHandle control, TreeItem parent, std::string_view text) {
    Record* record = find(control);
    auto* tree = record ? dynamic_cast<QTreeWidget*>(record->widget.data()) : nullptr;
    if (!tree) return kTreeRoot;
    QTreeWidgetItem* item = nullptr;
    if (parent == kTreeRoot) {
        item = new QTreeWidgetItem(tree);
    } else {
        auto it = tree_items_.find(static_cast<intptr_t>(parent));
        if (it == tree_items_.end() || it->second->control != control) return kTreeRoot;
        item = new QTreeWidgetItem(it->second->item);
    }
    TreeItem handle{next_tree_item_++};
    item->setText(0, to_qstring(text));
    item->setData(0, kTreeItemRole, QVariant::fromValue<qlonglong>(static_cast<intptr_t>(handle)));
    tree_items_[static_cast<intptr_t>(handle)] =
        std::make_unique<TreeEntry>(TreeEntry{control, item});
    return handle;
}

void QtPlatform::tree_set_items(WindowHandle control, std::vector<TreeNode> nodes) {
    tree_clear(control);
    Record* record = find(control);
    auto* tree = record ? dynamic_cast<QTreeWidget*>(record->widget.data()) : nullptr;
    if (!tree) return;
    // The items are made outside the tree and handed to it at once.
    std::vector<QTreeWidgetItem*> items;
    items.reserve(nodes.size());
    QList<QTreeWidgetItem*> top;
    for (const TreeNode& node : nodes) {
        const bool nested = node.parent >= 0 && node.parent < static_cast<int>(items.size());
        auto* item = nested ? new QTreeWidgetItem(items[node.parent]) : new QTreeWidgetItem();
        if (!nested) top.append(item);
        TreeItem handle{next_tree_item_++};
        item->setText(0, to_qstring(node.text));
        item->setData(0, kTreeItemRole,
                      QVariant::fromValue<qlonglong>(static_cast<intptr_t>(handle)));
        tree_items_[static_cast<intptr_t>(handle)] =
            std::make_unique<TreeEntry>(TreeEntry{control, item});
        items.push_back(item);
    }
    tree->addTopLevelItems(top);
}

int QtPlatform::tree_child_count(WindowHandle control, TreeItem parent) const {
    const Record* record = find(control);
    auto* tree = record ? dynamic_cast<QTreeWidget*>(record->widget.data()) : nullptr;
    if (!tree) return 0;
    if (parent == kTreeRoot) return tree->topLevelItemCount();
    auto it = tree_items_.find(static_cast<intptr_t>(parent));
    if (it == tree_items_.end() || it->second->control != control) return 0;
    return it->second->item->childCount();
}

TreeItem QtPlatform::tree_child(WindowHandle control, TreeItem parent, int index) const {
    const Record* record = find(control);
    auto* tree = record ? dynamic_cast<QTreeWidget*>(record->widget.data()) : nullptr;
    if (!tree) return kTreeRoot;
    QTreeWidgetItem* child = nullptr;
    if (parent == kTreeRoot) {
        child = tree->topLevelItem(index);
    } else {
        auto it = tree_items_.find(static_cast<intptr_t>(parent));
        if (it != tree_items_.end() && it->second->control == control)
            child = it->second->item->child(index);
    }
    return child ? TreeItem{static_cast<intptr_t>(child->data(0, kTreeItemRole).toLongLong())}
                 : kTreeRoot;
}

std::string QtPlatform::tree_item_text(WindowHandle control, TreeItem item) const {
    auto it = tree_items_.find(static_cast<intptr_t>(item));
    if (it == tree_items_.end() || it->second->control != control) return {};
    return it->second->item->text(0).toStdString();
}

// --- Text views
// -----------------------------------------------------------------------------------

void QtPlatform::select_all_text(WindowHandle control) {
    Record* record = find(control);
    if (!record) return;
    if (auto* view = dynamic_cast<QPlainTextEdit*>(record->widget.data())) view->selectAll();
    if (auto* edit = dynamic_cast<QLineEdit*>(record->widget.data())) edit->selectAll();
}

void QtPlatform::set_control_proc(WindowHandle control, WindowProc proc) {
    Record* record = find(control);
    if (!record) return;
    record->control_proc = std::move(proc);
    QWidget* target = record->widget;
    if (auto* view = dynamic_cast<QPlainTextEdit*>(target)) target = view->viewport();
    if (target->property("tavimor_filtered").toBool()) return;
    target->setProperty("tavimor_filtered", true);
    target->installEventFilter(new ContextMenuFilter(
        [this, control](QPoint at) {
            return send_message(control, msg::kContextMenu, static_cast<uintptr_t>(control),
                                pack_point(at.x(), at.y())) != 0;
        },
        target));
}

// --- The toolbar ---------------------------------------------------------------------------------

namespace {

void apply_state(QAction* action, unsigned state) {
    action->setEnabled(button_shows_enabled(state));
    action->setCheckable(true);
    action->setChecked(state & kButtonChecked);
    action->setVisible(!(state & kButtonHidden));
}

}  // namespace

void QtPlatform::show_button_states(Record& toolbar) {
    const std::vector<ToolbarButton>& buttons = toolbar.buttons->buttons();
    for (size_t i = 0; i < buttons.size(); ++i) {
        if (buttons[i].style != ButtonStyle::kSeparator)
            apply_state(toolbar.actions[i], buttons[i].state);
    }
}

WindowHandle QtPlatform::create_toolbar(WindowHandle parent, int control_id) {
    QWidget* host = container(parent);
    if (!host) return kNoWindow;
    auto* bar = new QToolBar(host);
    bar->setIconSize(QSize(16, 16));
    bar->setMovable(false);
    bar->setFloatable(false);
    auto record = std::make_unique<Record>();
    record->role = QtRole::kToolbar;
    record->id = control_id;
    record->parent = parent;
    record->buttons.emplace();
    Record* kept = record.get();
    WindowHandle handle = reserve_handle();
    add(handle, bar, std::move(record));
    for (const ToolbarButton& button : kept->buttons->buttons()) {
        if (button.style == ButtonStyle::kSeparator) {
            kept->actions.push_back(bar->addSeparator());
            continue;
        }
        QAction* action = bar->addAction(QIcon(to_pixmap(toolbar_image(button.image))),
                                         to_qstring(button.tooltip));
        action->setToolTip(to_qstring(button.tooltip));
        action->setProperty("tavimor_command", button.command);
        kept->actions.push_back(action);
        int command = button.command;
        QObject::connect(action, &QAction::triggered, bar, [this, handle, command] {
            Record* self = find(handle);
            if (!self) return;
            bool pressed = self->buttons->press(command);
            // Qt toggled the action itself: show what the table says.
            show_button_states(*self);
            if (pressed)
                send_message(self->parent, msg::kCommand, command_parameter(command),
                             static_cast<intptr_t>(handle));
        });
    }
    show_button_states(*kept);
    bar->show();
    autosize_toolbar(handle);
    return handle;
}

void QtPlatform::set_button_state(WindowHandle toolbar, int command, unsigned state) {
    Record* record = find(toolbar);
    if (!record || !record->buttons || !record->buttons->set_state(command, state)) return;
    show_button_states(*record);
}

unsigned QtPlatform::button_state(WindowHandle toolbar, int command) const {
    const Record* record = find(toolbar);
    return record && record->buttons ? record->buttons->state(command) : 0;
}

std::string QtPlatform::button_tooltip(WindowHandle toolbar, int command) const {
    const Record* record = find(toolbar);
    return record && record->buttons ? record->buttons->tooltip(command) : std::string{};
}

void QtPlatform::autosize_toolbar(WindowHandle toolbar) {
    Record* record = find(toolbar);
    if (!record) return;
    QWidget* host = container(record->parent);
    if (!host) return;
    record->widget->setGeometry(0, 0, host->width(), record->widget->sizeHint().height());
}

}  // namespace tavimor
