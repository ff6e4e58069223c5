#include "store/masters.h"

#include "store/record_file.h"

namespace store {
namespace {

const QString kHelpTourTag = QStringLiteral("ヘルプツアー");

template <size_t N>
Status namesBytes(const QString& file, const std::array<QString, N>& names, QByteArray& bytes) {
    RecordWriter w(file);
    for (size_t k = 1; k < N; ++k) w.WriteRecord({Field::Text(names[k])});
    return w.finish(bytes);
}

template <size_t N>
Status saveNames(WorkingFolder& folder, const QString& file, const std::array<QString, N>& names) {
    QByteArray bytes;
    if (Status s = namesBytes(file, names, bytes); !s) return s;
    return folder.replace(file, bytes);
}

// Reads up to N-1 names (items 1..N-1) into names; the rest stay "". A missing
// master is created with the defaults first.
template <size_t N>
Status loadNames(WorkingFolder& folder, const QString& file, std::array<QString, N>& names,
                 int& read, const std::array<QString, N>& defaults) {
    QByteArray initial;
    if (Status s = namesBytes(file, defaults, initial); !s) return s;
    return LoadOrCreate(folder, file, initial, [&](const QByteArray& bytes) {
        names.fill(QString());
        read = 0;
        RecordReader r(file, bytes);
        for (size_t k = 1; k < N && !r.failed() && !r.AtEnd(); ++k) {
            QString name = r.ReadText();
            if (r.failed()) break;
            names[k] = std::move(name);
            read = static_cast<int>(k);
        }
        // Records beyond the count are not read.
        return r.status();
    });
}

Status settingsBytes(qint16 intHelpTour, QByteArray& bytes) {
    RecordWriter w(kSettingsFileWrite);
    w.WriteRecord({Field::Text(kHelpTourTag), Field::Integer(intHelpTour)});
    return w.finish(bytes);
}

}  // namespace

std::array<QString, 8> DefaultEvaluationItems() {
    return {QString(),
            QStringLiteral("総合"),
            QStringLiteral("感動・涙"),
            QStringLiteral("笑い"),
            QStringLiteral("ほのぼの"),
            QStringLiteral("スリル"),
            QStringLiteral("恐怖戦慄"),
            QStringLiteral("セクシー")};
}

std::array<QString, 5> DefaultOwnershipItems() {
    return {QString(), QStringLiteral("ＤＶＤ"), QStringLiteral("ブルーレイ"),
            QStringLiteral("ビデオ"), QStringLiteral("配信")};
}

Status LoadEvaluationMaster(WorkingFolder& folder, Masters& m) {
    return loadNames(folder, kEvaluationMasterFile, m.strHyoukaKoumoku, m.hyoukaRead,
                     DefaultEvaluationItems());
}

Status LoadOwnershipMaster(WorkingFolder& folder, Masters& m) {
    return loadNames(folder, kOwnershipMasterFile, m.strSyoyuKoumoku, m.syoyuRead,
                     DefaultOwnershipItems());
}

Status LoadSettings(WorkingFolder& folder, Masters& m) {
    QByteArray initial;
    if (Status s = settingsBytes(1, initial); !s) return s;
    return LoadOrCreate(
        folder, kSettingsFileRead, initial,
        [&](const QByteArray& bytes) {
            RecordReader r(kSettingsFileRead, bytes);
            r.ReadText();  // the tag, ignored
            const int flag = r.ReadInteger();
            if (!r.failed()) m.intHelpTour = static_cast<qint16>(flag);
            return r.status();
        },
        kSettingsFileWrite);
}

Status SaveEvaluationMaster(WorkingFolder& folder, const std::array<QString, 8>& names) {
    return saveNames(folder, kEvaluationMasterFile, names);
}

Status SaveOwnershipMaster(WorkingFolder& folder, const std::array<QString, 5>& names) {
    return saveNames(folder, kOwnershipMasterFile, names);
}

Status SaveSettings(WorkingFolder& folder, qint16 intHelpTour) {
    QByteArray bytes;
    if (Status s = settingsBytes(intHelpTour, bytes); !s) return s;
    return folder.replace(kSettingsFileWrite, bytes);
}

}  // namespace store
