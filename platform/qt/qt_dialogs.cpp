#include "platform/qt/qt_conversions.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/qt_widgets.h"
#include "resources/dialog_templates.h"

namespace tavimor {

WindowHandle QtPlatform::build_dialog(std::string_view template_name, WindowHandle owner,
                                      WindowProc proc, bool modal) {
    const DialogTemplate* dialog_template = find_dialog_template(template_name);
    if (!dialog_template) return kNoWindow;
    const Record* owner_record = find(owner);
    WindowHandle handle{next_handle_};
    Sender send = [this, handle](unsigned message, uintptr_t first, intptr_t second) {
        return send_message(handle, message, first, second);
    };
    auto* dialog = new TemplateDialog(owner_record ? owner_record->widget.data() : nullptr, send);
    dialog->setWindowTitle(to_qstring(dialog_template->title));
    dialog->setModal(modal);
    dialog->resize(dialog_template->width, dialog_template->height);
    if (!dialog_template->resizable)
        dialog->setFixedSize(dialog_template->width, dialog_template->height);
    auto record = std::make_unique<Record>();
    record->role = QtRole::kDialog;
    record->parent = owner;
    record->template_name = std::string(template_name);
    record->modal = modal;
    add(dialog, std::move(record));
    for (const ControlTemplate& control : dialog_template->controls) {
        WindowHandle item =
            create_control(handle, control.kind, control.id, control.text,
                           rect_at(control.x, control.y, control.width, control.height));
        Record* item_record = find(item);
        item_record->group_start = control.group_start;
        item_record->widget->setVisible(control.visible);
    }
    find(handle)->proc = std::move(proc);
    send_message(handle, msg::kInitDialog, 0, 0);
    return handle;
}

WindowHandle QtPlatform::create_dialog(std::string_view template_name, WindowHandle owner,
                                       WindowProc proc) {
    return build_dialog(template_name, owner, std::move(proc), false);
}

intptr_t QtPlatform::run_dialog(std::string_view template_name, WindowHandle owner,
                                WindowProc proc) {
    WindowHandle handle = build_dialog(template_name, owner, std::move(proc), true);
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
