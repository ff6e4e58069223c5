#pragma once

#include <QObject>
#include <QString>
#include <optional>

#include "logic/new_start.h"

class frmMain;

// The new start (新規 on the master screen): every title, the history and the
// per-title files are cleared and the program ends, so that it starts again on
// empty files. The item masters and the settings stay. Beside it the narrower
// clearing 初期化, a button of no size. Both first copy what they clear into a
// backup folder inside the working folder.
class NewStart : public QObject {
    Q_OBJECT
public:
    explicit NewStart(frmMain& window);

    void cmdSinki_Click();
    void cmdAllDel_Click();

private:
    bool Asked(const QString& question);
    // Makes the safety copy and then runs a clearing, under the wait pointer
    // and, when it takes long, a progress window; the backup folder's name, or
    // nothing (after a box) when the copy failed or was cancelled, and then
    // nothing was cleared, or the clearing stopped at a file it could not empty.
    std::optional<QString> Cleared(logic::ClearResult (*clear)(const store::Catalogue&,
                                                               store::WorkingFolder&,
                                                               const logic::Progress&));
    void Told(const QString& message);

    frmMain& w;
    // A second click that the event loop lets through meanwhile starts nothing.
    bool running_ = false;
};
