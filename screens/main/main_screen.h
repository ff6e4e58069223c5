#pragma once

#include <QObject>
#include <array>
#include <optional>

#include "store/seen_files.h"
#include "window/frm_main.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QImage;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class PickListModel;
class PictureBox;
class Grid;

// The main title screen: one title at a time, every field shown in the control
// that edits it. The editing, the text pages, the viewing entry and the title
// commands are separate handlers working on these controls.
class MainScreen : public QObject, public TitleScreen {
    Q_OBJECT
public:
    explicit MainScreen(frmMain& window);

    frmMain& w;

    QFrame* fraMain = nullptr;
    QComboBox* cboName = nullptr;
    QPushButton* cmdLookup = nullptr;  // its handler is the lookup dialog's
    QComboBox *cboKantoku = nullptr, *cboSyuen = nullptr, *cboKuni = nullptr, *cboJanru = nullptr;
    QLineEdit* txtNengetu = nullptr;
    QComboBox* cboHyouka = nullptr;
    std::array<QLabel*, 4> imgFace1{};
    std::array<QComboBox*, 8> cboHyouka1{};  // 1..7
    std::array<QLabel*, 9> lblHyouka1{};     // 1..7 item names; 0 and 8 label the entry panel
    std::array<std::array<QFrame*, 11>, 8> shpHyouka{};  // [item 1..7][box 1..10]
    std::array<QCheckBox*, 5> chkSyoyu{};                // 1..4
    Grid* msgKansyou = nullptr;
    std::array<QPushButton*, 5> cmdHyouji{};      // 1..4
    std::array<QFrame*, 4> fraSubGamen{};         // 1..3
    std::array<QPlainTextEdit*, 4> txtSubData{};  // 1..3
    // The side files as the pages were filled from them (nothing: no file),
    // and the title they belong to: a save asks before it writes over a file
    // another program changed since.
    std::array<std::optional<store::Fingerprint>, 4> shownSideFile{};
    QString shownSideTitle;
    std::array<QPushButton*, 4> cmdSubData{};  // 1..3
    QLabel* lblKensu = nullptr;
    PictureBox* imgGazou = nullptr;
    QScrollBar* hsbData = nullptr;
    QFrame* fraPicget = nullptr;
    QGroupBox* fraRirekiHozon = nullptr;
    QLineEdit* txtKansyoubi = nullptr;
    QComboBox* cboKansyou = nullptr;
    QPushButton *cmdRirekiHozon = nullptr, *cmdYame1 = nullptr;

    // imgGazou's height; its width follows the shape of the picture.
    static constexpr int kPictureHeightTwips = 4650;

    bool IsShowingOwnership = false;
    // Natural size of the picture on show, in pixels (empty when none).
    QSize pictureSize;

    // The four combo fields with their catalogue field, in seen-set order.
    QComboBox* comboOf(store::Catalogue::PickField f) const;
    PickListModel* modelOf(store::Catalogue::PickField f) const;
    PickListModel* nameModel() const { return nameModel_; }

    // TitleScreen
    void SetupTitleHistoryGrid() override;
    void SetTitleNumber(int i) override;
    int TitleNumber() const override;
    void TitlesReloaded() override;
    void HistoryReloaded() override;
    void ShowTitle() override;
    void ShowTitleAt(int i) override;
    void ShowTitleHistory() override;
    void FillRatingLists() override;
    void ShowEvaluationItems() override;
    void ShowOwnershipItems() override;
    void SelectMainPage() override;
    void ResetSubPages() override;
    QString ShownName() const override;

    // "shown / total" under the scroll bar.
    void ShowCounter();
    void ShowScores();
    void ClearScoreBars();
    void ShowOwnership();
    void ShowFace(const QString& rating);
    void LoadSideTexts();
    void ShowPicture();
    // Shows a picture (decoded at any size) in imgGazou, the box's width
    // following the shape of its natural size, the picture fitted into it.
    void ShowPictureImage(const QImage& image, QSize natural);
    // The size imgGazou takes for a picture of that natural size.
    QSize PictureBoxSize(QSize natural) const;
    // A picture file decoded no larger than imgGazou shows it (in device
    // pixels), with its natural size; a null image for a file that does not load.
    QImage ReadBoxPicture(const QString& path, QSize& natural) const;
    void SelectPage(int k);  // cmdHyouji1..4_Click

private:
    void build();
    void buildFields(QWidget* parent);
    void buildScores(QWidget* parent);
    void buildPages(QWidget* parent);
    void buildEntryPanel(QWidget* parent);

    std::array<PickListModel*, 4> pickModels_{};
    PickListModel* nameModel_ = nullptr;
    PickListModel* contentModel_ = nullptr;
};
