#include "store/masters.h"

#include "store/record_file.h"

namespace store {
namespace {

const QString kHelpTourTag = QStringLiteral("ヘルプツアー");

template <size_t N>
Status saveNames(WorkingFolder& folder, const QString& file, const std::array<QString, N>& names) {
    RecordWriter w(file);
    for (size_t k = 1; k < N; ++k) w.WriteRecord({Field::Text(names[k])});
    QByteArray bytes;
    if (Status s = w.finish(bytes); !s) return s;
    return folder.replace(file, bytes);
}

// Reads up to N-1 names (items 1..N-1) into names; the rest stay "". A missing
// master is created with the defaults first.
template <size_t N>
Status loadNames(WorkingFolder& folder, const QString& file, std::array<QString, N>& names,
                 int& read, const std::array<QString, N>& defaults) {
    names.fill(QString());
    read = 0;
    QByteArray bytes;
    bool missing = false;
    if (Status s = folder.read(file, bytes, &missing); !s) {
        if (!missing) {
            folder.markUnwritable(file);
            return s;
        }
        if (Status c = saveNames(folder, file, defaults); !c) return c;
        names = defaults;
        read = static_cast<int>(N) - 1;
        return Status::ok();
    }
    RecordReader r(file, bytes);
    size_t k = 1;
    while (!r.failed() && !r.AtEnd()) {
        QString name = r.ReadText();
        if (r.failed()) break;
        names[k] = std::move(name);
        read = static_cast<int>(k);
        if (k == N - 1) break;  // records beyond the count are not read
        ++k;
    }
    if (r.failed()) {
        folder.markUnwritable(file);
        return r.status();
    }
    return Status::ok();
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
    QByteArray bytes;
    bool missing = false;
    if (Status s = folder.read(kSettingsFileRead, bytes, &missing); !s) {
        if (!missing) {
            folder.markUnwritable(kSettingsFileRead);
            return s;
        }
        if (Status c = SaveSettings(folder, 1); !c) return c;
        m.intHelpTour = 1;
        return Status::ok();
    }
    RecordReader r(kSettingsFileRead, bytes);
    r.ReadText();  // the tag, ignored
    const int flag = r.ReadInteger();
    if (r.failed()) {
        folder.markUnwritable(kSettingsFileRead);
        return r.status();
    }
    m.intHelpTour = static_cast<qint16>(flag);
    return Status::ok();
}

Status SaveEvaluationMaster(WorkingFolder& folder, const std::array<QString, 8>& names) {
    return saveNames(folder, kEvaluationMasterFile, names);
}

Status SaveOwnershipMaster(WorkingFolder& folder, const std::array<QString, 5>& names) {
    return saveNames(folder, kOwnershipMasterFile, names);
}

Status SaveSettings(WorkingFolder& folder, qint16 intHelpTour) {
    RecordWriter w(kSettingsFileWrite);
    w.WriteRecord({Field::Text(kHelpTourTag), Field::Integer(intHelpTour)});
    QByteArray bytes;
    if (Status s = w.finish(bytes); !s) return s;
    return folder.replace(kSettingsFileWrite, bytes);
}

}  // namespace store
