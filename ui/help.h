#pragma once

class wxWindow;

// Shows the contents page of the program's help book on behalf of a window.
void ShowHelpContents(wxWindow* pOwner);
