#pragma once

#include <QObject>
#include <QString>

class frmMain;
class QFrame;

// One screen of the window: a frame of its own, opened by its button in the
// row. A screen owns its frame's widgets and handlers and reaches the rest of
// the program only through the verbs of frmMain.
class Screen : public QObject {
    Q_OBJECT
public:
    Screen(frmMain& window, const QString& frameName, const QString& buttonName);

    QFrame* frame() const { return frame_; }

    // The screen button: nothing when the screen is shown already (unless it
    // refills every time); otherwise every screen is hidden, this one is filled
    // from memory, shown, and explained when the help tour is on.
    void Open();

protected:
    virtual void Fill() = 0;
    virtual QString HelpText() const = 0;
    virtual bool RefillsWhenShown() const { return false; }

    frmMain& w;

private:
    QFrame* frame_;
};
