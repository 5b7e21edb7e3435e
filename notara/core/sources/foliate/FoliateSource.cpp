#include "notara/core/sources/foliate/FoliateSource.h"

#include "notara/core/model/ContentHash.h"
#include "notara/core/sources/JsonAnnotations.h"
#include "notara/core/sources/SourceKeys.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

#include <algorithm>

namespace fs = std::filesystem;

namespace notara {

namespace {

constexpr qint64 largestFile = qint64{64} << 20;

// `title` is a text or a map of languages to texts.
std::string titleOf(const QJsonValue& value) {
    if (value.isObject()) {
        const QJsonObject languages = value.toObject();
        return languages.isEmpty() ? std::string() : JsonAnnotations::text(*languages.begin());
    }
    return JsonAnnotations::text(value);
}

std::string authorsOf(const QJsonValue& value) {
    QStringList names;
    const QJsonArray list = value.isArray() ? value.toArray() : QJsonArray{value};
    for (const QJsonValue& author : list) {
        const QString name =
            (author.isObject() ? author.toObject().value("name") : author).toString().trimmed();
        if (!name.isEmpty()) names << name;
    }
    return names.join(QStringLiteral(", ")).toStdString();
}

} // namespace

SourceRead FoliateSource::read(const fs::path& place) const {
    SourceRead read;
    read.kind = kind();
    read.place = place;
    read.name = "Foliate";
    std::error_code ec;
    std::vector<fs::path> files;
    for (fs::directory_iterator it(place, ec), end; !ec && it != end; it.increment(ec))
        if (it->path().extension() == ".json" && it->is_regular_file(ec)) files.push_back(it->path());
    if (ec && files.empty()) {
        read.problem = "It is not a folder that can be read (" + ec.message() + ").";
        return read;
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        QFile in(QString::fromStdString(file.string()));
        if (in.size() > largestFile || !in.open(QIODevice::ReadOnly)) continue;
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(in.readAll(), &error);
        if (!document.isObject()) {
            read.warnings.push_back("The Foliate file \"" + file.string() + "\" could not be read (" +
                                    error.errorString().toStdString() + "); it was skipped.");
            continue;
        }
        const QJsonObject book = document.object();
        const QJsonArray annotations = book.value("annotations").toArray();
        if (annotations.isEmpty()) continue;
        const QJsonObject metadata = book.value("metadata").toObject();
        // The file is named after the book's identifier.
        const std::string identifier =
            QUrl::fromPercentEncoding(QByteArray::fromStdString(file.stem().string())).toStdString();
        std::string title = titleOf(metadata.value("title"));
        if (title.empty()) title = identifier;
        auto work = std::make_shared<Work>(title, authorsOf(metadata.value("author")));
        work->workSource = "Foliate";
        work->workKey = identifier;
        for (const QJsonValue& value : annotations) {
            const QJsonObject item = value.toObject();
            const std::string cfi = item.value("value").toString().toStdString();
            const std::string passage = JsonAnnotations::text(item.value("text"));
            const std::string note = JsonAnnotations::text(item.value("note"));
            if (cfi.empty() || (passage.empty() && note.empty())) continue;
            auto annotation = std::make_shared<Annotation>(cfi, passage, note);
            annotation->annotationLocationRawText = cfi;
            annotation->annotationColor =
                JsonAnnotations::colour(item.value("color").toString().toStdString());
            annotation->annotationCreated = JsonAnnotations::date(item.value("created"));
            annotation->annotationModified = JsonAnnotations::date(item.value("modified"));
            annotation->annotationPosition.key = JsonAnnotations::cfiKey(cfi);
            annotation->annotationKey = "foliate:" + ContentHash().add(identifier).add(cfi).hex();
            work->annotations.push_back(std::move(annotation));
        }
        if (!work->annotations.empty()) read.works.push_back(std::move(work));
    }
    if (read.works.empty()) {
        read.problem = "It holds no Foliate highlight.";
        return read;
    }
    SourceKeys::makeUnique(read);
    // The first book by identifier stands for the folder, wherever a copy of it lies.
    read.key = "foliate:" + std::min_element(read.works.begin(), read.works.end(),
                                             [](auto& a, auto& b) { return a->workKey < b->workKey; })
                                ->get()
                                ->workKey;
    std::stable_sort(read.works.begin(), read.works.end(),
                     [](const WorkPtr& a, const WorkPtr& b) { return a->workTitle < b->workTitle; });
    SourceKeys::fingerprint(read);
    return read;
}

} // namespace notara
