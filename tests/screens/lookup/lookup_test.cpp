#include <QAbstractItemModel>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QImage>
#include <QPushButton>
#include <QTableView>

#include "tests/support/gui_app.h"
#include "tests/support/local_http.h"
#include "tests/support/window_fixture.h"

namespace {

template <class T>
T* In(QDialog& d, const char* name) {
    T* found = d.findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
}

bool WaitFor(const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
    return done();
}

QString Cell(QTableView* grid, int row, int column) {
    return grid->model()->index(row, column).data().toString();
}

// The server's socket needs the application made first.
struct AppFirst {
    AppFirst() { EnsureGuiApplication(); }
};

class LookupTest : public WindowTest, AppFirst {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        qputenv("HOSHINOTE_TMDB_API", (server.Base() + "/3").toLatin1());
        qputenv("HOSHINOTE_TMDB_IMAGES", (server.Base() + "/t/p").toLatin1());
        QImage image(20, 30, QImage::Format_RGB32);
        image.fill(Qt::red);
        QBuffer buffer(&poster);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "JPG");
        server.handler = [this](const QByteArray& target) -> LocalHttpServer::Response {
            if (target.startsWith("/3/search/movie")) {
                return {200,
                        R"({"results":[
                    {"id":8392,"title":"となりのトトロ","original_title":"My Neighbor Totoro","release_date":"1988-04-16","poster_path":"/p.jpg"},
                    {"id":1,"title":"トトロ２","original_title":"","release_date":"","poster_path":null}]})",
                        {},
                        false};
            }
            if (target.startsWith("/3/movie/8392")) {
                return {
                    200,
                    R"({"id":8392,"release_date":"1988-04-16","overview":"姉妹の夏。","poster_path":"/p.jpg",
                    "genres":[{"name":"アニメーション"}],"production_countries":[{"iso_3166_1":"JP"}],
                    "credits":{"cast":[{"name":"日高のり子","character":"サツキ","order":0}],
                               "crew":[{"name":"宮崎駿","job":"Director"}]}})",
                    {},
                    false};
            }
            if (target == "/t/p/w500/p.jpg" || target == "/t/p/w92/p.jpg")
                return {200, poster, {}, false};
            return {404, {}, {}, false};
        };
    }
    LocalHttpServer server;
    QByteArray poster;
};

}  // namespace

TEST_F(LookupTest, TheCheckedFieldsAreStoredAndCancelStoresNothing) {
    WriteMasters();
    // "T1" with the lead actor 主役 and the picture T1.bmp
    const QByteArray data =
        "\"T1\",\"\",\"\x8e\xe5\x96\xf0\",\"\",\"\",\"\",\"\",0,0,0,0,0,0,0,\"\",\"\",\"\","
        "\"\"\r\n";
    WriteFile("データ.TXT", data);
    WriteFile("T1.bmp", "BM");
    Start();
    auto* cmdLookup = Find<QPushButton>("cmdLookup");
    EXPECT_EQ(cmdLookup->text(), QStringLiteral("ネットで調べる"));
    EXPECT_TRUE(cmdLookup->isEnabled());

    fake->Input(QStringLiteral("0123456789abcdef0123456789abcdef"));
    fake->onExecDialog = [&](QDialog& d) {
        EXPECT_EQ(d.windowModality(), Qt::WindowModal);
        auto* results = In<QTableView>(d, "grdLookupResults");
        ASSERT_TRUE(WaitFor([&] { return results->model()->rowCount() == 2; }));
        EXPECT_EQ(Cell(results, 0, 0), QStringLiteral("となりのトトロ"));
        EXPECT_EQ(Cell(results, 0, 1), "My Neighbor Totoro");
        EXPECT_EQ(Cell(results, 0, 2), "1988");
        EXPECT_EQ(results->selectionModel()->selectedRows().value(0).row(), 0);
        In<QPushButton>(d, "cmdLookupChoose")->click();
        auto* ok = In<QPushButton>(d, "cmdLookupOk");
        ASSERT_TRUE(WaitFor([&] { return ok->isEnabled(); }));
        auto* fields = In<QTableView>(d, "grdLookupFields");
        EXPECT_EQ(Cell(fields, 1, 2), QStringLiteral("主役"));
        EXPECT_EQ(Cell(fields, 3, 3), QStringLiteral("日本"));
        EXPECT_EQ(Cell(fields, 7, 2), "T1.bmp");
        const bool checked[] = {true, false, true, true, true, true, true, false};
        for (int k = 0; k < 8; ++k) {
            EXPECT_EQ(
                In<QCheckBox>(d, QStringLiteral("chkLookup_%1").arg(k).toLatin1())->isChecked(),
                checked[k])
                << k;
        }
        In<QCheckBox>(d, "chkLookup_6")->setChecked(false);
        In<QCheckBox>(d, "chkLookup_7")->setChecked(true);
        fake->Answer(Platform::Answer::Ok);  // the picture in place is replaced
        ok->click();
    };
    cmdLookup->click();
    ASSERT_EQ(fake->dialogs.size(), 2u);
    EXPECT_TRUE(fake->dialogs[0].input);
    EXPECT_EQ(fake->dialogs[1].text,
              QStringLiteral("同じ名前の画像が既に存在します。上書きしますか？"));
    // 宮崎駿 主役 1988/04 日本 アニメーション
    EXPECT_EQ(
        ReadFile("データ.TXT"),
        "\"T1\",\"\x8b\x7b\x8d\xe8\x8f\x78\",\"\x8e\xe5\x96\xf0\",\"1988/04\",\"\x93\xfa\x96\x7b\","
        "\"\x83\x41\x83\x6a\x83\x81\x81\x5b\x83\x56\x83\x87\x83\x93\",\"\",0,0,0,0,0,0,0,"
        "\"\",\"\",\"\",\"\"\r\n");
    // 日高のり子（サツキ）
    EXPECT_EQ(
        ReadFile("キャスト_T1.txt"),
        "\x93\xfa\x8d\x82\x82\xcc\x82\xe8\x8e\x71\x81\x69\x83\x54\x83\x63\x83\x4c\x81\x6a\r\n");
    EXPECT_FALSE(Exists("あらすじ_T1.txt"));
    EXPECT_EQ(ReadFile("T1.jpg"), poster);
    EXPECT_FALSE(Exists("T1.bmp"));
    EXPECT_EQ(Find<QComboBox>("cboKantoku")->currentText(), QStringLiteral("宮崎駿"));
    EXPECT_TRUE(window->GalleryOutOfDate);

    // Cancel in the middle: the files stay as they are.
    const QByteArray before = ReadFile("データ.TXT");
    fake->onExecDialog = [&](QDialog& d) {
        auto* results = In<QTableView>(d, "grdLookupResults");
        ASSERT_TRUE(WaitFor([&] { return results->model()->rowCount() == 2; }));
        In<QPushButton>(d, "cmdLookupChoose")->click();
        In<QPushButton>(d, "cmdLookupCancel")->click();
    };
    cmdLookup->click();
    EXPECT_EQ(fake->dialogs.size(), 2u);
    EXPECT_EQ(ReadFile("データ.TXT"), before);
    EXPECT_TRUE(fake->AllAnswered());
}
