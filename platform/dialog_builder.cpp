#include "platform/dialog_builder.h"

#include <utility>

#include "resources/dialog_templates.h"

namespace tavimor {

WindowHandle build_dialog_from_template(Platform& platform, DialogParts& parts,
                                        std::string_view template_name, WindowHandle owner,
                                        WindowProc proc, bool modal) {
    const DialogTemplate* dialog_template = find_dialog_template(template_name);
    if (!dialog_template) return kNoWindow;
    WindowHandle dialog = parts.make_dialog_window(*dialog_template, template_name, owner, modal);
    if (dialog == kNoWindow) return kNoWindow;
    for (const ControlTemplate& control : dialog_template->controls) {
        WindowHandle item =
            platform.create_control(dialog, control.kind, control.id, control.text,
                                    rect_at(control.x, control.y, control.width, control.height));
        if (item == kNoWindow) continue;
        if (!control.visible) platform.show_window(item, ShowCommand::kHide);
        if (control.group_start) parts.mark_group_start(item);
    }
    parts.set_dialog_proc(dialog, std::move(proc));
    platform.send_message(dialog, msg::kInitDialog, 0, 0);
    return dialog;
}

}  // namespace tavimor
