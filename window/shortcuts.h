#pragma once

class frmMain;

// The window's keyboard shortcuts, each named in its button's tool tip:
// F1 help, Ctrl+N new, Ctrl+F search, Ctrl+Q end, Ctrl+1..9 the screen buttons
// in their row order, and on the main screen Alt+Left / Alt+Right and
// PageUp / PageDown for the previous and next title.
void InstallShortcuts(frmMain& window);
