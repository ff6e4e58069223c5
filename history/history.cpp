#include "history/history.h"

#include <algorithm>

#include "store/catalogue.h"
#include "store/dates.h"
#include "store/record_file.h"
#include "store/text_check.h"
#include "store/text_index.h"

namespace history {

namespace {

struct Viewing {
    QString date, title, content;
};

// Every record of the history bytes, in file order. Stops at the first fault,
// and at a record beyond what the counters can hold.
store::Status ReadViewings(const QByteArray& bytes, std::vector<Viewing>& out) {
    out.clear();
    store::RecordReader reader(kHistoryFile, bytes);
    while (!reader.failed() && !reader.AtEnd()) {
        if (static_cast<int>(out.size()) >= store::kMaxRecords) {
            return store::StoreError{
                kHistoryFile, reader.line(),
                QStringLiteral("鑑賞履歴は%1件までしか読み込めません").arg(store::kMaxRecords)};
        }
        Viewing v;
        v.date = reader.ReadText();
        v.title = reader.ReadText();
        v.content = reader.ReadText();
        if (reader.failed()) break;
        out.push_back(std::move(v));
    }
    if (reader.failed()) return reader.status();
    return store::Status::ok();
}

// An appended record must start on a line of its own, even after a hand edit
// that left the last line without its CR LF.
bool EndsOpen(const QByteArray& bytes) {
    return !bytes.isEmpty() && !bytes.endsWith('\n') && !bytes.endsWith('\r');
}

void WriteViewing(store::RecordWriter& writer, const QString& date, const QString& title,
                  const QString& content) {
    writer.WriteRecord(
        {store::Field::Text(date), store::Field::Text(title), store::Field::Text(content)});
}

store::Status Refuse(const QString& reason) {
    return store::StoreError{kHistoryFile, 0, reason};
}

}  // namespace

void History::clear() {
    HistoryCount = 0;
    strKansyoubi.assign(1, QString());
    strKansyouDaimei.assign(1, QString());
    strKansyouNaiyou.assign(1, QString());
    strLastKansyoubi.clear();
    cboKanbi.clear();
    cboKanbi2.clear();
    cboKansyou.clear();
    firstViewing_.clear();
    nextViewing_.clear();
    endsOpen_ = false;
}

store::Status History::LoadHistory(store::WorkingFolder& folder) {
    clear();
    loaded_ = false;
    // A copy left by an insertion that a crash interrupted: beside the history
    // it goes; without it (an older program deleted the history before the
    // rename) it is the history.
    if (store::Status s = folder.recoverVia(kHistoryFile, kHistoryCopyFile); !s.isWritten()) {
        return s;
    }

    QByteArray bytes;
    bool missing = false;
    store::Status read = folder.load(kHistoryFile, bytes, &missing);
    if (!read.isOk() && missing) {
        loaded_ = true;  // no file yet: no viewings
        return store::Status::ok();
    }
    std::vector<Viewing> viewings;
    store::Status parsed = read.isOk() ? ReadViewings(bytes, viewings) : read;
    if (!parsed.isOk()) {
        folder.markUnwritable(kHistoryFile);
        return parsed;
    }

    const int count = static_cast<int>(viewings.size());
    strKansyoubi.reserve(count + 1);
    strKansyouDaimei.reserve(count + 1);
    strKansyouNaiyou.reserve(count + 1);
    // The file is in date order, so a month or year mostly repeats the one
    // before it; the sets are asked only when it changes.
    QSet<QString> seenMonths, seenYears, seenContents;
    seenContents.reserve(count);
    firstViewing_.reserve(count);
    nextViewing_.assign(static_cast<size_t>(count) + 1, 0);
    std::vector<int> lastViewing(static_cast<size_t>(count) + 1, 0);  // by first viewing
    const auto titleOf = [this](int g) { return QStringView(strKansyouDaimei[size_t(g)]); };
    QString lastMonth, lastYear;
    for (int g = 1; g <= count; ++g) {
        Viewing& v = viewings[g - 1];
        if (!v.date.isEmpty()) {
            QStringView date(v.date);
            if (date.left(7) != lastMonth) {
                lastMonth = date.left(7).toString();
                if (store::detail::AddIfNew(seenMonths, lastMonth)) cboKanbi.push_back(lastMonth);
            }
            if (date.left(4) != lastYear) {
                lastYear = date.left(4).toString();
                if (store::detail::AddIfNew(seenYears, lastYear))
                    cboKanbi2.push_back(lastYear + u'年');
            }
        }
        if (!v.content.isEmpty() && store::detail::AddIfNew(seenContents, v.content)) {
            cboKansyou.push_back(v.content);
        }
        strKansyoubi.push_back(std::move(v.date));
        strKansyouDaimei.push_back(std::move(v.title));
        strKansyouNaiyou.push_back(std::move(v.content));
        // Each title's viewings as a chain from its first.
        if (const int first = firstViewing_.find(strKansyouDaimei[size_t(g)], titleOf)) {
            nextViewing_[size_t(lastViewing[size_t(first)])] = g;
            lastViewing[size_t(first)] = g;
        } else {
            firstViewing_.insert(strKansyouDaimei[size_t(g)], g, titleOf);
            lastViewing[size_t(g)] = g;
        }
    }
    HistoryCount = count;
    if (count > 0) strLastKansyoubi = strKansyoubi[count];
    endsOpen_ = EndsOpen(bytes);
    loaded_ = true;
    return store::Status::ok();
}

std::optional<EntryRefusal> History::CheckEntry(const QString& date, const QString& content) {
    if (date.isEmpty()) {
        return EntryRefusal{QStringLiteral("鑑賞日が入力されていません"),
                            QStringLiteral("入力漏れ")};
    }
    if (content.isEmpty()) {
        return EntryRefusal{QStringLiteral("鑑賞内容が入力されていません"),
                            QStringLiteral("入力漏れ")};
    }
    if (!store::IsViewingDate(date)) {
        return EntryRefusal{QStringLiteral("日付の形式ではありません"),
                            QStringLiteral("日付入力違い")};
    }
    return std::nullopt;
}

store::Status History::RecordViewing(store::WorkingFolder& folder, const QString& date,
                                     const QString& title, const QString& content) {
    if (!loaded_) {
        return Refuse(QStringLiteral("鑑賞履歴が読み込めていないため、記録できません"));
    }
    if (std::optional<EntryRefusal> refusal = CheckEntry(date, content)) {
        return Refuse(refusal->message);
    }
    std::optional<QString> normalised = store::NormaliseViewingDate(date);
    if (!normalised) return Refuse(QStringLiteral("日付の形式ではありません"));
    const QString& d = *normalised;
    if (HistoryCount >= store::kMaxRecords) {
        return Refuse(
            QStringLiteral("鑑賞履歴は%1件までしか記録できません").arg(store::kMaxRecords));
    }
    for (const QString* text : {&title, &content}) {
        store::InputCheck check = store::CheckRecordText(*text);
        if (!check.ok()) return Refuse(check.warning());
    }

    store::Status written = (HistoryCount == 0 || strLastKansyoubi <= d)
                                ? appendViewing(folder, d, title, content)
                                : insertViewing(folder, d, title, content);
    // New bytes in place whose safety is in doubt are still the history.
    if (!written.isWritten()) return written;
    store::Status loaded = LoadHistory(folder);
    return loaded.isOk() ? written : loaded;
}

store::Status History::appendViewing(store::WorkingFolder& folder, const QString& date,
                                     const QString& title, const QString& content) {
    store::RecordWriter writer(kHistoryFile);
    WriteViewing(writer, date, title, content);
    QByteArray bytes;
    if (store::Status s = writer.finish(bytes); !s.isOk()) return s;
    if (endsOpen_) bytes.prepend("\r\n");
    return folder.append(kHistoryFile, bytes);
}

// Copies the file as it is now, record by record, with the new record before
// the first later one, so that nothing on disk is lost even if it changed.
store::Status History::insertViewing(store::WorkingFolder& folder, const QString& date,
                                     const QString& title, const QString& content) {
    QByteArray old;
    if (store::Status s = folder.read(kHistoryFileRewrite, old); !s.isOk()) return s;
    std::vector<Viewing> viewings;
    if (store::Status s = ReadViewings(old, viewings); !s.isOk()) return s;
    if (static_cast<int>(viewings.size()) >= store::kMaxRecords) {
        return Refuse(
            QStringLiteral("鑑賞履歴は%1件までしか記録できません").arg(store::kMaxRecords));
    }

    store::RecordWriter writer(kHistoryFileRewrite);
    bool placed = false;
    for (const Viewing& v : viewings) {
        if (!placed && v.date > date) {
            WriteViewing(writer, date, title, content);
            placed = true;
        }
        WriteViewing(writer, v.date, v.title, v.content);
    }
    if (!placed) WriteViewing(writer, date, title, content);
    QByteArray bytes;
    if (store::Status s = writer.finish(bytes); !s.isOk()) return s;
    return folder.replaceVia(kHistoryFileRewrite, kHistoryCopyFile, bytes);
}

std::vector<int> History::ViewingsOf(const QString& title) const {
    std::vector<int> found;
    const auto titleOf = [this](int g) { return QStringView(strKansyouDaimei[size_t(g)]); };
    for (int g = firstViewing_.find(title, titleOf); g > 0; g = nextViewing_[size_t(g)]) {
        found.push_back(g);
    }
    return found;
}

store::Status MergedViewingsBytes(const History& history, const store::WorkingFolder& folder,
                                  std::vector<NewViewing> viewings, QByteArray& bytes) {
    if (!history.IsLoaded() || folder.isUnwritable(kHistoryFile)) {
        return Refuse(QStringLiteral("鑑賞履歴が読み込めていないため、記録できません"));
    }
    QByteArray old;
    bool missing = false;
    if (store::Status s = folder.read(kHistoryFileRewrite, old, &missing); !s.isOk() && !missing) {
        return s;
    }
    std::vector<Viewing> records;
    if (store::Status s = ReadViewings(old, records); !s.isOk()) return s;
    if (records.size() + viewings.size() > static_cast<size_t>(store::kMaxRecords)) {
        return Refuse(
            QStringLiteral("鑑賞履歴は%1件までしか記録できません").arg(store::kMaxRecords));
    }
    // Equal dates keep the order given, after the records already there.
    std::stable_sort(viewings.begin(), viewings.end(),
                     [](const NewViewing& a, const NewViewing& b) { return a.date < b.date; });
    store::RecordWriter writer(kHistoryFileRewrite);
    size_t n = 0;
    for (const Viewing& v : records) {
        for (; n < viewings.size() && v.date > viewings[n].date; ++n) {
            WriteViewing(writer, viewings[n].date, viewings[n].title, viewings[n].content);
        }
        WriteViewing(writer, v.date, v.title, v.content);
    }
    for (; n < viewings.size(); ++n) {
        WriteViewing(writer, viewings[n].date, viewings[n].title, viewings[n].content);
    }
    return writer.finish(bytes);
}

QString ShortViewingDate(const QString& date) {
    if (std::optional<QString> normalised = store::NormaliseViewingDate(date)) {
        return normalised->mid(2);
    }
    return date;
}

}  // namespace history
