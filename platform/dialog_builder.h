// Building a dialog from its template, the same on every window system: the
// dialog window, then each control of the template with its identifier
// (hidden controls hidden, the first radio button of each group marked),
// then the procedure, which gets kInitDialog before the dialog is handed back.
#pragma once

#include <string_view>

#include "platform/platform.h"

namespace tavimor {

// What only the window system itself can do while a dialog is built.
class DialogParts {
  public:
    virtual ~DialogParts() = default;
    // The hidden dialog window of the template, without controls or procedure.
    virtual WindowHandle make_dialog_window(const DialogTemplate& dialog, std::string_view name,
                                            WindowHandle owner, bool modal) = 0;
    // Marks the control as the first radio button of its group.
    virtual void mark_group_start(WindowHandle control) = 0;
    virtual void set_dialog_proc(WindowHandle dialog, WindowProc proc) = 0;
};

// The dialog of the template called template_name; kNoWindow when there is no
// such template. Controls are made through platform.create_control.
WindowHandle build_dialog_from_template(Platform& platform, DialogParts& parts,
                                        std::string_view template_name, WindowHandle owner,
                                        WindowProc proc, bool modal);

}  // namespace tavimor
