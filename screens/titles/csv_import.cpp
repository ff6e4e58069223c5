#include "screens/titles/csv_import.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "window/frm_main.h"

namespace {

const QString kBoxTitle = QStringLiteral("CSV取り込み");
const QString kNone = QStringLiteral("（なし）");
constexpr size_t kPreviewTitles = 20;
// The fields' columns stand in rows of six, the side texts below them.
constexpr int kFieldRows = 6;

}  // namespace

// In the order of the file: the first titles as they will be stored, every
// other title that the import changed, and every refused row.
class ImportPreviewModel : public QAbstractTableModel {
public:
    ImportPreviewModel(QStringList fieldNames, QObject* parent)
        : QAbstractTableModel(parent), names_(std::move(fieldNames)) {}

    void SetPlan(const logic::ImportPlan* plan) {
        beginResetModel();
        plan_ = plan;
        rows_.clear();
        if (plan) {
            const auto& titles = plan->titles;
            const auto& refused = plan->refused;
            size_t t = 0, r = 0;
            while (t < titles.size() || r < refused.size()) {
                if (r == refused.size() ||
                    (t < titles.size() && titles[t].line < refused[r].line)) {
                    if (t < kPreviewTitles || titles[t].notes != 0) rows_.push_back({false, t});
                    ++t;
                } else {
                    rows_.push_back({true, r++});
                }
            }
        }
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override {
        if (parent.isValid() || !plan_) return 0;
        return static_cast<int>(rows_.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : 2 + logic::kImportFields;
    }
    QVariant headerData(int section, Qt::Orientation o, int role) const override {
        if (o != Qt::Horizontal || role != Qt::DisplayRole) return {};
        if (section == 0) return QStringLiteral("行");
        if (section == 1) return QStringLiteral("取り込み");
        return names_.value(section - 2);
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!plan_) return {};
        const Row& row = rows_[static_cast<size_t>(index.row())];
        // Refused rows tinted, so that the reason column may stay narrow.
        if (role == Qt::BackgroundRole && row.refused) return QColor(255, 228, 225);
        if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
        const int c = index.column();
        if (!row.refused) {
            const logic::ImportTitle& t = plan_->titles[row.index];
            if (c == 0) return t.line;
            if (c == 1) {
                const QString notes = logic::ImportNoteText(t.notes);
                return notes.isEmpty() ? QStringLiteral("追加") : QStringLiteral("追加：") + notes;
            }
            return t.fields.value(c - 2);
        }
        const logic::RefusedRow& refused = plan_->refused[row.index];
        if (c == 0) return refused.line;
        if (c == 1) {
            QString why = QStringLiteral("しない：") + logic::RefusalText(refused.reason);
            if (!refused.detail.isEmpty()) why += QStringLiteral("（") + refused.detail + u'）';
            return why;
        }
        return c == 2 ? QVariant(refused.title) : QVariant();
    }

private:
    struct Row {
        bool refused;
        size_t index;  // in the plan's titles or refused rows
    };
    QStringList names_;
    const logic::ImportPlan* plan_ = nullptr;
    std::vector<Row> rows_;
};

frmCsvImport::frmCsvImport(frmMain& window, const logic::CsvTable& table, const QString& fileName)
    : QDialog(&window), w(window), table_(table) {
    setObjectName("frmCsvImport");
    setWindowTitle(QStringLiteral("CSVから取り込む：") + fileName);
    setWindowModality(Qt::WindowModal);
    const QStringList names = logic::ImportFieldNames(w.masters);
    mapping_ = logic::PresetMapping(table.header, w.masters);

    // Made in tab order: the fields, the viewings, the side texts below the
    // fields, the options, the preview, the buttons.
    auto* fields = new QGroupBox(QStringLiteral("タイトルの項目にするファイルの列"), this);
    QGridLayout* grid = addFieldColumns(fields, names);
    QGroupBox* viewings = buildViewingColumns();
    addSideTextColumns(fields, grid);
    QHBoxLayout* boxes = buildOptionBoxes();
    QLabel* previewCaption = buildPreview(names);
    QHBoxLayout* buttons = buildButtons();

    auto* all = new QVBoxLayout(this);
    all->addWidget(fields);
    all->addWidget(viewings);
    all->addLayout(boxes);
    all->addWidget(previewCaption);
    all->addWidget(grdImportPreview_, 1);
    all->addLayout(buttons);
    // Inside the window, which is of a fixed size.
    setFixedSize(std::min(960, w.width() - 20), std::min(600, w.height() - 20));
    all->activate();  // the preview's width, before the dialog is shown
    Replan();
}

QGridLayout* frmCsvImport::addFieldColumns(QGroupBox* fields, const QStringList& names) {
    auto* grid = new QGridLayout(fields);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(2);
    for (int f = 0; f < logic::kImportFields; ++f) {
        auto* label = new QLabel(names[f], fields);
        cboMap_[f] = columnCombo(QStringLiteral("cboMap_%1").arg(f));
        cboMap_[f]->setCurrentIndex(mapping_.field[f] + 1);
        const int row = f % kFieldRows, col = (f / kFieldRows) * 2;
        grid->addWidget(label, row, col);
        grid->addWidget(cboMap_[f], row, col + 1);
        grid->setColumnStretch(col + 1, 1);
    }
    return grid;
}

QGroupBox* frmCsvImport::buildViewingColumns() {
    auto* viewings = new QGroupBox(QStringLiteral("鑑賞記録（任意）"), this);
    auto* line = new QHBoxLayout(viewings);
    cboMapDate_ = columnCombo("cboMapDate");
    cboMapDate_->setCurrentIndex(mapping_.date + 1);
    cboMapKind_ = columnCombo("cboMapKind");
    cboMapKind_->setCurrentIndex(mapping_.kind + 1);
    txtImportKind_ = new QLineEdit(mapping_.defaultKind, viewings);
    txtImportKind_->setObjectName("txtImportKind");
    line->addWidget(new QLabel(QStringLiteral("鑑賞日"), viewings));
    line->addWidget(cboMapDate_, 1);
    line->addSpacing(12);
    line->addWidget(new QLabel(QStringLiteral("鑑賞内容"), viewings));
    line->addWidget(cboMapKind_, 1);
    line->addSpacing(12);
    line->addWidget(new QLabel(QStringLiteral("内容の列が空のとき"), viewings));
    line->addWidget(txtImportKind_, 1);
    connect(txtImportKind_, &QLineEdit::textChanged, this, [this] { Replan(); });
    return viewings;
}

// The side texts below the fields: written for the titles added only.
void frmCsvImport::addSideTextColumns(QGroupBox* fields, QGridLayout* grid) {
    const std::array<std::pair<const char*, QString>, 3> textCombos = {{
        {"cboMapCast", QStringLiteral("キャスト")},
        {"cboMapPlot", QStringLiteral("あらすじ")},
        {"cboMapMemo", QStringLiteral("メモ")},
    }};
    for (size_t k = 0; k < textCombos.size(); ++k) {
        cboMapText_[k] = columnCombo(textCombos[k].first);
        cboMapText_[k]->setCurrentIndex(mapping_.sideText[k] + 1);
        cboMapText_[k]->setToolTip(QStringLiteral("追加するタイトルにだけ書きます"));
        const int col = static_cast<int>(k) * 2;
        grid->addWidget(new QLabel(textCombos[k].second, fields), kFieldRows, col);
        grid->addWidget(cboMapText_[k], kFieldRows, col + 1);
    }
}

QHBoxLayout* frmCsvImport::buildOptionBoxes() {
    chkImportFullWidth_ =
        new QCheckBox(QStringLiteral("ファイル名に使えない文字を全角に置き換える"), this);
    chkImportFullWidth_->setObjectName("chkImportFullWidth");
    chkImportYearSuffix_ = new QCheckBox(
        QStringLiteral("同名で公開年の違う作品は「タイトル (年)」として登録する"), this);
    chkImportYearSuffix_->setObjectName("chkImportYearSuffix");
    auto* boxes = new QHBoxLayout;
    for (QCheckBox* box : {chkImportFullWidth_, chkImportYearSuffix_}) {
        box->setChecked(true);
        connect(box, &QCheckBox::clicked, this, [this] { Replan(); });
        boxes->addWidget(box);
        boxes->addSpacing(24);
    }
    boxes->addStretch(1);
    return boxes;
}

// The preview table with its model; returns the caption above it.
QLabel* frmCsvImport::buildPreview(const QStringList& names) {
    auto* previewCaption = new QLabel(
        QStringLiteral("保存される内容（先頭 20 件と変更のある行）と取り込まない行"), this);
    grdImportPreview_ = new QTableView(this);
    grdImportPreview_->setObjectName("grdImportPreview");
    preview_ = new ImportPreviewModel(names, this);
    grdImportPreview_->setModel(preview_);
    grdImportPreview_->verticalHeader()->hide();
    grdImportPreview_->verticalHeader()->setDefaultSectionSize(22);
    grdImportPreview_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdImportPreview_->horizontalHeader()->setDefaultSectionSize(90);
    return previewCaption;
}

// The counts beside the two buttons.
QHBoxLayout* frmCsvImport::buildButtons() {
    lblImportCount_ = new QLabel(this);
    lblImportCount_->setObjectName("lblImportCount");
    lblImportCount_->setWordWrap(true);
    lblImportCount_->setMinimumHeight(36);

    auto* cmdImportOk = new QPushButton(QStringLiteral("取り込む"), this);
    cmdImportOk->setObjectName("cmdImportOk");
    auto* cmdImportCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    cmdImportCancel->setObjectName("cmdImportCancel");
    cmdImportOk->setAutoDefault(false);
    cmdImportCancel->setAutoDefault(false);
    connect(cmdImportOk, &QPushButton::clicked, this, &frmCsvImport::cmdImportOk_Click);
    connect(cmdImportCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblImportCount_, 1);
    buttons->addWidget(cmdImportOk);
    buttons->addWidget(cmdImportCancel);
    return buttons;
}

frmCsvImport::~frmCsvImport() = default;

QComboBox* frmCsvImport::columnCombo(const QString& name) {
    auto* combo = new QComboBox(this);
    combo->setObjectName(name);
    combo->addItem(kNone);
    for (int c = 0; c < table_.header.size(); ++c) {
        const QString caption = table_.header[c].trimmed();
        combo->addItem(caption.isEmpty() ? QStringLiteral("%1 列目").arg(c + 1) : caption);
    }
    combo->setMinimumContentsLength(8);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    connect(combo, &QComboBox::activated, this, [this] { Replan(); });
    return combo;
}

void frmCsvImport::Replan() {
    for (int f = 0; f < logic::kImportFields; ++f)
        mapping_.field[f] = cboMap_[f]->currentIndex() - 1;
    mapping_.date = cboMapDate_->currentIndex() - 1;
    mapping_.kind = cboMapKind_->currentIndex() - 1;
    mapping_.defaultKind = txtImportKind_->text();
    for (size_t k = 0; k < cboMapText_.size(); ++k)
        mapping_.sideText[k] = cboMapText_[k]->currentIndex() - 1;
    mapping_.fullWidth = chkImportFullWidth_->isChecked();
    mapping_.yearSuffix = chkImportYearSuffix_->isChecked();
    preview_->SetPlan(nullptr);
    plan_ = logic::PlanImport(table_, mapping_, w.catalogue, w.history);
    preview_->SetPlan(&plan_);
    // Values whole where they fit; the reason column at most a quarter of
    // the width, so that the title and the fields stay in view (the tool tip
    // holds every reason whole).
    grdImportPreview_->resizeColumnsToContents();
    const int width = grdImportPreview_->contentsRect().width();
    QHeaderView* columns = grdImportPreview_->horizontalHeader();
    columns->resizeSection(1, std::min(columns->sectionSize(1), width / 4));
    for (int c = 2; c < preview_->columnCount(); ++c)
        columns->resizeSection(c, std::min(columns->sectionSize(c), width / 3));
    lblImportCount_->setText(logic::ImportCountText(plan_));
}

void frmCsvImport::cmdImportOk_Click() {
    if (!plan_.HasWork()) {
        w.platform().MessageBox(plan_.mappingError.isEmpty()
                                    ? QStringLiteral("取り込めるタイトルも鑑賞記録もありません。")
                                    : plan_.mappingError,
                                kBoxTitle, Platform::Icon::Warning);
        return;
    }
    accept();
}

CsvImport::CsvImport(frmMain& window) : QObject(&window), w(window) {
    // Beside the new start, in the data-management area of the master screen.
    auto* box = new QGroupBox(QStringLiteral("データの取り込み"));
    w.PlaceInMasterArea(box, QRect(424, 484, 152, 62));
    auto* cmdCsvIn = new QPushButton(QStringLiteral("CSVから取り込む"), box);
    cmdCsvIn->setObjectName("cmdCsvIn");
    cmdCsvIn->setGeometry(12, 22, 128, 30);
    connect(cmdCsvIn, &QPushButton::clicked, this, &CsvImport::cmdCsvIn_Click);
}

void CsvImport::cmdCsvIn_Click() {
    Platform& p = w.platform();
    const std::optional<QString> path =
        p.OpenFileName(QStringLiteral("CSVから取り込む"), QDir::homePath(),
                       QStringLiteral("CSV・テキスト ファイル (*.csv *.txt)"));
    if (!path || path->isEmpty()) return;
    const QString fileName = QFileInfo(*path).fileName();
    QFile file(*path);
    if (!file.open(QIODevice::ReadOnly)) {
        w.Report(store::StoreError{fileName, 0, QStringLiteral("ファイルを開けません")});
        return;
    }
    p.SetWaitPointer(true);
    const QByteArray bytes = file.readAll();
    logic::CsvTable table;
    const store::Status read = logic::ReadCsv(bytes, fileName, table);
    p.SetWaitPointer(false);
    if (!w.Report(read)) return;

    frmCsvImport dialog(w, table, fileName);
    if (p.ExecDialog(dialog) != QDialog::Accepted) return;
    const logic::ImportPlan& plan = dialog.plan();

    p.SetWaitPointer(true);
    const logic::ImportOutcome done =
        logic::CommitImport(plan, w.catalogue, w.history, w.folder, p.CurrentTime());
    p.SetWaitPointer(false);
    if (!w.Report(done.status)) return;
    // The screens follow both files, as after adding a title and after a viewing.
    const size_t added = plan.titles.size(), viewings = plan.viewings.size(),
                 passed = plan.refused.size();
    if (added > 0 && !w.TitlesRestructured()) return;
    if (viewings > 0 && !w.LoadHistory(true)) return;
    p.MessageBox(
        QStringLiteral("取り込みが終わりました。\r\n\r\n"
                       "追加したタイトル：%1 件\r\n"
                       "追加した鑑賞記録：%2 件\r\n"
                       "取り込まなかった行：%3 件\r\n%4\r\n"
                       "取り込む前のデータは作業フォルダの「%5」フォルダに"
                       "バックアップしました。")
            .arg(added)
            .arg(viewings)
            .arg(passed)
            .arg(done.sideTextsKept == 0 ? QString()
                                         : QStringLiteral("ファイルが既にあるため書かなかった"
                                                          "キャスト・あらすじ・メモ：%1 件\r\n")
                                               .arg(done.sideTextsKept))
            .arg(done.backupFolder),
        kBoxTitle, Platform::Icon::Information);
}
