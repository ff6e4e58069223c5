#include "screens/titles/new_start.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "window/frm_main.h"

namespace {

const QString kTitle = QStringLiteral("データ削除");
const QString kAskTitle = QStringLiteral("タイトル全データ削除確認");

QString BackedUp(const QString& folderName) {
    return QStringLiteral("削除前のデータは作業フォルダの「%1」フォルダにバックアップしました。")
        .arg(folderName);
}

}  // namespace

NewStart::NewStart(frmMain& window) : QObject(&window), w(window) {
    // The lower left of the master screen, below its two master groups.
    auto* box = new QGroupBox(QStringLiteral("新規データでスタート"), w.frame("fraMaster"));
    box->setGeometry(8, 484, 408, 62);
    auto* cmdSinki = new QPushButton(QStringLiteral("新規"), box);
    cmdSinki->setObjectName("cmdSinki");
    cmdSinki->setGeometry(14, 22, 80, 30);
    auto* caption = new QLabel(QStringLiteral("現在のデータを削除し新規にスタートします。"), box);
    caption->setGeometry(104, 26, 296, 22);
    connect(cmdSinki, &QPushButton::clicked, this, [this] { cmdSinki_Click(); });

    // No size, and out of the tab order: it is never reached by the user.
    auto* cmdAllDel = new QPushButton(QStringLiteral("初期化"), box);
    cmdAllDel->setObjectName("cmdAllDel");
    cmdAllDel->setGeometry(0, 0, 0, 0);
    cmdAllDel->setFocusPolicy(Qt::NoFocus);
    connect(cmdAllDel, &QPushButton::clicked, this, [this] { cmdAllDel_Click(); });
}

bool NewStart::Asked(const QString& question) {
    return w.platform().MessageBox(question, kAskTitle, Platform::Icon::Question,
                                   Platform::Buttons::YesNo,
                                   Platform::Answer::No) == Platform::Answer::Yes;
}

std::optional<QString> NewStart::Cleared(logic::ClearResult (*clear)(const store::Catalogue&,
                                                                     store::WorkingFolder&)) {
    Platform& p = w.platform();
    p.SetWaitPointer(true);
    const logic::BackupResult backup =
        logic::BackUpBeforeClearing(w.catalogue, w.folder, p.CurrentTime());
    if (!backup.status) {
        p.SetWaitPointer(false);
        const store::StoreError& e = backup.status.error();
        w.Report(store::StoreError{e.file, e.line,
                                   e.reason + QStringLiteral("。バックアップを作れないため、"
                                                             "データは削除していません")});
        return std::nullopt;
    }
    const logic::ClearResult r = clear(w.catalogue, w.folder);
    p.SetWaitPointer(false);
    if (r.status) return backup.folderName;
    w.Report(r.status);
    // The titles are gone from the file already: the screens follow it.
    if (r.dataEmptied) w.TitlesRestructured();
    return std::nullopt;
}

void NewStart::Told(const QString& message) {
    w.platform().MessageBox(message, kTitle, Platform::Icon::Information);
}

void NewStart::cmdSinki_Click() {
    if (!Asked(QStringLiteral("現在登録されているデータを全てクリアして新規スタートしますか？")))
        return;
    const auto backup = Cleared(&logic::ClearForNewStart);
    if (!backup) return;
    Told(
        QStringLiteral("データを削除しました。評価項目と所有項目は必要に応じて変更してください。") +
        QStringLiteral("\r\n\r\n") + BackedUp(*backup));
    Told(QStringLiteral("一旦プログラムを終了しますので再起動してください。"));
    w.cmdEnd_Click();
}

void NewStart::cmdAllDel_Click() {
    if (!Asked(QStringLiteral("現在登録されているデータを全てクリアしますか？"))) return;
    const auto backup = Cleared(&logic::ClearTitles);
    if (!backup) return;
    Told(BackedUp(*backup) + QStringLiteral("\r\n\r\n") +
         QStringLiteral("一旦プログラムを終了しますので再起動してください。"));
    w.cmdEnd_Click();
}
