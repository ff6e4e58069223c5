#include "window/screen.h"

#include <QFrame>

#include "window/frm_main.h"

Screen::Screen(frmMain& window, const QString& frameName, const QString& buttonName)
    : QObject(&window), w(window), frame_(window.frame(frameName)) {
    window.SetScreenButtonHandler(buttonName, [this] { Open(); });
}

void Screen::Open() {
    if (frame_->isVisible() && !RefillsWhenShown()) return;
    w.HideAllScreens();
    Fill();
    frame_->show();
    w.platform().ProcessPendingEvents();
    w.HelpText = HelpText();
    w.ShowHelpText();
}
