// Writing the main list of the worst case to a CSV file, and the safety copy
// the new start makes of the worst case with a picture and the three side
// texts of every title, and the clearing that follows it.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include "bench/quiet_platform.h"
#include "bench/worst_case.h"
#include "logic/new_start.h"
#include "screens/screens.h"
#include "store/catalogue.h"
#include "window/frm_main.h"

namespace {

// Saves every list to one file of its own folder.
class SavingPlatform : public QuietPlatform {
public:
    std::optional<QString> SaveFileName(const QString&, const QString&, const QString&) override {
        return path;
    }
    QString path;
};

bool WritePictures(const QString& path) {
    for (int i = 1; i <= store::kMaxRecords; ++i) {
        QFile f(path + QLatin1Char('/') + WorstCaseTitle(i) + QStringLiteral(".jpg"));
        if (!f.open(QIODevice::WriteOnly) || f.write("\xff\xd8\xff\xd9", 4) != 4) return false;
    }
    return true;
}

}  // namespace

static void csv_export_main_list(benchmark::State& state) {
    QTemporaryDir dir;
    QTemporaryDir out;
    WriteWorstCase(dir.path());
    SavingPlatform platform;
    platform.path = QDir(out.path()).filePath(QStringLiteral("主一覧.csv"));
    frmMain window(platform, dir.path());
    AttachScreens(window);
    if (!window.Form_Load()) {
        state.SkipWithError("the worst case did not load");
        return;
    }
    window.findChild<QPushButton*>("cmdIchiran")->click();
    QApplication::processEvents();
    auto* button = window.findChild<QPushButton*>("cmdCsvOut1");
    for (auto _ : state) button->click();
    if (QFile(platform.path).size() < 32766 * 10) state.SkipWithError("the file is too short");
}
BENCHMARK(csv_export_main_list)->Unit(benchmark::kMillisecond);

static void new_start_backup(benchmark::State& state) {
    QTemporaryDir dir;
    WriteWorstCase(dir.path());
    WriteWorstCaseSideTexts(dir.path());
    if (!WritePictures(dir.path())) {
        state.SkipWithError("cannot write a picture");
        return;
    }
    store::WorkingFolder folder(dir.path());
    store::Catalogue catalogue;
    if (!catalogue.LoadTitleData(folder).isOk()) {
        state.SkipWithError("the worst case did not load");
        return;
    }
    int second = 0;
    for (auto _ : state) {
        const QDateTime when(QDate(2026, 12, 8), QTime(10, 0, second++));
        const logic::BackupResult r = logic::BackUpBeforeClearing(catalogue, folder, when);
        state.PauseTiming();
        if (!r.status.isOk() ||
            QDir(QDir(dir.path()).filePath(r.folderName)).entryList(QDir::Files).size() <
                5 + 4 * store::kMaxRecords) {
            state.SkipWithError("the backup is not whole");
        }
        QDir(QDir(dir.path()).filePath(r.folderName)).removeRecursively();
        state.ResumeTiming();
    }
}
BENCHMARK(new_start_backup)->Unit(benchmark::kMillisecond)->Iterations(2);

// The clearing after the backup, alone: the data file and the history emptied,
// the picture and the three texts of every title deleted (kept by the backup).
static void new_start_clearing(benchmark::State& state) {
    QTemporaryDir dir;
    store::WorkingFolder folder(dir.path());
    store::Catalogue catalogue;
    int second = 0;
    for (auto _ : state) {
        state.PauseTiming();
        WriteWorstCase(dir.path());
        WriteWorstCaseSideTexts(dir.path());
        if (!WritePictures(dir.path()) || !catalogue.LoadTitleData(folder).isOk()) {
            state.SkipWithError("the worst case was not written");
            return;
        }
        const QDateTime when(QDate(2026, 12, 8), QTime(11, 0, second++));
        if (!logic::BackUpBeforeClearing(catalogue, folder, when).status.isOk()) {
            state.SkipWithError("no backup");
            return;
        }
        state.ResumeTiming();
        if (!logic::ClearForNewStart(catalogue, folder).status.isOk()) {
            state.SkipWithError("not cleared");
        }
    }
}
BENCHMARK(new_start_clearing)->Unit(benchmark::kMillisecond)->Iterations(2);
