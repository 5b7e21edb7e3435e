#include "notara/core/sources/Scan.h"

#include "notara/core/sources/Sources.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QStorageInfo>

#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace notara {

namespace {

// The library calibre was last pointed at, from its settings; empty when unknown.
fs::path calibreLibrary(const fs::path& configHome) {
    std::ifstream in(configHome / "calibre" / "global.py.json");
    if (!in) return {};
    std::stringstream text;
    text << in.rdbuf();
    const QJsonObject settings = QJsonDocument::fromJson(QByteArray::fromStdString(text.str())).object();
    return settings.value("library_path").toString().toStdString();
}

} // namespace

Scan::Places Scan::Places::ofThisUser() {
    Places places;
    places.home = QDir::homePath().toStdString();
    places.configHome = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString();
    places.dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString();
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        // E-readers are mounted for the user; the system's own volumes are not looked into.
        if (root.startsWith(QStringLiteral("/media/")) || root.startsWith(QStringLiteral("/run/media/")) ||
            root.startsWith(QStringLiteral("/mnt/")))
            places.mountPoints.push_back(root.toStdString());
    }
    return places;
}

std::vector<std::pair<SourceKind, fs::path>> Scan::candidates(const Places& places) {
    std::vector<std::pair<SourceKind, fs::path>> list;
    std::error_code ec;
    const auto add = [&](SourceKind kind, const fs::path& place) {
        if (!place.empty() && fs::exists(place, ec)) list.emplace_back(kind, place);
    };
    const fs::path flatpak = places.home / ".var" / "app";
    add(SourceKind::Koreader, places.configHome / "koreader");
    add(SourceKind::Koreader, flatpak / "rocks.koreader.KOReader" / "config" / "koreader");
    for (const fs::path& device : places.mountPoints) {
        // KOReader on a Kobo, a Kindle or elsewhere: its sidecars beside the books and in its folder.
        if (fs::exists(device / ".adds" / "koreader", ec) || fs::exists(device / "koreader", ec))
            add(SourceKind::Koreader, device);
    }
    add(SourceKind::Foliate, places.dataHome / "com.github.johnfactotum.Foliate");
    add(SourceKind::Foliate,
        flatpak / "com.github.johnfactotum.Foliate" / "data" / "com.github.johnfactotum.Foliate");
    add(SourceKind::Calibre, places.configHome / "calibre" / "viewer" / "annots");
    add(SourceKind::Calibre,
        flatpak / "com.calibre_ebook.calibre" / "config" / "calibre" / "viewer" / "annots");
    fs::path library = calibreLibrary(places.configHome);
    if (library.empty()) library = places.home / "Calibre Library";
    if (fs::exists(library / "metadata.db", ec)) add(SourceKind::Calibre, library);
    return list;
}

std::vector<Scan::Found> Scan::run(const Places& places) {
    std::vector<Found> found;
    for (const auto& [kind, place] : candidates(places)) {
        const SourceRead read = Sources::read(kind, place);
        if (!read.ok()) continue;
        Found entry{kind, place, read.works.size(), 0};
        for (const WorkPtr& work : read.works)
            entry.highlights += work->annotations.size();
        found.push_back(std::move(entry));
    }
    return found;
}

} // namespace notara
