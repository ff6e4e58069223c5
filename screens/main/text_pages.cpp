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
    if (!s.w.Report(
            store::SaveSideText(s.w.folder, store::SideText(k), title, WithFileLineEnds(text))))
        return;
    // What is on the page is what the file now reads back as.
    if (text != typed) page->setPlainText(text);
    // The word search's file lists (filCast, filArasuji, filMemo) are to be
    // refreshed here once that screen exists.
}
