#pragma once

// Makes the one QApplication of a test program (offscreen), once.
void EnsureGuiApplication();
