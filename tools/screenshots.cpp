// Opens the program on a working folder and saves a PNG of every screen:
//   hoshi_screenshots <working folder> <output folder>
// Dialogs are answered at once (and each is saved as a picture too).
#include <QApplication>
#include <QDir>
#include <QFont>
#include <QListView>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <cstdio>

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
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
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
    for (const char* page : {"cmdHyouji2", "cmdHyouji3", "cmdHyouji4", "cmdHyouji1"}) {
        window.findChild<QPushButton*>(page)->click();
        Save(&window, page);
    }
    // The viewing entry panel, as a double-click on the title's history opens it.
    emit window.findChild<Grid*>("msgKansyou")->DblClick();
    Save(&window, QStringLiteral("viewing-entry"));
    window.findChild<QPushButton*>("cmdYame1")->click();
    for (const char* b : {"cmdKensaku", "cmdIchiran", "cmdIchiran2", "cmdIchiran3", "cmdList",
                          "cmdRank", "cmdPic", "cmdMaster", "cmdMain"}) {
        window.button(b)->click();
        Save(&window, b);
    }
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
    return 0;
}
