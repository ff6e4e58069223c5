#include "screens/main/text_pages.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>

#include "screens/main/main_screen.h"
#include "store/marks.h"
#include "store/side_files.h"

namespace {

// The box gives its lines separated by "\n"; the file holds them separated by
// CR LF, as the loader joins them back.
QString WithFileLineEnds(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), store::marks::kLineEnd.toString());
    return text;
}

}  // namespace

TextPages::TextPages(MainScreen& screen) : QObject(&screen), s(screen) {
    connect(s.cmdSubData[1], &QPushButton::clicked, this, &TextPages::cmdSubData1_Click);
    connect(s.cmdSubData[2], &QPushButton::clicked, this, &TextPages::cmdSubData2_Click);
    connect(s.cmdSubData[3], &QPushButton::clicked, this, &TextPages::cmdSubData3_Click);
}

// True while the file is still what the page was filled from (one stat;
// the bytes only when the stat differs). A title other than the one shown has
// nothing to compare with.
bool TextPages::UnchangedSinceShown(int k, const QString& title, const QString& file) const {
    if (title != s.shownSideTitle) return true;
    const std::optional<store::Fingerprint>& shown = s.shownSideFile[k];
    const std::optional<store::Fingerprint> now = s.w.folder.fingerprint(file, false);
    if (!shown || !now) return shown.has_value() == now.has_value();
    if (now->sameStat(*shown)) return true;
    return s.w.folder.fingerprint(file).value_or(store::Fingerprint{}).hash == shown->hash;
}

void TextPages::SavePage(int k) {
    QPlainTextEdit* page = s.txtSubData[k];
    const QString typed = page->toPlainText();
    const QString title = s.cboName->currentText();
    if (s.w.AcceptTitleName(title) == 0) return;
    if (const std::optional<QString> tooLong = store::TitleNameTooLong(title)) {
        s.w.platform().MessageBox(*tooLong, store::InputCheck::warningTitle(),
                                  Platform::Icon::Warning);
        return;
    }
    QString text;
    if (!s.w.AcceptLineText(typed, text)) return;
    const QString file = store::SideTextFileName(store::SideText(k), title);
    if (!UnchangedSinceShown(k, title, file)) {
        const QString entry = s.w.folder.resolve(file).value_or(file).section(QLatin1Char('/'), -1);
        if (s.w.platform().MessageBox(
                QStringLiteral("「%1」はほかのプログラムで変更されています。上書きしますか？")
                    .arg(entry),
                QStringLiteral("ホシノートＷ"), Platform::Icon::Question, Platform::Buttons::YesNo,
                Platform::Answer::No) != Platform::Answer::Yes) {
            return;
        }
    }
    const bool saved = s.w.Report(
        store::SaveSideText(s.w.folder, store::SideText(k), title, WithFileLineEnds(text)));
    if (title == s.shownSideTitle) s.shownSideFile[k] = s.w.folder.fingerprint(file);
    if (!saved) return;
    // What is on the page is what the file now reads back as.
    if (text != typed) page->setPlainText(text);
    // The word search's file lists (filCast, filArasuji, filMemo) are to be
    // refreshed here once that screen exists.
}
