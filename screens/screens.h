#pragma once

class frmMain;

// Makes every screen of the window and hands each its buttons and frame.
void AttachScreens(frmMain& window);
