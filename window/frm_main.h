#pragma once

#include <QHash>
#include <QWidget>
#include <functional>

#include "history/history.h"
#include "store/catalogue.h"
#include "store/masters.h"
#include "store/status.h"
#include "store/text_check.h"
#include "store/working_folder.h"
#include "window/platform.h"

class QFileSystemWatcher;
class QFrame;
class QPushButton;
class QTimer;

// What the window needs of the main title screen, which lives in its own
// folder and is attached after the window is made.
class TitleScreen {
public:
    virtual ~TitleScreen() = default;
    virtual void SetupTitleHistoryGrid() = 0;
    // The title scroll bar: setting a new value shows that title.
    virtual void SetTitleNumber(int i) = 0;
    virtual int TitleNumber() const = 0;
    // The catalogue was reloaded: the scroll range and the pick lists follow.
    virtual void TitlesReloaded() = 0;
    // The history was reloaded: the content list of the entry panel follows.
    virtual void HistoryReloaded() = 0;
    // Shows the title on the scroll bar's place (no title: empty fields).
    virtual void ShowTitle() = 0;
    // Moves the scroll bar to title i and shows it, even when the bar already
    // stood there; with no titles the bar stands on 1 and nothing is shown.
    virtual void ShowTitleAt(int i) = 0;
    virtual void ShowTitleHistory() = 0;
    // The rating list and the seven score lists.
    virtual void FillRatingLists() = 0;
    // The item names onto the score labels and ownership boxes.
    virtual void ShowEvaluationItems() = 0;
    virtual void ShowOwnershipItems() = 0;
    virtual void SelectMainPage() = 0;  // cmdHyouji1_Click
    virtual void ResetSubPages() = 0;
    // The title combo's text: the name the main screen's actions act on.
    virtual QString ShownName() const = 0;
};

// The program's one window: the button row, the screens as frames of which one
// is shown at a time, the start-up, the help tour, and the state every screen
// shares.
class frmMain : public QWidget {
    Q_OBJECT
public:
    frmMain(Platform& platform, const QString& folderPath, QWidget* parent = nullptr);
    ~frmMain() override;

    // The start-up sequence; false when a file did not load (the error box has
    // been shown and the program must end without writing anything).
    bool Form_Load();

    // --- state shared by the screens ---
    store::Catalogue catalogue;
    history::History history;
    store::Masters masters;
    store::WorkingFolder folder;
    int JumpTitle = 0;
    QString DataFolder;
    QString HelpFile;
    QString HelpText;
    bool IsLoading = false;
    bool GalleryOutOfDate = true;

    Platform& platform() { return platform_; }

    // --- procedures the screens share ---
    void HideAllScreens();
    void ResetSubPages();
    void ShowHelpText();
    // Shows the main screen (as every way back to it does) on title i (0: stay).
    void ShowMainScreen(int i = 0);
    // Reloads the catalogue from its file and refreshes the title scroll bar's
    // range; false (after the error box) when it did not load.
    bool ReloadTitles();
    // After titles were added, deleted or reordered on disk: reloads the
    // catalogue (the main screen's range, pick lists and counter follow) and
    // marks the gallery out of date. False when the reload failed.
    bool TitlesRestructured();
    // After the catalogue was written in a new order: reports a failed write
    // (the file keeps the old order), else reloads and shows title 1 even when
    // it was shown already. True when the new order is in place.
    bool TitlesReordered(const store::Status& written);
    // The double-click jump of a result list or list grid: the first title of
    // that name becomes JumpTitle (a name that is no title leaves it), and the
    // main screen shows it.
    void JumpToTitle(const QString& name);
    // The item masters in memory were renamed: every caption that shows them
    // follows.
    void ItemMastersRenamed();
    // Reloads the history; what shows it follows. afterWrite: the history was
    // just written, and a failed reload is told as such.
    bool LoadHistory(bool afterWrite = false);
    // The history in memory was just reloaded by the store (after a viewing
    // was recorded): refills what shows it without reading the file again.
    void HistoryChanged();
    // Shows one box for a failed load or save; true when the change is in the
    // file (status ok, or written but perhaps not yet safe on the disk: a
    // warning box, and the caller goes on as after a save).
    bool Report(const store::Status& status);
    // The title number of the name the main screen's title box holds, or 0
    // after a warning box when the user typed a name that is no title.
    int AcceptTitleName(const QString& name);
    // Shows a warning box for text the files cannot hold; true when fine.
    bool AcceptRecordText(const QString& text, QString& normalised);
    bool AcceptLineText(const QString& text, QString& normalised);

    // The main screen, once attached.
    void AttachTitleScreen(TitleScreen* screen) { titleScreen_ = screen; }
    TitleScreen* titleScreen() const { return titleScreen_; }

    // Frames by name: fraMain, fraKensaku, fraIchiran, fraIchiran2,
    // fraIchiran3, fraList, fraRank, fraPic, fraMaster.
    QFrame* frame(const QString& name) const;
    QPushButton* button(const QString& name) const;
    // Gives a control of another screen (the new start, the import, the
    // lookup's settings) its place on the master screen, in the coordinates
    // of that screen's frame: no screen reaches into another's frame.
    void PlaceInMasterArea(QWidget* widget, const QRect& place);
    // Replaces the handler of a screen button (the placeholders show an empty
    // frame until their screen takes the button over).
    void SetScreenButtonHandler(const QString& buttonName, std::function<void()> handler);

    // Reads again the program's files that changed outside it (or were
    // written merged with such a change): quietly, keeping the main screen on
    // the title of the same name (else title 1); then one box for the merges
    // of this round and one for sync conflict copies not named before. The
    // file-system watcher calls it while the program is idle.
    void reloadChangedFiles();
    // Brings the window to the front (another start on the folder handed over).
    void Raise();

    void cmdMain_Click();
    void cmdEnd_Click();
    void cmdHelp_Click();
    void chkHelp_Click();

signals:
    // The window asked the program to end (the end button).
    void endRequested();
    // The item names changed (at start-up and after a save of a master).
    void itemMastersRenamed();
    // The history in memory was reloaded (at start-up and after every saved
    // viewing).
    void historyChanged();

protected:
    // Closing the window ends the program: the help viewer goes with it.
    void closeEvent(QCloseEvent* event) override;

private:
    void buildButtonRow();
    void buildFrames();
    bool LoadMasters();
    bool AcceptChecked(const store::InputCheck& check, QString& normalised);
    void watchFolder();
    void reloadWhenIdle();
    bool reloadFile(const QString& name);
    void tellOutsideChanges(const std::vector<store::OutsideChange>& changes);
    void tellConflictCopies();

    Platform& platform_;
    TitleScreen* titleScreen_ = nullptr;
    QHash<QString, QFrame*> frames_;
    QHash<QString, QPushButton*> buttons_;
    QHash<QString, std::function<void()>> handlers_;
    QPushButton* chkHelp_ = nullptr;
    QFileSystemWatcher* watcher_ = nullptr;
    QTimer* reloadTimer_ = nullptr;
    QSet<QString> toldCopies_;  // conflict copies named in this run
    // Reading back what was just written: a failure then is not the change's.
    bool afterWrite_ = false;
};
