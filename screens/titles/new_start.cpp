#include "screens/titles/new_start.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QScopedValueRollback>
#include <memory>

#include "store/marks.h"
#include "window/frm_main.h"

namespace {

const QString kTitle = QStringLiteral("データ削除");
const QString kAskTitle = QStringLiteral("タイトル全データ削除確認");
const QString kCrLf = store::marks::kLineEnd.toString();

QString BackedUp(const QString& folderName) {
    return QStringLiteral("削除前のデータは作業フォルダの「%1」フォルダにバックアップしました。")
        .arg(folderName);
}

// Long work under the wait pointer; past half a second a window-modal
// progress window takes over as the sign of life. Between files it looks at
// the clock only, and lets the window paint a few times a second.
class WorkProgress {
public:
    WorkProgress(QWidget& window, Platform& platform)
        : window_(window), p_(platform), start_(platform.ElapsedMilliseconds()) {
        p_.SetWaitPointer(true);
    }
    ~WorkProgress() {
        if (waiting_) p_.SetWaitPointer(false);
    }

    // The next stage; only the first can be cancelled.
    void Stage(const QString& label, bool cancellable) {
        label_ = label;
        cancellable_ = cancellable;
        if (dialog_) Arrange();
    }

    // False once the user cancelled.
    bool Step(int done, int total) {
        const qint64 now = p_.ElapsedMilliseconds();
        if (!dialog_) {
            if (now - start_ < kShowAfterMs) return true;
            Open();
        } else if (now - lastTurn_ < kTurnEveryMs && done != total) {
            return !cancelled_;
        }
        lastTurn_ = now;
        // Escape hides a dialog without a cancel button; the clearing goes on.
        if (!dialog_->isVisible()) dialog_->show();
        dialog_->setMaximum(total);
        dialog_->setValue(done);
        if (numbered_) {
            dialog_->setLabelText(label_ +
                                  QStringLiteral("\n%1 / %2 ファイル").arg(done).arg(total));
        }
        p_.ProcessPendingEvents();
        return !cancelled_;
    }

    // Closes the progress window (before a box).
    void Close() {
        dialog_.reset();
        if (waiting_) p_.SetWaitPointer(false);
        waiting_ = false;
    }

private:
    static constexpr qint64 kShowAfterMs = 500;
    static constexpr qint64 kTurnEveryMs = 50;

    void Open() {
        dialog_ = std::make_unique<QProgressDialog>(&window_);
        dialog_->setObjectName("frmProgress");
        dialog_->setWindowTitle(QStringLiteral("データ削除"));
        dialog_->setWindowModality(Qt::WindowModal);
        dialog_->setAutoReset(false);
        dialog_->setAutoClose(false);
        dialog_->setMinimumDuration(0);
        dialog_->setMinimumWidth(360);
        QObject::connect(dialog_.get(), &QProgressDialog::canceled, [this] {
            if (cancellable_) cancelled_ = true;
        });
        Arrange();
        dialog_->show();
        // The window is the sign of life now, and its button wants the arrow.
        p_.SetWaitPointer(false);
        waiting_ = false;
    }

    void Arrange() {
        numbered_ = cancellable_;
        dialog_->setLabelText(label_);
        if (cancellable_) {
            auto* cancel = new QPushButton(QStringLiteral("キャンセル"));
            cancel->setObjectName("cmdProgressCancel");
            dialog_->setCancelButton(cancel);
        } else {
            dialog_->setCancelButton(nullptr);
        }
    }

    QWidget& window_;
    Platform& p_;
    const qint64 start_;
    qint64 lastTurn_ = 0;
    bool waiting_ = true;
    QString label_;
    bool cancellable_ = false;
    bool numbered_ = false;
    bool cancelled_ = false;
    std::unique_ptr<QProgressDialog> dialog_;
};

}  // namespace

NewStart::NewStart(frmMain& window) : QObject(&window), w(window) {
    // The lower left of the master screen, below its two master groups.
    auto* box = new QGroupBox(QStringLiteral("新規データでスタート"));
    w.PlaceInMasterArea(box, QRect(8, 484, 408, 62));
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
                                                                     store::WorkingFolder&,
                                                                     const logic::Progress&)) {
    Platform& p = w.platform();
    WorkProgress progress(w, p);
    const logic::Progress step = [&progress](int done, int total) {
        return progress.Step(done, total);
    };
    progress.Stage(QStringLiteral("バックアップを作成しています…"), true);
    const logic::BackupResult backup =
        logic::BackUpBeforeClearing(w.catalogue, w.folder, p.CurrentTime(), step);
    if (backup.cancelled) {
        progress.Close();
        Told(QStringLiteral("バックアップを中止しました。データは削除していません。"));
        return std::nullopt;
    }
    if (!backup.status) {
        progress.Close();
        const store::StoreError& e = backup.status.error();
        w.Report(store::StoreError{e.file, e.line,
                                   e.reason + QStringLiteral("。バックアップを作れないため、"
                                                             "データは削除していません")});
        return std::nullopt;
    }
    progress.Stage(QStringLiteral("データを削除しています…"), false);
    const logic::ClearResult r = clear(w.catalogue, w.folder, step);
    progress.Close();
    if (!r.undeleted.isEmpty()) {
        w.platform().MessageBox(
            QStringLiteral("削除できなかったファイルが %1 個あります（最初のファイル：「%2」）。"
                           "バックアップ「%3」には、すべてが元のまま残っています。")
                .arg(r.undeleted.size())
                .arg(r.undeleted.first(), backup.folderName),
            kTitle, Platform::Icon::Warning);
    }
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
    if (running_) return;
    const QScopedValueRollback<bool> running(running_, true);
    if (!Asked(QStringLiteral("現在登録されているデータを全てクリアして新規スタートしますか？")))
        return;
    const auto backup = Cleared(&logic::ClearForNewStart);
    if (!backup) return;
    Told(
        QStringLiteral("データを削除しました。評価項目と所有項目は必要に応じて変更してください。") +
        kCrLf + kCrLf + BackedUp(*backup));
    Told(QStringLiteral("一旦プログラムを終了しますので再起動してください。"));
    w.cmdEnd_Click();
}

void NewStart::cmdAllDel_Click() {
    if (running_) return;
    const QScopedValueRollback<bool> running(running_, true);
    if (!Asked(QStringLiteral("現在登録されているデータを全てクリアしますか？"))) return;
    const auto backup = Cleared(&logic::ClearTitles);
    if (!backup) return;
    Told(BackedUp(*backup) + kCrLf + kCrLf +
         QStringLiteral("一旦プログラムを終了しますので再起動してください。"));
    w.cmdEnd_Click();
}
