#include "logic/lookup_fill.h"

#include <unicode/uloc.h>

#include <QFileInfo>
#include <vector>

#include "store/marks.h"
#include "store/side_files.h"
#include "store/text_check.h"

namespace logic {
namespace {

constexpr int kFirstSideText = int(LookupField::Cast);

store::SideText SideTextOf(int field) {
    return field == int(LookupField::Cast) ? store::SideText::Cast : store::SideText::Synopsis;
}

// The record field a row fills, for rows 0..4.
QString& RecordSlot(store::Catalogue& c, int field, int i) {
    switch (LookupField(field)) {
        case LookupField::Kantoku:
            return c.strKantoku[i];
        case LookupField::Syuen:
            return c.strSyuen[i];
        case LookupField::Nengetu:
            return c.strNengetu[i];
        case LookupField::Kuni:
            return c.strKuni[i];
        default:
            return c.strJanru[i];
    }
}

// A file as it was before the lookup wrote it, to be put back.
struct Saved {
    QString name;
    bool existed = false;
    QByteArray bytes;
};

class Undo {
public:
    explicit Undo(store::WorkingFolder& folder) : folder_(folder) {}
    store::Status remember(const QString& name) {
        Saved saved{name, false, {}};
        bool missing = false;
        const store::Status read = folder_.read(name, saved.bytes, &missing);
        if (!read && !missing) return read;
        saved.existed = !missing;
        files_.push_back(std::move(saved));
        return store::Status::ok();
    }
    // Puts every remembered file back, newest first; a failure here cannot be
    // helped and the first error is what the user hears.
    void rollBack() {
        for (auto it = files_.rbegin(); it != files_.rend(); ++it) {
            const store::Status back =
                it->existed ? folder_.replace(it->name, it->bytes) : folder_.remove(it->name);
            (void)back;
        }
    }

private:
    store::WorkingFolder& folder_;
    std::vector<Saved> files_;
};

}  // namespace

QString LookupFieldName(LookupField f) {
    static const QString names[kLookupFields] = {
        QStringLiteral("監督"),     QStringLiteral("主演"),     QStringLiteral("公開日"),
        QStringLiteral("国"),       QStringLiteral("ジャンル"), QStringLiteral("キャスト"),
        QStringLiteral("あらすじ"), QStringLiteral("画像")};
    return names[int(f)];
}

QString JapaneseCountryName(const QString& isoCode) {
    if (isoCode.isEmpty()) return {};
    const QByteArray locale = "und_" + isoCode.toLatin1();
    UChar name[128];
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = uloc_getDisplayCountry(locale.constData(), "ja", name, 128, &status);
    if (U_FAILURE(status) || length <= 0) return isoCode;
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(name), length);
}

QString LookupPictureName(const QString& title) {
    return title + QStringLiteral(".jpg");
}

store::Status CurrentLookupValues(store::WorkingFolder& folder, const store::Catalogue& c, int i,
                                  LookupTexts& current) {
    current = {c.strKantoku[i], c.strSyuen[i], c.strNengetu[i], c.strKuni[i], c.strJanru[i]};
    for (int f = kFirstSideText; f < int(LookupField::Picture); ++f) {
        QString text;
        const store::Status loaded =
            store::LoadSideText(folder, SideTextOf(f), c.strDaimei[i], text);
        if (!loaded) return loaded;
        current[f] = text.replace(store::marks::kLineEnd.toString(), QStringLiteral("\n"));
    }
    QStringList pictures;
    for (const QString& path : store::PictureCandidates(folder, c.strDaimei[i])) {
        pictures << QFileInfo(path).fileName();
    }
    current[int(LookupField::Picture)] = pictures.join(QStringLiteral("、"));
    return store::Status::ok();
}

std::array<FillRow, kLookupFields> DecideFill(const LookupTexts& current,
                                              const LookupTexts& found) {
    std::array<FillRow, kLookupFields> rows;
    for (int f = 0; f < kLookupFields; ++f) {
        FillRow& row = rows[f];
        if (found[f].isEmpty()) continue;
        if (f == int(LookupField::Picture)) {
            row.value = found[f];
        } else {
            const store::InputCheck check = f < kFirstSideText ? store::CheckRecordText(found[f])
                                                               : store::CheckLineText(found[f]);
            row.value = check.text;
            if (!check.refused.isEmpty()) {
                row.refusal = QStringLiteral("保存できない文字を含みます");
            } else if (!check.tooLong.isEmpty()) {
                row.refusal = QStringLiteral("長すぎます");
            }
        }
        row.checkable = row.refusal.isEmpty();
        row.checked = row.checkable && current[f].isEmpty();
    }
    return rows;
}

store::Status StoreLookup(store::WorkingFolder& folder, store::Catalogue& c, int i,
                          const LookupChoice& choice) {
    const QString title = c.strDaimei[i];
    Undo undo(folder);
    store::Status warning;  // written, but not yet safe on the disk
    const auto wrote = [&](const store::Status& s) {
        if (s.isOk()) return true;
        if (s.isWritten()) {
            if (warning.isOk()) warning = s;
            return true;
        }
        undo.rollBack();
        return false;
    };
    const bool picture = choice.take[int(LookupField::Picture)];
    if (picture) {
        if (const std::optional<QString> tooLong = store::TitleNameTooLong(title)) {
            return store::StoreError{LookupPictureName(title), 0, *tooLong};
        }
        const QString name = LookupPictureName(title);
        if (const store::Status s = undo.remember(name); !s) return s;
        if (const store::Status s = folder.replace(name, choice.jpeg); !wrote(s)) return s;
    }
    for (int f = kFirstSideText; f < int(LookupField::Picture); ++f) {
        if (!choice.take[f]) continue;
        if (const store::Status s = undo.remember(store::SideTextFileName(SideTextOf(f), title));
            !s) {
            undo.rollBack();
            return s;
        }
        QString text = choice.values[f];
        text.replace(u'\n', store::marks::kLineEnd.toString());
        if (const store::Status s = store::SaveSideText(folder, SideTextOf(f), title, text);
            !wrote(s)) {
            return s;
        }
    }
    LookupTexts old;
    bool record = false;
    for (int f = 0; f < kFirstSideText; ++f) {
        old[f] = RecordSlot(c, f, i);
        if (!choice.take[f]) continue;
        RecordSlot(c, f, i) = choice.values[f];
        record = true;
    }
    if (record) {
        const store::Status s = c.SaveTitleData(folder);
        if (!wrote(s)) {
            for (int f = 0; f < kFirstSideText; ++f) RecordSlot(c, f, i) = old[f];
            return s;
        }
        using PF = store::Catalogue::PickField;
        const std::pair<LookupField, PF> picks[] = {{LookupField::Kantoku, PF::Kantoku},
                                                    {LookupField::Syuen, PF::Syuen},
                                                    {LookupField::Kuni, PF::Kuni},
                                                    {LookupField::Janru, PF::Janru}};
        for (const auto& [field, pick] : picks) {
            if (choice.take[int(field)]) c.AddPickValue(pick, choice.values[int(field)]);
        }
        if (choice.take[int(LookupField::Nengetu)]) {
            c.AddReleaseMonth(choice.values[int(LookupField::Nengetu)]);
            c.AddReleaseYear(choice.values[int(LookupField::Nengetu)]);
        }
    }
    if (picture) {
        // The last of .jpg, .gif, .bmp is the one shown: the others must go.
        for (const QString& ending : {QStringLiteral(".gif"), QStringLiteral(".bmp")}) {
            if (!folder.exists(title + ending)) continue;
            store::Status removed = folder.remove(title + ending);
            if (!removed) {
                store::StoreError e = removed.error();
                e.written = true;
                return e;
            }
        }
    }
    return warning;
}

}  // namespace logic
