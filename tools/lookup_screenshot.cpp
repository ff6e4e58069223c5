// Pictures the lookup dialog against a local server standing in for TMDB:
//   hoshi_lookup_screenshot <working folder> <output folder>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFont>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTemporaryDir>
#include <cstdio>

#include "app/qt_japanese.h"
#include "online/tmdb.h"
#include "screens/screens.h"
#include "tests/support/local_http.h"
#include "window/frm_main.h"
#include "window/qt_platform.h"

namespace {

QString outDir;

void WaitFor(const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

class PicturingPlatform : public QtPlatform {
public:
    // The help tour's boxes are answered at once.
    Answer MessageBox(const QString& text, const QString&, Icon, Buttons,
                      std::optional<Answer> defaultButton) override {
        std::printf("box: %s\n", qPrintable(text));
        return defaultButton.value_or(Answer::Ok);
    }
    void WaitMilliseconds(qint64) override {}
    int ExecDialog(QDialog& dialog) override {
        dialog.show();
        auto* results = dialog.findChild<QTableView*>("grdLookupResults");
        WaitFor([&] { return results->model()->rowCount() > 0; });
        dialog.findChild<QPushButton*>("cmdLookupChoose")->click();
        auto* ok = dialog.findChild<QPushButton*>("cmdLookupOk");
        WaitFor([&] { return ok->isEnabled(); });
        QApplication::processEvents();
        dialog.grab().save(QDir(outDir).filePath("frmLookup.png"));
        QGuiApplication::primaryScreen()->grabWindow(0).save(
            QDir(outDir).filePath("frmLookup-screen.png"));
        dialog.close();
        return QDialog::Rejected;
    }
};

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) return 2;
    QTemporaryDir cache, config;
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    QApplication app(argc, argv);
    InstallQtJapanese(app);
    app.setFont(QFont(QStringLiteral("IPAGothic"), 10));
    QDir::setCurrent(QString::fromLocal8Bit(argv[1]));
    outDir = QDir(QString::fromLocal8Bit(argv[2])).absolutePath();
    QDir().mkpath(outDir);

    const QByteArray totoro = ReadAll(QStringLiteral("となりのトトロ.jpg"));
    const QByteArray laputa = ReadAll(QStringLiteral("天空の城ラピュタ.jpg"));
    LocalHttpServer server;
    server.handler = [&](const QByteArray& target) -> LocalHttpServer::Response {
        if (target.startsWith("/3/search/movie")) {
            return {200,
                    R"({"page":1,"results":[
 {"id":8392,"title":"となりのトトロ","original_title":"となりのトトロ","release_date":"1988-04-16","poster_path":"/totoro.jpg"},
 {"id":10515,"title":"天空の城ラピュタ","original_title":"天空の城ラピュタ","release_date":"1986-08-02","poster_path":"/laputa.jpg"},
 {"id":500,"title":"トトロとネコバス","original_title":"Mei and the Kittenbus","release_date":"2002-10-01","poster_path":null}]})",
                    {},
                    false};
        }
        if (target.startsWith("/3/movie/")) {
            return {200,
                    R"({"id":8392,"release_date":"1988-04-16","poster_path":"/totoro.jpg",
 "overview":"田舎へ引っ越してきた草壁家の姉妹サツキとメイは、森に住む不思議な生き物トトロと出会う。",
 "genres":[{"name":"アニメーション"},{"name":"ファミリー"}],"production_countries":[{"iso_3166_1":"JP"}],
 "credits":{"cast":[{"name":"日高のり子","character":"草壁サツキ","order":0},{"name":"坂本千夏","character":"草壁メイ","order":1},
   {"name":"糸井重里","character":"草壁タツオ","order":2},{"name":"Amélie Poulain","character":"","order":3}],
  "crew":[{"name":"宮崎駿","job":"Director"}]},
 "release_dates":{"results":[{"iso_3166_1":"JP","release_dates":[{"release_date":"1988-04-16T00:00:00.000Z","type":3}]}]}})",
                    {},
                    false};
        }
        if (target.endsWith("/totoro.jpg")) return {200, totoro, {}, false};
        if (target.endsWith("/laputa.jpg")) return {200, laputa, {}, false};
        return {404, {}, {}, false};
    };
    qputenv("HOSHINOTE_TMDB_API", (server.Base() + "/3").toLatin1());
    qputenv("HOSHINOTE_TMDB_IMAGES", (server.Base() + "/t/p").toLatin1());
    online::SaveCredential(QStringLiteral("0123456789abcdef0123456789abcdef"));

    PicturingPlatform platform;
    frmMain window(platform, QDir::currentPath());
    AttachScreens(window);
    if (!window.Form_Load()) return 1;
    window.show();
    const int title = window.catalogue.IndexOf(QStringLiteral("となりのトトロ"));
    // Two fields empty in memory, to show rows taken by default.
    window.catalogue.strKuni[title].clear();
    window.catalogue.strJanru[title].clear();
    window.titleScreen()->ShowTitleAt(title);
    window.grab().save(QDir(outDir).filePath("main.png"));
    window.findChild<QPushButton*>("cmdLookup")->click();
    window.button("cmdMaster")->click();
    window.grab().save(QDir(outDir).filePath("master.png"));
    return 0;
}
