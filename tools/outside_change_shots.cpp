// Pictures of the boxes of a catalogue changed outside the program:
//   hoshi_outside_change_shots <working folder> <output folder>
// The folder gets a sync conflict copy (its box comes at the start), then
// another program changes the data file and the window saves a field.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QMessageBox>
#include <cstdio>

#include "app/qt_japanese.h"
#include "screens/screens.h"
#include "window/frm_main.h"
#include "window/qt_platform.h"

namespace {

QString outDir;

// The real platform, except that every box is shown, pictured and closed.
class PicturingPlatform : public QtPlatform {
public:
    Answer MessageBox(const QString& text, const QString& title, Icon icon, Buttons buttons,
                      std::optional<Answer> defaultButton) override {
        QMessageBox box(icon == Icon::Warning ? QMessageBox::Warning : QMessageBox::Information,
                        title, text);
        box.show();
        QApplication::processEvents();
        const QString file = QDir(outDir).filePath(QStringLiteral("%1.png").arg(title));
        box.grab().save(file);
        std::printf("%s\n", qPrintable(file));
        box.close();
        (void)buttons;
        return defaultButton.value_or(Answer::Ok);
    }
    void WaitMilliseconds(qint64) override {}
};

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) return 2;
    QApplication app(argc, argv);
    InstallQtJapanese(app);
    app.setFont(QFont(QStringLiteral("IPAGothic"), 10));
    const QString folder = QString::fromLocal8Bit(argv[1]);
    outDir = QDir(QString::fromLocal8Bit(argv[2])).absolutePath();
    QDir().mkpath(outDir);
    QFile::copy(
        QDir(folder).filePath(QStringLiteral("データ.TXT")),
        QDir(folder).filePath(QStringLiteral("データ.sync-conflict-20261209-101500-7QXKZ2D.TXT")));
    PicturingPlatform platform;
    frmMain window(platform, folder);
    AttachScreens(window);
    if (!window.Form_Load()) return 1;

    // Another program: two directors changed, one of them also in the window.
    {
        store::WorkingFolder other(folder);
        store::Catalogue c;
        if (!c.LoadTitleData(other).isOk() || c.TitleCount < 3) return 1;
        c.strKantoku[1] = QStringLiteral("ほかのプログラムの監督");
        c.strKantoku[2] = QStringLiteral("ほかのプログラムの監督");
        if (!c.SaveTitleData(other).isOk()) return 1;
    }
    window.catalogue.strKantoku[1] = QStringLiteral("このウィンドウの監督");
    window.catalogue.strSyuen[3] = QStringLiteral("このウィンドウの主演");
    if (!window.Report(window.catalogue.SaveTitleData(window.folder))) return 1;
    QApplication::processEvents();
    QApplication::processEvents();
    return 0;
}
