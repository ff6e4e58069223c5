#pragma once

#include <QDialog>
#include <QObject>
#include <array>
#include <functional>
#include <vector>

#include "logic/lookup_fill.h"
#include "online/tmdb.h"

class frmMain;
class QCheckBox;
class QLabel;
class QLineEdit;
class QModelIndex;
class QPushButton;
class QStandardItemModel;
class QTableView;
class QVBoxLayout;
namespace online {
class TmdbClient;
enum class Failure;
}  // namespace online

// The lookup dialog: TMDB's candidates for the title, then the found values
// beside the current ones, each row taken or not.
class frmLookup : public QDialog {
    Q_OBJECT
public:
    frmLookup(frmMain& window, int title, const QString& credential);
    ~frmLookup() override;

    // What the user took (valid once the dialog was accepted).
    const logic::LookupChoice& choice() const { return choice_; }

    void cmdLookupSearch_Click();
    void cmdLookupChoose_Click();
    void cmdLookupOk_Click();
    void reject() override;

private:
    void build();
    void buildSearch(QVBoxLayout* layout);
    void buildFieldTable(QVBoxLayout* layout);
    void buildButtons(QVBoxLayout* layout);
    void Busy(bool on);
    void ShowCandidates(const std::vector<online::Candidate>& found);
    void NextThumbnail(int row);
    void DetailsArrived(const online::FilmDetails& details);
    void ShowFields(const online::FilmDetails& details, const QByteArray& poster);
    // Tells a failure; after a refused credential asks for another and runs
    // the step again with it.
    void Failed(online::Failure failure, int status, const QString& detail,
                std::function<void()> again);

    frmMain& w;
    int title_;
    QString year_;
    logic::LookupTexts current_;
    std::array<logic::FillRow, logic::kLookupFields> rows_;
    logic::LookupChoice choice_;
    QByteArray poster_;
    std::vector<online::Candidate> candidates_;
    online::TmdbClient* client_;
    online::TmdbClient* thumbnails_;
    QLineEdit* txtLookupQuery_ = nullptr;
    QPushButton* cmdLookupSearch_ = nullptr;
    QTableView* grdLookupResults_ = nullptr;
    QStandardItemModel* results_ = nullptr;
    QPushButton* cmdLookupChoose_ = nullptr;
    QTableView* grdLookupFields_ = nullptr;
    QStandardItemModel* fields_ = nullptr;
    std::array<QCheckBox*, logic::kLookupFields> chkLookup_{};
    QLabel* lblLookupBusy_ = nullptr;
    QPushButton* cmdLookupOk_ = nullptr;
    QPushButton* cmdLookupCancel_ = nullptr;
};

// The main screen's "ネットで調べる" and the master screen's "TMDBの設定…".
class Lookup : public QObject {
    Q_OBJECT
public:
    Lookup(frmMain& window, QPushButton* cmdLookup);

    void cmdLookup_Click();
    void cmdLookupSettings_Click();

private:
    frmMain& w;
};

// Asks for the TMDB credential until one of the right form is given; nothing
// when the user cancels. Keeps what was given.
std::optional<QString> AskCredential(frmMain& window, const QString& shown);
