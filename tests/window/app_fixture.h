#pragma once

class QApplication;

// The one QApplication of the window tests, made on first use unless another
// part of the test program already made one. Uses the offscreen platform when
// none is chosen.
QApplication* EnsureApplication();
