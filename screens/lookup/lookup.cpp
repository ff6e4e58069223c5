#include "screens/lookup/lookup.h"

#include <QBuffer>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "online/tmdb_client.h"
#include "window/frm_main.h"

namespace {

using logic::LookupField;
using online::Failure;

struct Texts {
    QString boxTitle = QStringLiteral("ネットで調べる");
    QString dialogTitle = QStringLiteral("ネットで調べる（TMDB）");
    QString attribution = QStringLiteral(
        "このアプリケーションはTMDB "
        "APIを使用していますが、TMDBによる承認や認定を受けたものではありません。");
    QString busy = QStringLiteral("TMDBに問い合わせています…");
    QString nothingFound =
        QStringLiteral("見つかりませんでした。検索する題名を変えて、もう一度検索してください。");
    QString choose = QStringLiteral("候補を選んで「選ぶ」を押すと、詳しい内容を取り寄せます。");
    QString tick = QStringLiteral("取り込む項目にチェックを付けて「取り込む」を押してください。");
    QString picture = QStringLiteral("ポスター画像（%1×%2）");
    QString overwrite = QStringLiteral("同じ名前の画像が既に存在します。上書きしますか？");
    QString overwriteTitle = QStringLiteral("上書き確認");
    QString askCredential = QStringLiteral(
        "TMDBのAPIキー（32桁）またはAPI読み取りアクセストークン（eyJ…）を入力してください。\n"
        "TMDBにログインし、アカウント設定の「API」で作れます：\n"
        "https://www.themoviedb.org/settings/api\n\n"
        "入力したものは、このコンピューターのあなたの設定にだけ保存されます。");
    QString askCredentialTitle = QStringLiteral("TMDBの設定");
    QString settingsPrompt =
        QStringLiteral("\n\n空にして「OK」を押すと、保存されているものを削除します。");
    QString badCredential = QStringLiteral(
        "APIキー（16進数32桁）でもアクセストークン（eyJで始まるもの）でもありません。"
        "もう一度入力してください。");
    QString notSaved = QStringLiteral(
        "TMDBの設定を保存できませんでした（%1）。設定フォルダに書き込めるか確かめてください。");
    QString removed = QStringLiteral("TMDBの設定を削除しました。");
    QString unauthorized = QStringLiteral(
        "TMDBにAPIキー（アクセストークン）を認められませんでした。"
        "正しいものを入力し直してください。");
    QString notFound = QStringLiteral(
        "TMDBにその作品が見つかりませんでした（404）。別の候補を選ぶか、検索し直してください。");
    QString rateLimited = QStringLiteral(
        "TMDBへの問い合わせが多すぎるため、受け付けられませんでした。"
        "しばらく待ってから、もう一度お試しください。");
    QString network = QStringLiteral(
        "TMDBに接続できませんでした。ネットワークにつながっているか確かめてから、"
        "もう一度お試しください。\n（%1）");
    QString timeout = QStringLiteral(
        "TMDBから15秒以内に応答がありませんでした。ネットワークの状態を確かめてから、"
        "もう一度お試しください。");
    QString server = QStringLiteral(
        "TMDBがエラーを返しました（%1）。しばらく待ってから、もう一度お試しください。");
    QString badResponse = QStringLiteral(
        "TMDBから思いがけない形の応答が返りました。しばらく待ってから、もう一度お試しください。"
        "続くときは、このプログラムの新しい版をお使いください。");
    QStringList resultColumns = {QStringLiteral("題名"), QStringLiteral("原題"),
                                 QStringLiteral("年")};
    QStringList fieldColumns = {QStringLiteral("取込"), QStringLiteral("項目"),
                                QStringLiteral("現在の値"), QStringLiteral("見つかった値")};
};

const Texts& T() {
    static const Texts texts;
    return texts;
}

constexpr int kThumbnailHeight = 48;

// A long or many-line text in one cell: its first line, "…" when cut.
QString OneLine(const QString& text) {
    const QString first = text.section(u'\n', 0, 0);
    return first.size() < text.size() ? first + QStringLiteral("…") : first;
}

// The poster as the JPEG it is stored as; empty when it is no picture.
QByteArray AsJpeg(const QByteArray& bytes, QSize& size) {
    QImage image = QImage::fromData(bytes);
    size = image.size();
    if (image.isNull()) return {};
    if (bytes.startsWith("\xFF\xD8\xFF")) return bytes;
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.convertTo(QImage::Format_RGB32);
    return image.save(&buffer, "JPG", 90) ? jpeg : QByteArray();
}

}  // namespace

std::optional<QString> AskCredential(frmMain& w, const QString& shown) {
    Platform& p = w.platform();
    for (;;) {
        std::optional<QString> typed = p.InputBox(T().askCredential, T().askCredentialTitle, shown);
        if (!typed) return std::nullopt;
        const QString credential = typed->trimmed();
        if (online::KindOfCredential(credential) == online::CredentialKind::None) {
            p.MessageBox(T().badCredential, T().askCredentialTitle, Platform::Icon::Warning);
            continue;
        }
        if (!online::SaveCredential(credential)) {
            p.MessageBox(T().notSaved.arg(online::CredentialFile()), T().askCredentialTitle,
                         Platform::Icon::Warning);
        }
        return credential;
    }
}

frmLookup::frmLookup(frmMain& window, int title, const QString& credential)
    : QDialog(&window),
      w(window),
      title_(title),
      client_(new online::TmdbClient(online::EndpointsFromEnvironment(), credential, this)),
      thumbnails_(new online::TmdbClient(online::EndpointsFromEnvironment(), credential, this)) {
    const store::Catalogue& c = w.catalogue;
    static const QRegularExpression year(QStringLiteral("^\\d{4}"));
    const QRegularExpressionMatch m = year.match(c.strNengetu[title]);
    if (m.hasMatch()) year_ = m.captured();
    build();
    txtLookupQuery_->setText(c.strDaimei[title]);
    QTimer::singleShot(0, this, &frmLookup::cmdLookupSearch_Click);
}

frmLookup::~frmLookup() = default;

void frmLookup::build() {
    setObjectName("frmLookup");
    setWindowTitle(T().dialogTitle);
    setWindowModality(Qt::WindowModal);
    resize(860, 640);
    auto* layout = new QVBoxLayout(this);
    buildSearch(layout);
    buildFieldTable(layout);
    buildButtons(layout);

    // Enter in the search text searches; it must not take the found values.
    cmdLookupOk_->setAutoDefault(false);
    cmdLookupCancel_->setAutoDefault(false);
    cmdLookupChoose_->setAutoDefault(false);
    connect(txtLookupQuery_, &QLineEdit::returnPressed, this, &frmLookup::cmdLookupSearch_Click);
    connect(cmdLookupSearch_, &QPushButton::clicked, this, &frmLookup::cmdLookupSearch_Click);
    connect(cmdLookupChoose_, &QPushButton::clicked, this, &frmLookup::cmdLookupChoose_Click);
    connect(grdLookupResults_, &QTableView::doubleClicked, this, &frmLookup::cmdLookupChoose_Click);
    connect(cmdLookupOk_, &QPushButton::clicked, this, &frmLookup::cmdLookupOk_Click);
    connect(cmdLookupCancel_, &QPushButton::clicked, this, &frmLookup::reject);
}

// The title to search for, the films found, and the choice of one.
void frmLookup::buildSearch(QVBoxLayout* layout) {
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(new QLabel(QStringLiteral("検索する題名"), this));
    txtLookupQuery_ = new QLineEdit(this);
    txtLookupQuery_->setObjectName("txtLookupQuery");
    searchRow->addWidget(txtLookupQuery_, 1);
    cmdLookupSearch_ = new QPushButton(QStringLiteral("検索"), this);
    cmdLookupSearch_->setObjectName("cmdLookupSearch");
    searchRow->addWidget(cmdLookupSearch_);
    layout->addLayout(searchRow);

    results_ = new QStandardItemModel(0, 3, this);
    results_->setHorizontalHeaderLabels(T().resultColumns);
    grdLookupResults_ = new QTableView(this);
    grdLookupResults_->setObjectName("grdLookupResults");
    grdLookupResults_->setModel(results_);
    grdLookupResults_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdLookupResults_->setSelectionMode(QAbstractItemView::SingleSelection);
    grdLookupResults_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdLookupResults_->setIconSize(QSize(kThumbnailHeight * 2 / 3, kThumbnailHeight));
    grdLookupResults_->verticalHeader()->hide();
    grdLookupResults_->verticalHeader()->setDefaultSectionSize(kThumbnailHeight + 6);
    grdLookupResults_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    grdLookupResults_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    grdLookupResults_->setColumnWidth(2, 60);
    layout->addWidget(grdLookupResults_, 3);

    auto* chooseRow = new QHBoxLayout;
    lblLookupBusy_ = new QLabel(this);
    lblLookupBusy_->setObjectName("lblLookupBusy");
    chooseRow->addWidget(lblLookupBusy_, 1);
    cmdLookupChoose_ = new QPushButton(QStringLiteral("選ぶ"), this);
    cmdLookupChoose_->setObjectName("cmdLookupChoose");
    cmdLookupChoose_->setEnabled(false);
    chooseRow->addWidget(cmdLookupChoose_);
    layout->addLayout(chooseRow);
}

// What the chosen film holds beside what the title holds, a box for each.
void frmLookup::buildFieldTable(QVBoxLayout* layout) {
    fields_ = new QStandardItemModel(logic::kLookupFields, 4, this);
    fields_->setHorizontalHeaderLabels(T().fieldColumns);
    grdLookupFields_ = new QTableView(this);
    grdLookupFields_->setObjectName("grdLookupFields");
    grdLookupFields_->setModel(fields_);
    grdLookupFields_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdLookupFields_->setSelectionMode(QAbstractItemView::NoSelection);
    grdLookupFields_->verticalHeader()->hide();
    grdLookupFields_->setColumnWidth(0, 44);
    grdLookupFields_->setColumnWidth(1, 76);
    grdLookupFields_->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    grdLookupFields_->horizontalHeader()->setSectionResizeMode(3, QHeaderView::Stretch);
    for (int k = 0; k < logic::kLookupFields; ++k) {
        fields_->setItem(k, 1, new QStandardItem(logic::LookupFieldName(LookupField(k))));
        chkLookup_[k] = new QCheckBox(grdLookupFields_);
        chkLookup_[k]->setObjectName(QStringLiteral("chkLookup_%1").arg(k));
        chkLookup_[k]->setAccessibleName(logic::LookupFieldName(LookupField(k)));
        chkLookup_[k]->setEnabled(false);
        grdLookupFields_->setIndexWidget(fields_->index(k, 0), chkLookup_[k]);
    }
    layout->addWidget(grdLookupFields_, 4);
}

void frmLookup::buildButtons(QVBoxLayout* layout) {
    auto* attribution = new QLabel(T().attribution, this);
    attribution->setObjectName("lblLookupAttribution");
    attribution->setWordWrap(true);
    layout->addWidget(attribution);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    cmdLookupOk_ = new QPushButton(QStringLiteral("取り込む"), this);
    cmdLookupOk_->setObjectName("cmdLookupOk");
    cmdLookupOk_->setEnabled(false);
    cmdLookupCancel_ = new QPushButton(QStringLiteral("キャンセル"), this);
    cmdLookupCancel_->setObjectName("cmdLookupCancel");
    buttons->addWidget(cmdLookupOk_);
    buttons->addWidget(cmdLookupCancel_);
    layout->addLayout(buttons);
}

void frmLookup::Busy(bool on) {
    lblLookupBusy_->setText(on ? T().busy : QString());
}

void frmLookup::reject() {
    client_->cancel();
    thumbnails_->cancel();
    QDialog::reject();
}

void frmLookup::Failed(Failure failure, int status, const QString& detail,
                       std::function<void()> again) {
    Busy(false);
    Platform& p = w.platform();
    const auto tell = [&](const QString& text, Platform::Icon icon = Platform::Icon::Warning) {
        p.MessageBox(text, T().boxTitle, icon);
    };
    switch (failure) {
        case Failure::Unauthorized: {
            tell(T().unauthorized);
            if (std::optional<QString> credential = AskCredential(w, QString())) {
                client_->setCredential(*credential);
                thumbnails_->setCredential(*credential);
                again();
            }
            return;
        }
        case Failure::NotFound:
            return tell(T().notFound);
        case Failure::RateLimited:
            return tell(T().rateLimited);
        case Failure::Network:
            return tell(T().network.arg(detail));
        case Failure::Timeout:
            return tell(T().timeout);
        case Failure::Server:
            return tell(T().server.arg(status));
        case Failure::BadResponse:
            return tell(T().badResponse);
        case Failure::None:
        case Failure::Cancelled:
            return;
    }
}

void frmLookup::cmdLookupSearch_Click() {
    const QString query = txtLookupQuery_->text().trimmed();
    if (query.isEmpty()) return;
    thumbnails_->cancel();
    Busy(true);
    client_->Search(query, year_, [this](const online::Result<std::vector<online::Candidate>>& r) {
        if (!r.ok()) {
            return Failed(r.failure, r.httpStatus, r.detail, [this] { cmdLookupSearch_Click(); });
        }
        ShowCandidates(r.value);
    });
}

void frmLookup::ShowCandidates(const std::vector<online::Candidate>& found) {
    Busy(false);
    candidates_ = found;
    results_->removeRows(0, results_->rowCount());
    for (const online::Candidate& c : found) {
        QList<QStandardItem*> row = {new QStandardItem(c.title), new QStandardItem(c.originalTitle),
                                     new QStandardItem(c.releaseDate.left(4))};
        row[0]->setToolTip(c.overview);
        results_->appendRow(row);
    }
    cmdLookupChoose_->setEnabled(!found.empty());
    lblLookupBusy_->setText(found.empty() ? T().nothingFound : T().choose);
    if (found.empty()) return;
    grdLookupResults_->selectRow(0);
    NextThumbnail(0);
}

// The small posters come one after another, on a client of their own, so
// that choosing a film never waits for them; one that fails is left out.
void frmLookup::NextThumbnail(int row) {
    while (row < int(candidates_.size()) && candidates_[size_t(row)].posterPath.isEmpty()) ++row;
    if (row >= int(candidates_.size())) return;
    thumbnails_->Poster(
        QStringLiteral("w92"), candidates_[size_t(row)].posterPath,
        [this, row](const online::Result<QByteArray>& r) {
            QImage image;
            if (r.ok() && image.loadFromData(r.value)) {
                results_->item(row, 0)->setIcon(QPixmap::fromImage(
                    image.scaledToHeight(kThumbnailHeight, Qt::SmoothTransformation)));
            }
            NextThumbnail(row + 1);
        });
}

void frmLookup::cmdLookupChoose_Click() {
    const QModelIndexList chosen = grdLookupResults_->selectionModel()->selectedRows();
    if (chosen.isEmpty()) return;
    const int id = candidates_[size_t(chosen.first().row())].id;
    Busy(true);
    cmdLookupOk_->setEnabled(false);
    client_->Details(id, [this](const online::Result<online::FilmDetails>& r) {
        if (!r.ok()) {
            return Failed(r.failure, r.httpStatus, r.detail, [this] { cmdLookupChoose_Click(); });
        }
        DetailsArrived(r.value);
    });
}

void frmLookup::DetailsArrived(const online::FilmDetails& details) {
    if (details.posterPath.isEmpty()) return ShowFields(details, {});
    client_->Poster(QStringLiteral("w500"), details.posterPath,
                    [this, details](const online::Result<QByteArray>& r) {
                        if (!r.ok()) {
                            return Failed(r.failure, r.httpStatus, r.detail,
                                          [this, details] { DetailsArrived(details); });
                        }
                        ShowFields(details, r.value);
                    });
}

void frmLookup::ShowFields(const online::FilmDetails& d, const QByteArray& poster) {
    Busy(false);
    if (const store::Status read =
            logic::CurrentLookupValues(w.folder, w.catalogue, title_, current_);
        !read) {
        w.Report(read);
        return;
    }
    QSize size;
    poster_ = AsJpeg(poster, size);
    const QString picture =
        poster_.isEmpty() ? QString() : T().picture.arg(size.width()).arg(size.height());
    const logic::LookupTexts found = {
        d.directors, d.lead, d.release,  logic::JapaneseCountryName(d.countryCode),
        d.genre,     d.cast, d.overview, picture};
    rows_ = logic::DecideFill(current_, found);
    for (int k = 0; k < logic::kLookupFields; ++k) {
        const logic::FillRow& row = rows_[size_t(k)];
        auto* now = new QStandardItem(OneLine(current_[size_t(k)]));
        now->setToolTip(current_[size_t(k)]);
        QString shown = OneLine(row.value);
        if (!row.refusal.isEmpty()) shown = row.refusal + QStringLiteral("：") + shown;
        auto* got = new QStandardItem(shown);
        got->setToolTip(row.value);
        if (!row.refusal.isEmpty()) got->setForeground(QColor(192, 0, 0));
        fields_->setItem(k, 2, now);
        fields_->setItem(k, 3, got);
        chkLookup_[k]->setEnabled(row.checkable);
        chkLookup_[k]->setChecked(row.checked);
    }
    lblLookupBusy_->setText(T().tick);
    cmdLookupOk_->setEnabled(true);
}

void frmLookup::cmdLookupOk_Click() {
    choice_ = {};
    for (int k = 0; k < logic::kLookupFields; ++k) {
        choice_.take[size_t(k)] = chkLookup_[k]->isChecked() && rows_[size_t(k)].checkable;
        choice_.values[size_t(k)] = rows_[size_t(k)].value;
    }
    choice_.jpeg = poster_;
    const bool picture = choice_.take[size_t(LookupField::Picture)];
    if (picture && !current_[size_t(LookupField::Picture)].isEmpty() &&
        w.platform().MessageBox(T().overwrite, T().overwriteTitle, Platform::Icon::Warning,
                                Platform::Buttons::OkCancel) != Platform::Answer::Ok) {
        return;
    }
    client_->cancel();
    thumbnails_->cancel();
    accept();
}

Lookup::Lookup(frmMain& window, QPushButton* cmdLookup) : QObject(&window), w(window) {
    connect(cmdLookup, &QPushButton::clicked, this, &Lookup::cmdLookup_Click);
    auto* cmdLookupSettings = new QPushButton(QStringLiteral("TMDBの設定…"));
    cmdLookupSettings->setObjectName("cmdLookupSettings");
    w.PlaceInMasterArea(cmdLookupSettings, QRect(448, 372, 104, 32));
    connect(cmdLookupSettings, &QPushButton::clicked, this, &Lookup::cmdLookupSettings_Click);
}

void Lookup::cmdLookup_Click() {
    TitleScreen* screen = w.titleScreen();
    if (w.catalogue.TitleCount == 0 || !screen) return;
    const int title = w.AcceptTitleName(screen->ShownName());
    if (title == 0) return;
    QString credential = online::LoadCredential();
    if (online::KindOfCredential(credential) == online::CredentialKind::None) {
        const std::optional<QString> given = AskCredential(w, QString());
        if (!given) return;
        credential = *given;
    }
    frmLookup dialog(w, title, credential);
    if (w.platform().ExecDialog(dialog) != QDialog::Accepted) return;
    const store::Status stored = logic::StoreLookup(w.folder, w.catalogue, title, dialog.choice());
    if (!w.Report(stored)) return;
    if (dialog.choice().take[size_t(LookupField::Picture)]) w.GalleryOutOfDate = true;
    screen->TitlesReloaded();
    screen->ShowTitleAt(title);
}

void Lookup::cmdLookupSettings_Click() {
    Platform& p = w.platform();
    const QString old = online::LoadCredential();
    for (;;) {
        const std::optional<QString> typed =
            p.InputBox(T().askCredential + T().settingsPrompt, T().askCredentialTitle, old);
        if (!typed) return;
        const QString credential = typed->trimmed();
        if (!credential.isEmpty() &&
            online::KindOfCredential(credential) == online::CredentialKind::None) {
            p.MessageBox(T().badCredential, T().askCredentialTitle, Platform::Icon::Warning);
            continue;
        }
        if (!online::SaveCredential(credential)) {
            p.MessageBox(T().notSaved.arg(online::CredentialFile()), T().askCredentialTitle,
                         Platform::Icon::Warning);
        } else if (credential.isEmpty() && !old.isEmpty()) {
            p.MessageBox(T().removed, T().askCredentialTitle, Platform::Icon::Information);
        }
        return;
    }
}
