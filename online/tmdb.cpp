#include "online/tmdb.h"

#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <algorithm>

namespace online {
namespace {

const QString kCredentialKey = QStringLiteral("tmdb/credential");

QUrl EnvUrl(const char* name, const char* fallback) {
    const QByteArray value = qgetenv(name);
    return QUrl(QString::fromUtf8(value.isEmpty() ? QByteArray(fallback) : value));
}

QUrl Joined(const QUrl& base, const QString& path) {
    QUrl url = base;
    QString p = url.path();
    while (p.endsWith(u'/')) p.chop(1);
    url.setPath(p + path);
    return url;
}

// "2001-07-20…" as "2001/07"; empty for anything else.
QString YearMonth(const QString& date) {
    static const QRegularExpression form(QStringLiteral("^(\\d{4})-(\\d{2})"));
    const QRegularExpressionMatch m = form.match(date);
    return m.hasMatch() ? m.captured(1) + u'/' + m.captured(2) : QString();
}

QString EarliestJapaneseTheatrical(const QJsonObject& film) {
    QString earliest;
    for (const QJsonValue& country :
         film.value("release_dates").toObject().value("results").toArray()) {
        const QJsonObject c = country.toObject();
        if (c.value("iso_3166_1").toString() != QLatin1String("JP")) continue;
        for (const QJsonValue& r : c.value("release_dates").toArray()) {
            const QJsonObject release = r.toObject();
            const QString date = release.value("release_date").toString();
            if (release.value("type").toInt() != 3 || YearMonth(date).isEmpty()) continue;
            if (earliest.isEmpty() || date < earliest) earliest = date;
        }
    }
    return earliest;
}

// The cast by ascending order; equal orders keep TMDB's sequence.
std::vector<QJsonObject> CastByOrder(const QJsonArray& cast) {
    std::vector<QJsonObject> people;
    for (const QJsonValue& v : cast) people.push_back(v.toObject());
    std::stable_sort(people.begin(), people.end(), [](const QJsonObject& a, const QJsonObject& b) {
        return a.value("order").toInt() < b.value("order").toInt();
    });
    return people;
}

}  // namespace

Endpoints EndpointsFromEnvironment() {
    return {EnvUrl("HOSHINOTE_TMDB_API", "https://api.themoviedb.org/3"),
            EnvUrl("HOSHINOTE_TMDB_IMAGES", "https://image.tmdb.org/t/p")};
}

CredentialKind KindOfCredential(const QString& text) {
    static const QRegularExpression key(QStringLiteral("^[0-9A-Fa-f]{32}$"));
    static const QRegularExpression jwt(
        QStringLiteral("^eyJ[A-Za-z0-9_-]*\\.[A-Za-z0-9_-]+\\.[A-Za-z0-9_-]+$"));
    if (key.match(text).hasMatch()) return CredentialKind::ApiKey;
    if (jwt.match(text).hasMatch()) return CredentialKind::Token;
    return CredentialKind::None;
}

QString CredentialFile() {
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return config + QStringLiteral("/hoshinote/hoshinote.conf");
}

QString LoadCredential() {
    const QSettings settings(CredentialFile(), QSettings::IniFormat);
    return settings.value(kCredentialKey).toString();
}

bool SaveCredential(const QString& credential) {
    const QString path = CredentialFile();
    if (!QDir().mkpath(QFileInfo(path).path())) return false;
    // Made private before anything is in it; the settings' rewrite keeps the mode.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    ::close(fd);
    if (!QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner)) return false;
    QSettings settings(path, QSettings::IniFormat);
    if (credential.isEmpty()) {
        settings.remove(kCredentialKey);
    } else {
        settings.setValue(kCredentialKey, credential);
    }
    settings.sync();
    return settings.status() == QSettings::NoError &&
           QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

std::optional<std::vector<Candidate>> ParseSearch(const QByteArray& body) {
    const QJsonDocument doc = QJsonDocument::fromJson(body);
    const QJsonValue results = doc.object().value("results");
    if (!doc.isObject() || !results.isArray()) return std::nullopt;
    std::vector<Candidate> found;
    for (const QJsonValue& v : results.toArray()) {
        const QJsonObject r = v.toObject();
        if (!r.value("id").isDouble()) return std::nullopt;
        found.push_back({r.value("id").toInt(), r.value("title").toString(),
                         r.value("original_title").toString(), r.value("release_date").toString(),
                         r.value("poster_path").toString(), r.value("overview").toString()});
    }
    return found;
}

std::optional<FilmDetails> ParseDetails(const QByteArray& body) {
    const QJsonDocument doc = QJsonDocument::fromJson(body);
    const QJsonObject film = doc.object();
    if (!doc.isObject() || !film.value("id").isDouble()) return std::nullopt;
    FilmDetails d;
    const QJsonObject credits = film.value("credits").toObject();
    QStringList directors;
    for (const QJsonValue& v : credits.value("crew").toArray()) {
        const QJsonObject member = v.toObject();
        if (member.value("job").toString() == QLatin1String("Director")) {
            directors << member.value("name").toString();
        }
    }
    d.directors = directors.join(QStringLiteral("、"));
    const std::vector<QJsonObject> cast = CastByOrder(credits.value("cast").toArray());
    if (!cast.empty()) d.lead = cast.front().value("name").toString();
    QStringList lines;
    for (size_t k = 0; k < cast.size() && k < size_t(kCastLines); ++k) {
        const QString name = cast[k].value("name").toString();
        const QString role = cast[k].value("character").toString();
        lines << (role.isEmpty() ? name : name + u'（' + role + u'）');
    }
    d.cast = lines.join(u'\n');
    const QString japanese = EarliestJapaneseTheatrical(film);
    d.release = YearMonth(japanese.isEmpty() ? film.value("release_date").toString() : japanese);
    const QJsonArray countries = film.value("production_countries").toArray();
    if (!countries.isEmpty())
        d.countryCode = countries.first().toObject().value("iso_3166_1").toString();
    const QJsonArray genres = film.value("genres").toArray();
    if (!genres.isEmpty()) d.genre = genres.first().toObject().value("name").toString();
    d.overview = film.value("overview").toString();
    d.posterPath = film.value("poster_path").toString();
    return d;
}

QUrl SearchUrl(const Endpoints& e, const QString& query, const QString& year) {
    QUrl url = Joined(e.api, QStringLiteral("/search/movie"));
    // Encoded here in full, so that "+", "&" or "%" in a title reach TMDB as typed.
    QByteArray q =
        "query=" + QUrl::toPercentEncoding(query) + "&language=ja-JP&include_adult=false&page=1";
    if (!year.isEmpty()) q += "&year=" + QUrl::toPercentEncoding(year);
    url.setQuery(QString::fromLatin1(q), QUrl::StrictMode);
    return url;
}

QUrl DetailsUrl(const Endpoints& e, int id) {
    QUrl url = Joined(e.api, QStringLiteral("/movie/%1").arg(id));
    url.setQuery(QStringLiteral("language=ja-JP&append_to_response=credits,release_dates"));
    return url;
}

QUrl PosterUrl(const Endpoints& e, const QString& size, const QString& posterPath) {
    return Joined(e.images, u'/' + size + posterPath);
}

}  // namespace online
