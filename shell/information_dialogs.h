// The four information dialogs ("HDRINFODLG", "MBINFODLG", "PIXELINFODLG",
// "SUMMARYDLG"): made hidden with the main window and again after each open,
// placed around the picture by the after-open layout, emptied and destroyed
// by Close. The module fills them (its dialog filter makes their tabs).
#pragma once

namespace tavimor {

struct Shell;

// Makes the four dialogs, hidden, replacing any that exist.
void create_information_dialogs(Shell& shell);

// Places the four dialogs around the picture and shows them.
void show_information_dialogs(Shell& shell);

// Empties their texts and trees.
void clear_information_dialogs(Shell& shell);

void destroy_information_dialogs(Shell& shell);

}  // namespace tavimor
