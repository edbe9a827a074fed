#include "platform/qt/qt_conversions.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/qt_widgets.h"
#include "resources/control_ids.h"

namespace tavimor {

WindowHandle QtPlatform::make_dialog_window(const DialogTemplate& dialog_template,
                                            std::string_view name, WindowHandle owner, bool modal) {
    const Record* owner_record = find(owner);
    WindowHandle handle = reserve_handle();
    Sender send = [this, handle](unsigned message, uintptr_t first, intptr_t second) {
        return send_message(handle, message, first, second);
    };
    // Escape and the close button: the Cancel command, with the Cancel button
    // when there is one.
    auto cancel = [this, handle] {
        send_message(handle, msg::kCommand, command_parameter(ctl::kCancel),
                     static_cast<intptr_t>(dialog_item(handle, ctl::kCancel)));
    };
    auto* dialog =
        new TemplateDialog(owner_record ? owner_record->widget.data() : nullptr, send, cancel);
    dialog->setWindowTitle(to_qstring(dialog_template.title));
    dialog->setModal(modal);
    dialog->resize(dialog_template.width, dialog_template.height);
    if (!dialog_template.resizable)
        dialog->setFixedSize(dialog_template.width, dialog_template.height);
    auto record = std::make_unique<Record>();
    record->role = QtRole::kDialog;
    record->parent = owner;
    record->template_name = std::string(name);
    record->modal = modal;
    add(handle, dialog, std::move(record));
    return handle;
}

void QtPlatform::mark_group_start(WindowHandle control) {
    if (Record* record = find(control)) record->group_start = true;
}

void QtPlatform::set_dialog_proc(WindowHandle dialog, WindowProc proc) {
    if (Record* record = find(dialog)) record->proc = std::move(proc);
}

WindowHandle QtPlatform::create_dialog(std::string_view template_name, WindowHandle owner,
                                       WindowProc proc) {
    return build_dialog_from_template(*this, *this, template_name, owner, std::move(proc), false);
}

intptr_t QtPlatform::run_dialog(std::string_view template_name, WindowHandle owner,
                                WindowProc proc) {
    WindowHandle handle =
        build_dialog_from_template(*this, *this, template_name, owner, std::move(proc), true);
    Record* record = find(handle);
    if (!record) return -1;
    QPointer<QDialog> dialog = static_cast<QDialog*>(record->widget.data());
    // A dialog ended during its initialisation is not shown.
    intptr_t result =
        record->widget->property("tavimor_ended").toBool() ? dialog->result() : dialog->exec();
    destroy_window(handle);
    return result;
}

void QtPlatform::end_dialog(WindowHandle window, intptr_t result) {
    Record* record = find(window);
    auto* dialog = record ? dynamic_cast<QDialog*>(record->widget.data()) : nullptr;
    if (!dialog) return;
    dialog->setProperty("tavimor_ended", true);
    dialog->done(static_cast<int>(result));
}

}  // namespace tavimor
