#pragma once

#include <string>

class wxWindow;

#define HELP_BOOK_FOLDER "help"
#define HELP_BOOK_NAME "Jarvane.hhp"

// The help book's project file: "help/Jarvane.hhp" in the folder the program
// started in, else in the installed data folder; "" when neither exists.
std::string FindHelpBook();

// Shows the contents page of the program's help book on behalf of a window, in
// a modal help window (a modeless one could not take input while a modal
// dialog runs). A missing book is reported in a message box.
void ShowHelpContents(wxWindow* pOwner);
