#include "screens/titles/title_commands.h"

#include <QFrame>

#include "logic/new_start.h"
#include "screens/titles/new_start.h"
#include "store/marks.h"
#include "store/side_files.h"
#include "store/text_check.h"
#include "window/frm_main.h"

namespace {

const QString kCrLf = store::marks::kLineEnd.toString();

void DeleteFilesOfTitle(store::WorkingFolder& folder, const QString& name) {
    if (!logic::IsKeptForSomethingElse(name + QStringLiteral(".TXT"))) {
        store::DeleteTitleFiles(folder, name);
        return;
    }
    for (const char* ending : {".jpg", ".bmp", ".gif"})
        (void)folder.remove(name + QLatin1String(ending));
}

QString AddHelpFirst() {
    return QStringLiteral("タイトル情報を追加することができます。") + kCrLf + kCrLf +
           QStringLiteral("最初にタイトル名を聞いてきますので、タイトル名を入力します。") + kCrLf +
           QStringLiteral("これだけでひとまず１タイトル分の登録が終了です。") + kCrLf + kCrLf;
}

QString AddHelpSecond() {
    return QStringLiteral(
               "監督、主演、公開日、製作国、ジャンル、評価が「未登録」になっていますので必要に応じ"
               "て登録します。") +
           kCrLf +
           QStringLiteral(
               "それぞれ入力後にＥｎｔｅｒキーを押してください。なお一度登録した情報は次からコンボ"
               "リスト選択できます。") +
           kCrLf + kCrLf + QStringLiteral("自己評価はコンボリストから点数を指定します。") + kCrLf +
           QStringLiteral("ソフト所有管理については所有しているソフトにチェックを入れます。") +
           kCrLf + kCrLf +
           QStringLiteral(
               "鑑賞状況も管理したい場合は、鑑賞状況のリストをダブルクリックしてください。") +
           kCrLf + kCrLf +
           QStringLiteral("※管理するのはタイトル名だけでいいや！という方はこのままでＯＫです。");
}

QString AddHelpThird() {
    return QStringLiteral("＜画像の表示方法＞") + kCrLf + kCrLf +
           QStringLiteral(
               "①まずはネット上から映画タイトルの画像を取得し任意の場所に保存しておきます。（TSUTAY"
               "Aがお薦め）") +
           kCrLf +
           QStringLiteral(
               "（スキャナをお持ちならそちらでもＯＫですがネット上からのダウンロードがお手軽です。"
               "）") +
           kCrLf + kCrLf +
           QStringLiteral("②画像表示部をクリックすると、画像読み込みのための枠が表示されます。") +
           kCrLf +
           QStringLiteral("ここで①にて取得しておいたファイルを選択して確定ボタンを押すだけ。") +
           kCrLf + kCrLf +
           QStringLiteral(
               "間違った画像を割り付けてしまった場合はもう一度同じ作業を繰り返して正しい画像を取得"
               "してください。");
}

}  // namespace

TitleCommands::TitleCommands(frmMain& window) : QObject(&window), w(window) {
    w.SetScreenButtonHandler("cmdNew", [this] { cmdNew_Click(); });
    w.SetScreenButtonHandler("cmdDel", [this] { cmdDel_Click(); });
    new NewStart(w);
}

void TitleCommands::cmdNew_Click() {
    if (!w.frame("fraMain")->isVisible()) w.ShowMainScreen();
    // The title counter is 16 bits: one more record could never be read back.
    if (w.catalogue.TitleCount >= store::kMaxRecords) {
        w.platform().MessageBox(
            QStringLiteral("登録できるタイトルは %1 件までです。").arg(store::kMaxRecords),
            QStringLiteral("登録数の上限"), Platform::Icon::Warning);
        return;
    }
    w.HelpText = AddHelpFirst();
    w.ShowHelpText();

    const std::optional<QString> name = AskNewTitleName();
    if (!name) return;
    if (!w.Report(w.catalogue.AppendTitle(w.folder, *name))) return;
    if (!w.TitlesRestructured()) return;
    // The new title is shown even when the scroll bar already stood there
    // (adding to an empty catalogue).
    w.titleScreen()->ShowTitleAt(w.catalogue.TitleCount);

    w.HelpText = AddHelpSecond();
    w.ShowHelpText();
    w.HelpText = AddHelpThird();
    w.ShowHelpText();
}

std::optional<QString> TitleCommands::AskNewTitleName() {
    Platform& p = w.platform();
    QString defaultText;
    for (;;) {
        const std::optional<QString> answer =
            p.InputBox(QStringLiteral("タイトル名を入力して下さい"),
                       QStringLiteral("タイトル名入力"), defaultText);
        if (!answer || answer->isEmpty()) return std::nullopt;
        if (store::HasForbiddenInTitle(*answer)) {
            p.MessageBox(QStringLiteral("\\ / : , ; * ? < > |　の文字は使えません。"),
                         QStringLiteral("入力制限"), Platform::Icon::Warning);
            continue;
        }
        // Characters the data file cannot hold are refused the same way.
        QString name;
        if (!w.AcceptRecordText(*answer, name)) continue;
        if (const std::optional<QString> tooLong = store::TitleNameTooLong(name)) {
            p.MessageBox(*tooLong, store::InputCheck::warningTitle(), Platform::Icon::Warning);
            defaultText = *answer;  // to be shortened
            continue;
        }
        if (w.catalogue.IndexOf(name) > 0) {
            p.MessageBox(QStringLiteral("既に同じタイトル名で登録されているものがあります。") +
                             kCrLf + kCrLf +
                             QStringLiteral(
                                 "題名の後ろに追番やアーティスト名を入れるなどして区別して下さい"),
                         QStringLiteral("二重登録"), Platform::Icon::Warning);
            defaultText = *answer;
            continue;
        }
        return name;
    }
}

void TitleCommands::cmdDel_Click() {
    Platform& p = w.platform();
    const QString name = w.titleScreen()->ShownName();
    // The name box can be typed into; only a title's own name may be deleted.
    const int k = w.AcceptTitleName(name);
    if (k == 0) return;
    // There is no undo: Return alone must not delete.
    if (p.MessageBox(name + QStringLiteral("のデータを削除していいですか？"),
                     QStringLiteral("削除確認"), Platform::Icon::Warning,
                     Platform::Buttons::OkCancel,
                     Platform::Answer::Cancel) != Platform::Answer::Ok) {
        return;
    }
    const int n = w.catalogue.TitleCount;
    // The record goes first: if the data file cannot be written, the title
    // stays whole, pictures included.
    if (!w.Report(w.catalogue.SaveTitleDataWithout(w.folder, k))) return;
    DeleteFilesOfTitle(w.folder, name);
    if (!w.TitlesRestructured()) return;
    // The title that took its place, or the new last one.
    w.titleScreen()->ShowTitleAt(k < n ? k : k - 1);
}
