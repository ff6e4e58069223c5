#pragma once

class QApplication;

// Makes the one QApplication of a test program (offscreen), once, and returns it.
QApplication* EnsureGuiApplication();
