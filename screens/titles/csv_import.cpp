#include "screens/titles/csv_import.h"

#include <QAbstractTableModel>
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
constexpr int kPreviewTitles = 20;

}  // namespace

// The first titles as they will be stored, then every refused row by line.
class ImportPreviewModel : public QAbstractTableModel {
public:
    ImportPreviewModel(QStringList fieldNames, QObject* parent)
        : QAbstractTableModel(parent), names_(std::move(fieldNames)) {}

    void SetPlan(const logic::ImportPlan* plan) {
        beginResetModel();
        plan_ = plan;
        shown_ = plan ? std::min<int>(kPreviewTitles, static_cast<int>(plan->titles.size())) : 0;
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override {
        if (parent.isValid() || !plan_) return 0;
        return shown_ + static_cast<int>(plan_->refused.size());
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
        if ((role != Qt::DisplayRole && role != Qt::ToolTipRole) || !plan_) return {};
        const int r = index.row(), c = index.column();
        if (r < shown_) {
            const logic::ImportTitle& t = plan_->titles[static_cast<size_t>(r)];
            if (c == 0) return t.line;
            if (c == 1) return QStringLiteral("追加");
            return t.fields.value(c - 2);
        }
        const logic::RefusedRow& refused = plan_->refused[static_cast<size_t>(r - shown_)];
        if (c == 0) return refused.line;
        if (c == 1) {
            QString why = QStringLiteral("しない：") + logic::RefusalText(refused.reason);
            if (!refused.detail.isEmpty()) why += QStringLiteral("（") + refused.detail + u'）';
            return why;
        }
        return c == 2 ? QVariant(refused.title) : QVariant();
    }

private:
    QStringList names_;
    const logic::ImportPlan* plan_ = nullptr;
    int shown_ = 0;
};

frmCsvImport::frmCsvImport(frmMain& window, const logic::CsvTable& table, const QString& fileName)
    : QDialog(&window), w(window), table_(table) {
    setObjectName("frmCsvImport");
    setWindowTitle(QStringLiteral("CSVから取り込む：") + fileName);
    setWindowModality(Qt::WindowModal);
    const QStringList names = logic::ImportFieldNames(w.masters);
    mapping_ = logic::PresetMapping(table.header, w.masters);

    auto* fields = new QGroupBox(QStringLiteral("タイトルの項目にするファイルの列"), this);
    auto* grid = new QGridLayout(fields);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    constexpr int kRows = 6;
    for (int f = 0; f < logic::kImportFields; ++f) {
        auto* label = new QLabel(names[f], fields);
        cboMap_[f] = columnCombo(QStringLiteral("cboMap_%1").arg(f));
        cboMap_[f]->setCurrentIndex(mapping_.field[f] + 1);
        const int row = f % kRows, col = (f / kRows) * 2;
        grid->addWidget(label, row, col);
        grid->addWidget(cboMap_[f], row, col + 1);
        grid->setColumnStretch(col + 1, 1);
    }

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

    auto* previewCaption =
        new QLabel(QStringLiteral("保存される内容（先頭 20 件）と取り込まない行"), this);
    grdImportPreview_ = new QTableView(this);
    grdImportPreview_->setObjectName("grdImportPreview");
    preview_ = new ImportPreviewModel(names, this);
    grdImportPreview_->setModel(preview_);
    grdImportPreview_->verticalHeader()->hide();
    grdImportPreview_->verticalHeader()->setDefaultSectionSize(22);
    grdImportPreview_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdImportPreview_->horizontalHeader()->setDefaultSectionSize(90);

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

    auto* all = new QVBoxLayout(this);
    all->addWidget(fields);
    all->addWidget(viewings);
    all->addWidget(previewCaption);
    all->addWidget(grdImportPreview_, 1);
    all->addLayout(buttons);
    // Inside the window, which is of a fixed size.
    setFixedSize(std::min(960, w.width() - 20), std::min(560, w.height() - 20));
    Replan();
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
    preview_->SetPlan(nullptr);
    plan_ = logic::PlanImport(table_, mapping_, w.catalogue, w.history);
    preview_->SetPlan(&plan_);
    // Every reason and value whole (the view measures the rows it shows).
    grdImportPreview_->resizeColumnsToContents();
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
    auto* box = new QGroupBox(QStringLiteral("データの取り込み"), w.frame("fraMaster"));
    box->setGeometry(424, 484, 152, 62);
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
    p.MessageBox(QStringLiteral("取り込みが終わりました。\r\n\r\n"
                                "追加したタイトル：%1 件\r\n"
                                "追加した鑑賞記録：%2 件\r\n"
                                "取り込まなかった行：%3 件\r\n\r\n"
                                "取り込む前のデータは作業フォルダの「%4」フォルダに"
                                "バックアップしました。")
                     .arg(added)
                     .arg(viewings)
                     .arg(passed)
                     .arg(done.backupFolder),
                 kBoxTitle, Platform::Icon::Information);
}
