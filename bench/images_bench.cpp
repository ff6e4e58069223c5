// The picture gallery and the import panel's preview with camera-sized
// pictures (4000 x 3000 JPEG): a page of twenty slots, opening the gallery
// unbuilt on the worst-case catalogue (with pictures seen before, with
// pictures changed since and no thumbnails, and with pictures changed since
// whose thumbnails the desktop keeps), the bare decoding of a page's pictures
// at the slot's size, and previewing one picture.
#include <benchmark/benchmark.h>
#include <utime.h>

#include <QApplication>
#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QThreadPool>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <memory>

#include "bench/quiet_platform.h"
#include "bench/worst_case.h"
#include "screens/screens.h"
#include "window/frm_main.h"

namespace {

// A photograph-like picture: smooth shading with fine grain, so that it does
// not compress to almost nothing.
QByteArray CameraJpeg() {
    QImage image(4000, 3000, QImage::Format_RGB32);
    quint32 seed = 12345;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int grain = int(seed >> 28) - 8;
            line[x] =
                qRgb(qBound(0, x * 255 / 4000 + grain, 255), qBound(0, y * 255 / 3000 + grain, 255),
                     qBound(0, ((x + y) / 27) % 256 + grain, 255));
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 90);
    return bytes;
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
}

// The worst case with a picture for each title of the first two pages, made
// once for every benchmark of this file; left to the end of the process.
struct Gallery {
    QTemporaryDir dir;
    QuietPlatform platform;
    frmMain* window = nullptr;
    // The pictures' modification time: an hour before the start.
    qint64 aged = QDateTime::currentSecsSinceEpoch() - 3600;

    Gallery() {
        if (!dir.isValid()) return;
        WriteWorstCase(dir.path());
        const QByteArray jpeg = CameraJpeg();
        std::printf("# picture of 4000 x 3000: %lld bytes\n", static_cast<long long>(jpeg.size()));
        QElapsedTimer written;
        written.start();
        for (int i = 1; i <= 40; ++i) Write(Picture(i), jpeg);
        Write(dir.filePath("preview-a.jpg"), jpeg);
        Write(dir.filePath("preview-b.JPG"), jpeg);
        window = new frmMain(platform, dir.path());
        AttachScreens(*window);
        if (!window->Form_Load()) window = nullptr;
        QApplication::processEvents();
        // The gallery takes a picture changed in the last two seconds for one
        // that may change again unseen: let them age like pictures of an
        // earlier day.
        QThread::msleep(static_cast<unsigned long>(std::max<qint64>(0, 2500 - written.elapsed())));
    }
    QPushButton* Button(const char* name) const { return window->findChild<QPushButton*>(name); }
    QString Picture(int i) const { return dir.filePath(WorstCaseTitle(i) + ".jpg"); }
    // Touches each picture of the first page, as a picture changed since the
    // gallery saw it: its change time is new, its modification time stays an
    // hour old, so that a thumbnail written for it stands for it.
    void TouchFirstPage() const {
        const utimbuf times{aged, aged};
        for (int i = 1; i <= 20; ++i) ::utime(QFile::encodeName(Picture(i)).constData(), &times);
    }
};

Gallery& Shared() {
    static Gallery* gallery = new Gallery;
    return *gallery;
}

}  // namespace

// One page of twenty pictures, paging between the first two pages. The page
// is read off the screen: each run of this function starts on the page the
// run before left, and the third page has no pictures.
static void gallery_page(benchmark::State& state) {
    Gallery& g = Shared();
    if (!g.window) {
        state.SkipWithError("the worst case did not load");
        return;
    }
    g.window->button("cmdPic")->click();
    const QLabel* first = g.window->findChild<QLabel*>("lblPicKan_0");
    for (auto _ : state) {
        g.Button(first->text() == QLatin1String("1") ? "cmdUp" : "cmdDown")->click();
    }
}
BENCHMARK(gallery_page)->Unit(benchmark::kMillisecond);

// The floor under a cold opening: the twenty pictures of the first page
// read and decoded at the slot's size by QImageReader on a pool of as many
// threads as the gallery's own, and nothing else.
static void decode_floor_gallery(benchmark::State& state) {
    Gallery& g = Shared();
    if (!g.window) {
        state.SkipWithError("the worst case did not load");
        return;
    }
    QThreadPool pool;
    std::atomic<int> decoded = 0;
    for (auto _ : state) {
        for (int i = 1; i <= 20; ++i) {
            pool.start([&decoded, path = g.Picture(i)] {
                // Read whole first: libjpeg decodes fastest from memory.
                QFile file(path);
                if (!file.open(QIODevice::ReadOnly)) return;
                QByteArray bytes = file.readAll();
                QBuffer buffer(&bytes);
                buffer.open(QIODevice::ReadOnly);
                QImageReader reader(&buffer);
                reader.setScaledSize(QSize(128, 96));
                if (!reader.read().isNull()) ++decoded;
            });
        }
        pool.waitForDone();
    }
    if (decoded != 20 * int(state.iterations())) state.SkipWithError("a picture did not decode");
}
BENCHMARK(decode_floor_gallery)->Unit(benchmark::kMillisecond);

// How the desktop's thumbnails stand when the gallery opens.
enum class Cache { AsLeft, Empty, Thumbnailed };

// Opening the gallery when it is out of date: page 1 built afresh. Unless the
// cache is left as it is, every picture of the page changed since the gallery
// last saw it, so that none is taken from memory; the thumbnail cache is then
// empty each time, or holds the page's thumbnails.
static void OpenOutOfDate(benchmark::State& state, Cache cache) {
    Gallery& g = Shared();
    if (!g.window) {
        state.SkipWithError("the worst case did not load");
        return;
    }
    const QByteArray before = qgetenv("XDG_CACHE_HOME");
    QTemporaryDir kept;
    if (cache == Cache::Thumbnailed) {
        // One opening writes the thumbnails.
        qputenv("XDG_CACHE_HOME", QFile::encodeName(kept.path()));
        g.window->button("cmdMain")->click();
        g.window->GalleryOutOfDate = true;
        g.TouchFirstPage();
        g.window->button("cmdPic")->click();
        if (QDir(kept.filePath("thumbnails/normal")).entryList(QDir::Files).size() != 20) {
            state.SkipWithError("the thumbnails were not written");
        }
    }
    std::unique_ptr<QTemporaryDir> empty;
    for (auto _ : state) {
        state.PauseTiming();
        g.window->button("cmdMain")->click();
        g.window->GalleryOutOfDate = true;
        if (cache != Cache::AsLeft) g.TouchFirstPage();
        if (cache == Cache::Empty) {
            empty = std::make_unique<QTemporaryDir>();
            qputenv("XDG_CACHE_HOME", QFile::encodeName(empty->path()));
        }
        state.ResumeTiming();
        g.window->button("cmdPic")->click();
    }
    qputenv("XDG_CACHE_HOME", before);
}

static void open_gallery_unbuilt(benchmark::State& state) {
    OpenOutOfDate(state, Cache::AsLeft);
}
BENCHMARK(open_gallery_unbuilt)->Unit(benchmark::kMillisecond);

static void open_gallery_cold(benchmark::State& state) {
    OpenOutOfDate(state, Cache::Empty);
}
BENCHMARK(open_gallery_cold)->Unit(benchmark::kMillisecond);

static void open_gallery_thumbnailed(benchmark::State& state) {
    OpenOutOfDate(state, Cache::Thumbnailed);
}
BENCHMARK(open_gallery_thumbnailed)->Unit(benchmark::kMillisecond);

// A click on a file of the import panel: the picture previewed on the main
// screen.
static void preview_picture(benchmark::State& state) {
    Gallery& g = Shared();
    if (!g.window) {
        state.SkipWithError("the worst case did not load");
        return;
    }
    g.window->button("cmdMain")->click();
    QLabel* picture = g.window->findChild<QLabel*>("imgGazou");
    auto* files = g.window->findChild<QListWidget*>("filZukei_Moto");
    QMouseEvent press(QEvent::MouseButtonRelease, QPointF(5, 5),
                      picture->mapToGlobal(QPointF(5, 5)), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(picture, &press);
    const QList<QListWidgetItem*> a = files->findItems("preview-a.jpg", Qt::MatchExactly);
    const QList<QListWidgetItem*> b = files->findItems("preview-b.JPG", Qt::MatchExactly);
    if (a.size() != 1 || b.size() != 1) {
        state.SkipWithError("the pictures are not listed");
        return;
    }
    bool onA = false;
    for (auto _ : state) {
        files->setCurrentItem(onA ? b.first() : a.first());
        onA = !onA;
    }
    g.window->findChild<QPushButton*>("cmdYame")->click();
}
BENCHMARK(preview_picture)->Unit(benchmark::kMillisecond);
