// Opens the program on a working folder and saves a PNG of every screen:
//   hoshi_screenshots <working folder> <output folder>
// Dialogs are answered at once (and each is saved as a picture too).
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "app/qt_japanese.h"
#include "screens/screens.h"
#include "window/frm_main.h"
#include "window/grid.h"
#include "window/qt_platform.h"

namespace {

QString outDir;
int shot = 0;

void Save(QWidget* w, const QString& name) {
    QApplication::processEvents();
    const QString file =
        QDir(outDir).filePath(QStringLiteral("%1-%2.png").arg(++shot, 2, 10, QChar('0')).arg(name));
    w->grab().save(file);
    std::printf("%s\n", qPrintable(file));
}

// The real platform, except that every box is shown, pictured and closed.
class PicturingPlatform : public QtPlatform {
public:
    Answer MessageBox(const QString& text, const QString& title, Icon icon, Buttons buttons,
                      std::optional<Answer> defaultButton) override {
        QMessageBox box(icon == Icon::Warning ? QMessageBox::Warning : QMessageBox::Information,
                        title, text);
        box.show();
        Save(&box, QStringLiteral("box"));
        box.close();
        (void)buttons;
        return defaultButton.value_or(Answer::Ok);
    }
    void WaitMilliseconds(qint64) override {}

    // --- bringing a CSV file in: the file given, the dialog pictured over the window ---
    QString openPath;
    std::optional<QString> OpenFileName(const QString&, const QString&, const QString&) override {
        return openPath;
    }
    int ExecDialog(QDialog& dialog) override {
        dialog.show();
        QApplication::processEvents();
        Save(&dialog, dialog.objectName());
        const QString file = QDir(outDir).filePath(QStringLiteral("%1-%2-screen.png")
                                                       .arg(++shot, 2, 10, QChar('0'))
                                                       .arg(dialog.objectName()));
        QGuiApplication::primaryScreen()->grabWindow(0).save(file);
        std::printf("%s\n", qPrintable(file));
        dialog.close();
        return QDialog::Rejected;
    }
};

}  // namespace

int main(int argc, char* argv[]) {
    // The gallery's thumbnails go to a folder of this run, not the user's.
    QTemporaryDir cache;
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache.path()));
    QApplication app(argc, argv);
    InstallQtJapanese(app);
    app.setFont(QFont(QStringLiteral("IPAGothic"), 10));
    if (argc < 3) {
        std::fprintf(stderr, "usage: hoshi_screenshots <working folder> <output folder>\n");
        return 2;
    }
    QDir::setCurrent(QString::fromLocal8Bit(argv[1]));
    outDir = QDir(QString::fromLocal8Bit(argv[2])).absolutePath();
    QDir().mkpath(outDir);
    PicturingPlatform platform;
    frmMain window(platform, QDir::currentPath());
    AttachScreens(window);
    if (!window.Form_Load()) return 1;
    Save(&window, QStringLiteral("main"));
    // The help viewer on the screen, placed over the window.
    window.button("cmdHelp")->click();
    QApplication::processEvents();
    Save(platform.helpViewer(), QStringLiteral("help"));
    QGuiApplication::primaryScreen()->grabWindow(0).save(
        QDir(outDir).filePath(QStringLiteral("%1-help-screen.png").arg(++shot, 2, 10, QChar('0'))));
    platform.CloseHelp();
    for (const char* page : {"cmdHyouji2", "cmdHyouji3", "cmdHyouji4", "cmdHyouji1"}) {
        window.findChild<QPushButton*>(page)->click();
        Save(&window, page);
    }
    // The viewing entry panel, as a double-click on the title's history opens it.
    emit window.findChild<Grid*>("msgKansyou")->DblClick();
    Save(&window, QStringLiteral("viewing-entry"));
    window.findChild<QPushButton*>("cmdYame1")->click();
    // The picture import panel, a picture of the working folder previewed.
    QLabel* picture = window.findChild<QLabel*>("imgGazou");
    QMouseEvent click(QEvent::MouseButtonRelease, QPointF(5, 5),
                      picture->mapToGlobal(QPointF(5, 5)), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(picture, &click);
    if (auto* files = window.findChild<QListWidget*>("filZukei_Moto"); files->count() > 1)
        files->setCurrentRow(1);
    Save(&window, QStringLiteral("picture-import"));
    window.findChild<QPushButton*>("cmdYame")->click();
    // The search screen with the titles of the first director listed.
    window.button("cmdKensaku")->click();
    auto* director = window.findChild<QComboBox*>("cboKantoku2");
    director->setCurrentIndex(0);
    emit director->activated(0);
    Save(&window, QStringLiteral("search-director"));
    for (const char* b : {"cmdIchiran", "cmdIchiran2", "cmdIchiran3", "cmdList", "cmdRank",
                          "cmdPic", "cmdMaster", "cmdMain"}) {
        window.button(b)->click();
        Save(&window, b);
    }
    // The month rankings switched to years.
    for (const auto& [b, label] :
         {std::pair{"cmdList", "lblKansyouChg"}, {"cmdRank", "lblKoukaiChg"}}) {
        window.button(b)->click();
        QLabel* l = window.findChild<QLabel*>(label);
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), l->mapToGlobal(QPointF(5, 5)),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5),
                            l->mapToGlobal(QPointF(5, 5)), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(l, &press);
        QApplication::sendEvent(l, &release);
        Save(&window, QStringLiteral("%1-years").arg(b));
    }
    // The chart windows: the top directors of the ranking screen, the viewings
    // per month, then per year.
    window.findChild<QPushButton*>("cmdGraphRank")->click();
    Save(window.findChild<QWidget*>("frmGraphRank"), QStringLiteral("frmGraphRank"));
    window.button("cmdList")->click();
    window.findChild<QPushButton*>("cmdGraphList")->click();
    Save(window.findChild<QWidget*>("frmGraphList"), QStringLiteral("frmGraphList-months"));
    QLabel* months = window.findChild<QLabel*>("lblKansyouChg");
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent e(type, QPointF(5, 5), months->mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(months, &e);
    }
    Save(window.findChild<QWidget*>("frmGraphList"), QStringLiteral("frmGraphList-years"));
    // The main list sorted by its title button.
    window.button("cmdIchiran")->click();
    window.findChild<QPushButton*>("cmdSort1_0")->click();
    Save(&window, QStringLiteral("list-sorted"));
    // The master screen with a move of the display-order list waiting.
    window.button("cmdMaster")->click();
    auto* list = window.findChild<QListView*>("lstBicho");
    const auto drop = [list](QEvent::Type type, int row) {
        const QPointF at = list->visualRect(list->model()->index(row, 0)).center();
        QMouseEvent e(type, at, list->viewport()->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
        QApplication::sendEvent(list->viewport(), &e);
    };
    drop(QEvent::MouseButtonPress, 0);
    drop(QEvent::MouseButtonRelease, 2);
    Save(&window, QStringLiteral("cmdMaster-moved"));
    // The mapping dialog of a Letterboxd diary.
    QFile diary(QDir(outDir).filePath(QStringLiteral("diary.csv")));
    if (diary.open(QIODevice::WriteOnly)) {
        diary.write(
            "Date,Name,Year,Letterboxd URI,Rating,Rewatch,Tags,Watched Date\n"
            "2024-01-02,2001: A Space Odyssey,1968,https://boxd.it/ffff,5,,,2024-01-01\n"
            "2024-01-03,Dune,1984,https://boxd.it/gggg,2.5,,,2024-01-02\n"
            "2024-01-04,Dune,2021,https://boxd.it/hhhh,4,,,2024-01-03\n"
            "2024-01-05,Perfect Days,2023,https://boxd.it/aaaa,4.5,,,2024-01-04\n"
            "2024-02-11,Perfect Days,2023,https://boxd.it/aaaa,5,Yes,,2024-02-10\n"
            "2024-01-09,\"Godzilla Minus One\",2023,https://boxd.it/bbbb,4,,\"kaiju, "
            "toho\",2024-01-08\n"
            "2024-02-20,"
            "\xe5\x8d\x83\xe3\x81\xa8\xe5\x8d\x83\xe5\xb0\x8b\xe3\x81\xae\xe7\xa5\x9e\xe9\x9a\xa0"
            "\xe3\x81\x97,2001,https://boxd.it/cccc,5,Yes,,2024-02-18\n"
            ",2019,https://boxd.it/dddd,3,,,2024-03-01\n"
            "2024-03-05,Drive My Car,2021,https://boxd.it/eeee,4,,,2024-03-04\n"
            "2024-03-20,Who's Afraid of Virginia Woolf?,1966,https://boxd.it/iiii,4,,,"
            "2024-03-19\n"
            "2024-03-22,Dune,2021,https://boxd.it/hhhh,4.5,Yes,,2024-03-21\n");
        diary.close();
        platform.openPath = diary.fileName();
        window.findChild<QPushButton*>("cmdCsvIn")->click();
        Save(&window, QStringLiteral("cmdMaster-import"));
    }
    return 0;
}
