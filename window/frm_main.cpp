#include "window/frm_main.h"

#include <QApplication>
#include <QFileSystemWatcher>
#include <QFrame>
#include <QIcon>
#include <QPainter>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QTimer>

#include "store/help_document.h"
#include "store/marks.h"
#include "store/text_check.h"

namespace {

const QString kCrLf = store::marks::kLineEnd.toString();

constexpr int kWindowWidth = 1000;
constexpr int kWindowHeight = 600;
constexpr int kRowTop = 6;
constexpr int kRowHeight = 30;
constexpr int kFrameTop = 44;

struct RowButton {
    const char* name;
    QString caption;
};

// The always-visible row, left to right.
const std::vector<RowButton>& RowButtons() {
    static const std::vector<RowButton> buttons = {
        {"cmdNew", QStringLiteral("新規")},       {"cmdDel", QStringLiteral("削除")},
        {"cmdMain", QStringLiteral("メイン")},    {"cmdPic", QStringLiteral("画像")},
        {"cmdIchiran", QStringLiteral("主一覧")}, {"cmdIchiran2", QStringLiteral("評価")},
        {"cmdIchiran3", QStringLiteral("所有")},  {"cmdRank", QStringLiteral("ランク")},
        {"cmdList", QStringLiteral("鑑賞")},      {"cmdKensaku", QStringLiteral("検索")},
        {"cmdMaster", QStringLiteral("編集")},    {"cmdHelp", QStringLiteral("ヘルプ")},
        {"cmdEnd", QStringLiteral("終了")},
    };
    return buttons;
}

// The screens hidden by every switch.
const QStringList& ScreenFrames() {
    static const QStringList names = {"fraMain",     "fraList",     "fraIchiran",
                                      "fraIchiran2", "fraIchiran3", "fraKensaku",
                                      "fraMaster",   "fraPic",      "fraRank"};
    return names;
}

// The help-tour button's picture: a question mark, lit when the tour is on.
QIcon HelpTourIcon() {
    auto draw = [](bool on) {
        QPixmap pm(22, 22);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(on ? QColor(176, 120, 0) : QColor(120, 120, 120), 1.5));
        p.setBrush(on ? QColor(255, 214, 64) : QColor(220, 220, 220));
        p.drawEllipse(QRectF(1.5, 1.5, 19, 19));
        QFont f = p.font();
        f.setBold(true);
        f.setPixelSize(15);
        p.setFont(f);
        p.setPen(on ? QColor(96, 56, 0) : QColor(110, 110, 110));
        p.drawText(QRect(0, 0, 22, 22), Qt::AlignCenter, QStringLiteral("?"));
        return pm;
    };
    QIcon icon;
    icon.addPixmap(draw(true), QIcon::Normal, QIcon::On);
    icon.addPixmap(draw(false), QIcon::Normal, QIcon::Off);
    return icon;
}

}  // namespace

frmMain::frmMain(Platform& platform, const QString& folderPath, QWidget* parent)
    : QWidget(parent), folder(folderPath), platform_(platform) {
    setObjectName("frmMain");
    setWindowTitle(QStringLiteral("ホシノートＷ"));
    setFixedSize(kWindowWidth, kWindowHeight);
    buildButtonRow();
    buildFrames();
    folder.keepTrackOf({store::kDataFile, history::kHistoryFile, store::kEvaluationMasterFile,
                        store::kOwnershipMasterFile, store::kSettingsFileWrite});
    reloadTimer_ = new QTimer(this);
    reloadTimer_->setSingleShot(true);
    connect(reloadTimer_, &QTimer::timeout, this, [this] { reloadWhenIdle(); });
    // A merged write leaves memory behind the file: it is read again as soon
    // as the handler that wrote is done.
    folder.setOutsideChangeListener([this] {
        QMetaObject::invokeMethod(
            this, [this] { reloadWhenIdle(); }, Qt::QueuedConnection);
    });
}

frmMain::~frmMain() = default;

void frmMain::buildButtonRow() {
    int x = 6;
    for (const RowButton& rb : RowButtons()) {
        auto* b = new QPushButton(rb.caption, this);
        b->setObjectName(rb.name);
        b->setGeometry(x, kRowTop, 68, kRowHeight);
        b->setFocusPolicy(Qt::TabFocus);
        buttons_.insert(rb.name, b);
        x += 72;
        const QString name = rb.name;
        connect(b, &QPushButton::clicked, this, [this, name] {
            if (auto h = handlers_.value(name)) h();
        });
    }
    chkHelp_ = new QPushButton(this);
    chkHelp_->setObjectName("chkHelp");
    chkHelp_->setCheckable(true);
    chkHelp_->setIcon(HelpTourIcon());
    chkHelp_->setIconSize(QSize(22, 22));
    chkHelp_->setToolTip(QStringLiteral("ヘルプツアーのＯｎ／Ｏｆｆです"));
    chkHelp_->setGeometry(x + 8, kRowTop, 40, kRowHeight);
    buttons_.insert("chkHelp", chkHelp_);
    // Any change of state runs the handler, the program's own included; the
    // handler does nothing while the start-up sets the button.
    connect(chkHelp_, &QPushButton::toggled, this, [this] { chkHelp_Click(); });

    handlers_.insert("cmdMain", [this] { cmdMain_Click(); });
    handlers_.insert("cmdEnd", [this] { cmdEnd_Click(); });
    handlers_.insert("cmdHelp", [this] { cmdHelp_Click(); });
}

void frmMain::buildFrames() {
    const QRect area(4, kFrameTop, kWindowWidth - 8, kWindowHeight - kFrameTop - 4);
    for (const QString& name : ScreenFrames()) {
        auto* f = new QFrame(this);
        f->setObjectName(name);
        f->setGeometry(area);
        f->setFrameShape(name == "fraMain" ? QFrame::NoFrame : QFrame::StyledPanel);
        f->hide();
        frames_.insert(name, f);
    }
}

void frmMain::SetScreenButtonHandler(const QString& buttonName, std::function<void()> handler) {
    handlers_.insert(buttonName, std::move(handler));
}

QFrame* frmMain::frame(const QString& name) const {
    return frames_.value(name);
}
QPushButton* frmMain::button(const QString& name) const {
    return buttons_.value(name);
}

void frmMain::PlaceInMasterArea(QWidget* widget, const QRect& place) {
    widget->setParent(frame("fraMaster"));
    widget->setGeometry(place);
}

bool frmMain::Form_Load() {
    HelpFile = QStringLiteral("HoshinoteHelp.html");
    const qint64 started = platform_.ElapsedMilliseconds();
    platform_.ProcessPendingEvents();
    IsLoading = true;
    if (!ReloadTitles()) return false;
    if (!LoadHistory()) return false;
    if (!Report(store::LoadSettings(folder, masters))) return false;
    chkHelp_->setChecked(masters.intHelpTour == 1);
    if (titleScreen_) titleScreen_->SetupTitleHistoryGrid();
    HideAllScreens();
    frame("fraMain")->show();
    button("cmdDel")->setEnabled(true);
    DataFolder = folder.path();
    if (titleScreen_) {
        titleScreen_->SetTitleNumber(1);
        titleScreen_->ShowTitle();
        titleScreen_->FillRatingLists();
    }
    if (!LoadMasters()) return false;
    if (titleScreen_) titleScreen_->SelectMainPage();
    IsLoading = false;
    tellConflictCopies();
    watchFolder();
    const qint64 spent = platform_.ElapsedMilliseconds() - started;
    if (spent < 1500) platform_.WaitMilliseconds(1500 - spent);
    show();
    platform_.ProcessPendingEvents();

    HelpText =
        QStringLiteral(
            "起動時のこの画面はタイトル１題目に対しての各種情報が表示されているメイン画面です｡ ") +
        kCrLf + kCrLf +
        QStringLiteral("「タイトル」や「監督」、「主演」、「ジャンル」…などの表示") + kCrLf +
        QStringLiteral("タイトルの画像や７項目の自己評価、４種類のソフト所有状況を表示してます。") +
        kCrLf + kCrLf;
    ShowHelpText();
    HelpText = QStringLiteral(
                   "タイトルの画像や各種情報はインターネット上から簡単に入手することができます。") +
               kCrLf + QStringLiteral("（TSUTAYAやAmazonなど）") + kCrLf + kCrLf +
               QStringLiteral(
                   "画像やあらすじ等を一緒にコレクションすることで楽しさがアップすると思います");
    ShowHelpText();
    return true;
}

bool frmMain::LoadMasters() {
    if (!Report(store::LoadEvaluationMaster(folder, masters))) return false;
    if (titleScreen_) titleScreen_->ShowEvaluationItems();
    if (!Report(store::LoadOwnershipMaster(folder, masters))) return false;
    if (titleScreen_) titleScreen_->ShowOwnershipItems();
    emit itemMastersRenamed();
    return true;
}

void frmMain::ItemMastersRenamed() {
    if (titleScreen_) {
        titleScreen_->ShowEvaluationItems();
        titleScreen_->ShowOwnershipItems();
    }
    emit itemMastersRenamed();
}

bool frmMain::ReloadTitles() {
    const bool ok = Report(catalogue.LoadTitleData(folder));
    if (titleScreen_) titleScreen_->TitlesReloaded();
    return ok;
}

bool frmMain::TitlesRestructured() {
    const QScopedValueRollback<bool> written(afterWrite_, true);
    const bool ok = ReloadTitles();
    GalleryOutOfDate = true;
    return ok;
}

bool frmMain::TitlesReordered(const store::Status& written) {
    if (!Report(written)) return false;
    if (!TitlesRestructured()) return false;
    const QScopedValueRollback<bool> written2(afterWrite_, true);
    if (titleScreen_) titleScreen_->ShowTitleAt(1);
    return true;
}

void frmMain::JumpToTitle(const QString& name) {
    if (const int i = catalogue.IndexOf(name); i > 0) JumpTitle = i;
    ShowMainScreen(JumpTitle);
}

bool frmMain::LoadHistory(bool afterWrite) {
    const QScopedValueRollback<bool> written(afterWrite_, afterWrite_ || afterWrite);
    const bool ok = Report(history.LoadHistory(folder));
    HistoryChanged();
    return ok;
}

void frmMain::HistoryChanged() {
    emit historyChanged();
    if (titleScreen_) titleScreen_->HistoryReloaded();
}

bool frmMain::Report(const store::Status& status) {
    if (status.isOk()) return true;
    if (afterWrite_ && !status.isWritten()) {
        // The change is in the files; only reading them back failed.
        platform_.MessageBox(
            QStringLiteral("変更はファイルに書き込みましたが、読み直せないため画面には"
                           "表示できません。プログラムを起動し直してください。") +
                kCrLf + kCrLf + status.error().message(),
            QStringLiteral("ファイルの警告"), Platform::Icon::Warning);
        return false;
    }
    // Bytes in place whose safety on the disk is in doubt: the change stands.
    const bool written = status.isWritten();
    platform_.MessageBox(
        status.error().message(),
        written ? QStringLiteral("ファイルの警告") : QStringLiteral("ファイルエラー"),
        written ? Platform::Icon::Warning : Platform::Icon::Critical);
    return written;
}

int frmMain::AcceptTitleName(const QString& name) {
    const int k = catalogue.IndexOf(name);
    if (k == 0) {
        platform_.MessageBox(QStringLiteral("「%1」というタイトルは登録されていません。").arg(name),
                             QStringLiteral("タイトル名違い"), Platform::Icon::Warning);
    }
    return k;
}

bool frmMain::AcceptRecordText(const QString& text, QString& normalised) {
    return AcceptChecked(store::CheckRecordText(text), normalised);
}

bool frmMain::AcceptLineText(const QString& text, QString& normalised) {
    return AcceptChecked(store::CheckLineText(text), normalised);
}

bool frmMain::AcceptChecked(const store::InputCheck& check, QString& normalised) {
    if (!check.ok()) {
        platform_.MessageBox(check.warning(), store::InputCheck::warningTitle(),
                             Platform::Icon::Warning);
        return false;
    }
    normalised = check.text;
    return true;
}

void frmMain::HideAllScreens() {
    for (const QString& name : ScreenFrames()) frames_.value(name)->hide();
    button("cmdDel")->setEnabled(false);
}

void frmMain::ResetSubPages() {
    if (titleScreen_) titleScreen_->ResetSubPages();
}

void frmMain::ShowHelpText() {
    if (masters.intHelpTour != 0) {
        platform_.MessageBox(HelpText, QStringLiteral("ヘルプツアー"), Platform::Icon::Information);
    }
}

void frmMain::ShowMainScreen(int i) {
    if (titleScreen_ && i > 0) titleScreen_->SetTitleNumber(i);
    HideAllScreens();
    frame("fraMain")->show();
    button("cmdDel")->setEnabled(true);
    platform_.ProcessPendingEvents();
}

void frmMain::cmdMain_Click() {
    if (frame("fraMain")->isVisible()) return;
    // Titles deleted since the pick: the last title stands in for it.
    ShowMainScreen(JumpTitle > 0 ? std::min(JumpTitle, catalogue.ScrollMaximum()) : 0);
}

void frmMain::cmdEnd_Click() {
    platform_.CloseHelp();
    emit endRequested();
}

void frmMain::closeEvent(QCloseEvent* event) {
    platform_.CloseHelp();
    QWidget::closeEvent(event);
}

void frmMain::cmdHelp_Click() {
    platform_.ShowHelp(store::HelpDocumentPath(folder, HelpFile), this);
}

void frmMain::chkHelp_Click() {
    if (IsLoading) return;
    qint16 value = 0;
    if (chkHelp_->isChecked()) {
        platform_.MessageBox(QStringLiteral("ヘルプツアー機能をオンにします。"),
                             QStringLiteral("ヘルプツアーＯＮ"), Platform::Icon::Information);
        value = 1;
    } else {
        platform_.MessageBox(QStringLiteral("ヘルプツアー機能をオフにします。"),
                             QStringLiteral("ヘルプツアーＯＦＦ"), Platform::Icon::Information);
    }
    if (!Report(store::SaveSettings(folder, value))) {
        const QSignalBlocker quiet(chkHelp_);
        chkHelp_->setChecked(value == 0);  // the file keeps the old switch
        return;
    }
    masters.intHelpTour = value;
}

// ---------------------------------------------------------------- outside changes

void frmMain::watchFolder() {
    watcher_ = new QFileSystemWatcher(this);
    // A file replaced by renaming leaves the file's watch: the folder's stays.
    watcher_->addPath(folder.path());
    const auto changed = [this] { reloadTimer_->start(300); };
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, changed);
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, changed);
    for (const QString& name : {store::kDataFile, history::kHistoryFile}) {
        if (folder.exists(name)) watcher_->addPath(*folder.resolve(name));
    }
}

// Never in the middle of a handler that waits on a box.
void frmMain::reloadWhenIdle() {
    if (QApplication::activeModalWidget() || IsLoading) {
        reloadTimer_->start(300);
        return;
    }
    reloadChangedFiles();
}

bool frmMain::reloadFile(const QString& name) {
    folder.clearUnwritable(name);
    if (name == store::kDataFile) {
        const int shown = titleScreen_ ? titleScreen_->TitleNumber() : 0;
        const QString title = shown >= 1 && shown <= catalogue.TitleCount
                                  ? catalogue.strDaimei[static_cast<size_t>(shown)]
                                  : QString();
        // A file that does not read leaves memory as it was (and unwritable).
        store::Catalogue fresh;
        if (!Report(fresh.LoadTitleData(folder))) return false;
        catalogue = std::move(fresh);
        GalleryOutOfDate = true;
        if (titleScreen_) {
            titleScreen_->TitlesReloaded();
            const int i = catalogue.IndexOf(title);
            titleScreen_->ShowTitleAt(i > 0 ? i : 1);
        }
        return true;
    }
    if (name == history::kHistoryFile) {
        history::History fresh;
        if (!Report(fresh.LoadHistory(folder))) return false;
        history = std::move(fresh);
        HistoryChanged();
        if (titleScreen_) titleScreen_->ShowTitleHistory();
        return true;
    }
    if (name == store::kSettingsFileWrite) {
        store::Masters fresh = masters;
        if (!Report(store::LoadSettings(folder, fresh))) return false;
        masters.intHelpTour = fresh.intHelpTour;
        const QSignalBlocker quiet(chkHelp_);
        chkHelp_->setChecked(masters.intHelpTour == 1);
        return true;
    }
    store::Masters fresh = masters;
    const bool evaluation = name == store::kEvaluationMasterFile;
    if (!Report(evaluation ? store::LoadEvaluationMaster(folder, fresh)
                           : store::LoadOwnershipMaster(folder, fresh))) {
        return false;
    }
    masters = fresh;
    ItemMastersRenamed();
    return true;
}

void frmMain::reloadChangedFiles() {
    reloadTimer_->stop();
    const QStringList changed = folder.changedFiles();
    const std::vector<store::OutsideChange> merged = folder.takeOutsideChanges();
    {
        // A merged write is in place: a failed reload is not the write's.
        const QScopedValueRollback<bool> written(afterWrite_, !merged.empty());
        for (const QString& name : changed) (void)reloadFile(name);
    }
    if (watcher_) {
        for (const QString& name : {store::kDataFile, history::kHistoryFile}) {
            if (folder.exists(name)) watcher_->addPath(*folder.resolve(name));
        }
    }
    tellOutsideChanges(merged);
    if (!changed.isEmpty()) tellConflictCopies();
}

void frmMain::tellOutsideChanges(const std::vector<store::OutsideChange>& changes) {
    if (changes.empty()) return;
    QStringList files, conflicts;
    for (const store::OutsideChange& c : changes) {
        if (!files.contains(c.file)) files << c.file;
        for (const QString& t : c.conflicts) {
            if (!conflicts.contains(t)) conflicts << t;
        }
    }
    QString text;
    for (const QString& file : files) {
        if (!text.isEmpty()) text += kCrLf;
        text += QStringLiteral(
                    "「%1」がほかのプログラムで変更されていたため、"
                    "その変更を読み込んでから保存しました。")
                    .arg(file);
    }
    if (!conflicts.isEmpty()) {
        QStringList named;
        for (const QString& t : conflicts.mid(0, 5)) named << QStringLiteral("「%1」").arg(t);
        text += kCrLf + kCrLf +
                QStringLiteral("両方で変更された項目は、このウィンドウの変更を残しました：") +
                kCrLf + named.join(QStringLiteral("、"));
        if (conflicts.size() > 5) text += QStringLiteral(" ほか %1 件").arg(conflicts.size() - 5);
    }
    platform_.MessageBox(text, QStringLiteral("外部の変更"), Platform::Icon::Information);
}

void frmMain::tellConflictCopies() {
    QStringList fresh;
    for (const QString& name : store::SyncConflictCopies(folder)) {
        if (!toldCopies_.contains(name)) fresh << QStringLiteral("「%1」").arg(name);
        toldCopies_.insert(name);
    }
    if (fresh.isEmpty()) return;
    platform_.MessageBox(QStringLiteral("同期ツールが作った競合のコピーがフォルダーにあります：") +
                             kCrLf + fresh.join(kCrLf) + kCrLf + kCrLf +
                             QStringLiteral("このプログラムは自動では取り込みません。"
                                            "内容を比べて、必要な変更を入力し直してください。"),
                         QStringLiteral("競合したコピー"), Platform::Icon::Information);
}

void frmMain::Raise() {
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
}
