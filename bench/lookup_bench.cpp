// A film looked up and filled in: the search, the details and a 300 KB poster
// from a local server standing in for TMDB, parsed by the client, decided and
// stored into the worst-case catalogue (one write of the data file, two side
// texts, the picture), without the dialog. lookup_server alone is the same
// three requests read as raw bytes: the local server's own time.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <stdexcept>

#include "bench/worst_case.h"
#include "logic/lookup_fill.h"
#include "online/tmdb_client.h"
#include "tests/support/local_http.h"

namespace {

const QByteArray kSearch = R"({"page":1,"results":[
 {"id":8392,"title":"となりのトトロ","original_title":"となりのトトロ","release_date":"1988-04-16","poster_path":"/p.jpg"},
 {"id":10515,"title":"天空の城ラピュタ","original_title":"天空の城ラピュタ","release_date":"1986-08-02","poster_path":"/q.jpg"}]})";

QByteArray Details() {
    QByteArray cast;
    for (int k = 0; k < 40; ++k) {
        if (k) cast += ',';
        cast += R"({"name":"俳優)" + QByteArray::number(k) + R"(","character":"役)" +
                QByteArray::number(k) + R"(","order":)" + QByteArray::number(k) + "}";
    }
    return R"({"id":8392,"release_date":"1988-04-16","poster_path":"/p.jpg","overview":"田舎へ引っ越してきた姉妹。",
 "genres":[{"name":"アニメーション"}],"production_countries":[{"iso_3166_1":"JP"}],
 "credits":{"cast":[)" +
           cast +
           R"(],"crew":[{"name":"宮崎駿","job":"Director"},{"name":"高畑勲","job":"Director"}]},
 "release_dates":{"results":[{"iso_3166_1":"JP","release_dates":[{"release_date":"1988-04-16T00:00:00.000Z","type":3}]}]}})";
}

QByteArray Poster() {
    QByteArray jpeg("\xFF\xD8\xFF\xE0", 4);
    jpeg.resize(300 * 1024, '\x5A');
    return jpeg;
}

struct Fixture {
    Fixture() {
        if (!dir.isValid()) throw std::runtime_error("no folder");
        WriteWorstCase(dir.path());
        details = Details();
        poster = Poster();
        server.handler = [this](const QByteArray& target) -> LocalHttpServer::Response {
            if (target.startsWith("/3/search/movie")) return {200, kSearch, {}, false};
            if (target.startsWith("/3/movie/")) return {200, details, {}, false};
            return {200, poster, {}, false};
        };
    }
    QTemporaryDir dir;
    QByteArray details, poster;
    LocalHttpServer server;
};

Fixture& Shared() {
    static Fixture f;
    return f;
}

template <class R>
R Await(const std::function<void(std::function<void(const R&)>)>& start) {
    std::optional<R> got;
    QEventLoop loop;
    start([&](const R& r) {
        got = r;
        loop.quit();
    });
    if (!got) loop.exec();
    if (!got->ok()) throw std::runtime_error("request failed");
    return *got;
}

void lookup_fill(benchmark::State& state) {
    Fixture& f = Shared();
    store::WorkingFolder folder(f.dir.path());
    store::Catalogue catalogue;
    if (!catalogue.LoadTitleData(folder)) throw std::runtime_error("load failed");
    const online::Endpoints local{QUrl(f.server.Base() + "/3"), QUrl(f.server.Base() + "/t/p")};
    online::TmdbClient client(local, QStringLiteral("0123456789abcdef0123456789abcdef"));
    const int title = 1;
    for (auto _ : state) {
        using Found = online::Result<std::vector<online::Candidate>>;
        const Found found = Await<Found>([&](auto done) { client.Search("トトロ", "1988", done); });
        using Film = online::Result<online::FilmDetails>;
        const Film film = Await<Film>([&](auto done) { client.Details(found.value[0].id, done); });
        using Bytes = online::Result<QByteArray>;
        const Bytes poster =
            Await<Bytes>([&](auto done) { client.Poster("w500", film.value.posterPath, done); });
        logic::LookupTexts current;
        if (!logic::CurrentLookupValues(folder, catalogue, title, current))
            throw std::runtime_error("read");
        const online::FilmDetails& d = film.value;
        const auto rows = logic::DecideFill(
            {}, {d.directors, d.lead, d.release, logic::JapaneseCountryName(d.countryCode), d.genre,
                 d.cast, d.overview, QStringLiteral("ポスター")});
        logic::LookupChoice choice;
        for (int k = 0; k < logic::kLookupFields; ++k) {
            choice.take[size_t(k)] = rows[size_t(k)].checkable;
            choice.values[size_t(k)] = rows[size_t(k)].value;
        }
        choice.jpeg = poster.value;
        if (!logic::StoreLookup(folder, catalogue, title, choice))
            throw std::runtime_error("store");
    }
}
BENCHMARK(lookup_fill)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

// The three responses fetched as raw bytes over fresh connections.
void lookup_server(benchmark::State& state) {
    Fixture& f = Shared();
    const quint16 port = QUrl(f.server.Base()).port();
    const QByteArray targets[] = {"/3/search/movie?query=x", "/3/movie/8392", "/t/p/w500/p.jpg"};
    for (auto _ : state) {
        for (const QByteArray& target : targets) {
            QTcpSocket socket;
            QEventLoop loop;
            QByteArray got;
            QObject::connect(&socket, &QTcpSocket::readyRead, [&] { got += socket.readAll(); });
            QObject::connect(&socket, &QTcpSocket::disconnected, &loop, &QEventLoop::quit);
            socket.connectToHost(QHostAddress::LocalHost, port);
            socket.write("GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
            loop.exec();
            got += socket.readAll();
            benchmark::DoNotOptimize(got.size());
        }
    }
}
BENCHMARK(lookup_server)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

}  // namespace
