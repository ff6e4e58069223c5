// The search screen on the worst case with a cast, a synopsis and a memo file
// for every title: opening it, and the searches that list everything.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

#include "bench/quiet_platform.h"
#include "bench/worst_case.h"
#include "logic/side_file_lists.h"
#include "screens/screens.h"
#include "window/frm_main.h"

namespace {

// Made once for every benchmark of this file, left to the end of the process.
struct SearchBench {
    QTemporaryDir dir;
    QuietPlatform platform;
    frmMain* window = nullptr;

    SearchBench() {
        if (!dir.isValid()) return;
        WriteWorstCase(dir.path());
        WriteWorstCaseSideTexts(dir.path());
        // A word that only the last cast file holds.
        const QString last =
            logic::SideFiles(store::WorkingFolder(dir.path()), store::SideText::Cast).last();
        QFile f(dir.filePath(last));
        if (f.open(QIODevice::Append)) f.write("\x96\xb2\x82\xcc\x96\xf0\r\n");  // 夢の役
        window = new frmMain(platform, dir.path());
        AttachScreens(*window);
        if (!window->Form_Load()) window = nullptr;
    }
    template <class T>
    T* find(const char* name) const {
        return window->findChild<T*>(name);
    }
    void open() const { window->button("cmdKensaku")->click(); }
    void choose(const char* combo, const QString& text) const {
        auto* c = find<QComboBox>(combo);
        c->setEditText(text);
        emit c->activated(0);
    }
};

SearchBench* Bench(benchmark::State& state) {
    static SearchBench* bench = new SearchBench;
    if (!bench->window) state.SkipWithError("the worst case did not load");
    return bench->window ? bench : nullptr;
}

}  // namespace

static void open_search(benchmark::State& state) {
    SearchBench* b = Bench(state);
    if (!b) return;
    for (auto _ : state) {
        state.PauseTiming();
        b->window->button("cmdMain")->click();
        state.ResumeTiming();
        b->open();
        QApplication::processEvents();
    }
}
BENCHMARK(open_search)->Unit(benchmark::kMillisecond);

static void search_director_all(benchmark::State& state) {
    SearchBench* b = Bench(state);
    if (!b) return;
    // Every title gets the first title's director.
    store::Catalogue& c = b->window->catalogue;
    const std::vector<QString> directors = c.strKantoku;
    for (int i = 1; i <= c.TitleCount; ++i) c.strKantoku[i] = directors[1];
    b->open();
    for (auto _ : state) {
        b->choose("cboKantoku2", directors[1]);
        QApplication::processEvents();
    }
    c.strKantoku = directors;
}
BENCHMARK(search_director_all)->Unit(benchmark::kMillisecond);

static void search_release_range_all(benchmark::State& state) {
    SearchBench* b = Bench(state);
    if (!b) return;
    b->open();
    b->find<QComboBox>("cboKoukai2_0")->setEditText(QStringLiteral("0000/00"));
    for (auto _ : state) {
        b->choose("cboKoukai2_1", QStringLiteral("9999/99"));
        QApplication::processEvents();
    }
}
BENCHMARK(search_release_range_all)->Unit(benchmark::kMillisecond);

static void search_viewing_range_all(benchmark::State& state) {
    SearchBench* b = Bench(state);
    if (!b) return;
    b->open();
    b->find<QComboBox>("cboKansyou2_0")->setEditText(QStringLiteral("0000/00"));
    for (auto _ : state) {
        b->choose("cboKansyou2_1", QStringLiteral("9999/99"));
        QApplication::processEvents();
    }
}
BENCHMARK(search_viewing_range_all)->Unit(benchmark::kMillisecond);

static void search_side_text_word(benchmark::State& state) {
    SearchBench* b = Bench(state);
    if (!b) return;
    b->open();
    auto* box = b->find<QLineEdit>("txtCast");
    box->setText(QStringLiteral("夢の役"));
    for (auto _ : state) {
        emit box->returnPressed();
        QApplication::processEvents();
    }
}
BENCHMARK(search_side_text_word)->Unit(benchmark::kMillisecond);

static void search_presence_none(benchmark::State& state) {
    SearchBench* b = Bench(state);
    if (!b) return;
    b->open();
    auto* list = b->find<QListWidget>("lstCast");
    list->setCurrentRow(1);
    for (auto _ : state) {
        emit list->itemClicked(list->item(1));
        QApplication::processEvents();
    }
}
BENCHMARK(search_presence_none)->Unit(benchmark::kMillisecond);
