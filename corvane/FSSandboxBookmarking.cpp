#include "corvane/FSSandboxBookmarking.h"

#include "corvane/Report.h"

#include <QByteArray>
#include <QSettings>
#include <QString>

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace corvane {

namespace {

// Bookmark bytes: a versioned header line, the device and inode numbers, then the absolute
// path as raw bytes (a path may hold any byte but NUL).
constexpr std::string_view magic = "notara-file-reference 1\n";

struct FileReference {
    std::filesystem::path path;
    dev_t device = 0;
    ino_t inode = 0;
};

std::string describeErrno(int error) {
    return std::strerror(error);
}

std::optional<QByteArray> createBookmarkData(const std::filesystem::path& url, std::string& error) {
    std::error_code ec;
    std::filesystem::path absolute = std::filesystem::absolute(url, ec);
    if (ec) {
        error = "Unable to create a bookmark for \"" + url.native() + "\": " + ec.message();
        return std::nullopt;
    }
    struct stat info {};
    if (::stat(absolute.c_str(), &info) != 0) {
        error = "Unable to create a bookmark for \"" + absolute.native() + "\": " + describeErrno(errno);
        return std::nullopt;
    }
    std::string bytes(magic);
    bytes += std::to_string(static_cast<unsigned long long>(info.st_dev));
    bytes += '\n';
    bytes += std::to_string(static_cast<unsigned long long>(info.st_ino));
    bytes += '\n';
    bytes += absolute.native();
    return QByteArray::fromStdString(bytes);
}

std::optional<FileReference> parseBookmarkData(const QByteArray& data) {
    const std::string_view bytes(data.constData(), static_cast<size_t>(data.size()));
    if (!bytes.starts_with(magic)) return std::nullopt;
    std::string_view rest = bytes.substr(magic.size());
    auto number = [&rest](unsigned long long& value) {
        const size_t end = rest.find('\n');
        if (end == std::string_view::npos || end == 0) return false;
        value = 0;
        for (char c : rest.substr(0, end)) {
            if (c < '0' || c > '9') return false;
            value = value * 10 + static_cast<unsigned>(c - '0');
        }
        rest.remove_prefix(end + 1);
        return true;
    };
    unsigned long long device = 0;
    unsigned long long inode = 0;
    if (!number(device) || !number(inode) || rest.empty() || rest.front() != '/') return std::nullopt;
    if (rest.find('\0') != std::string_view::npos) return std::nullopt;
    return FileReference{std::filesystem::path(std::string(rest)), static_cast<dev_t>(device),
                         static_cast<ino_t>(inode)};
}

bool store(const std::string& key, const QByteArray& data, std::string& error) {
    QSettings settings;
    settings.setValue(QString::fromStdString(key), data);
    settings.sync();
    if (settings.status() != QSettings::NoError) {
        error = "Unable to write the settings file \"" + settings.fileName().toStdString() + "\"";
        return false;
    }
    return true;
}

} // namespace

bool FSSandboxBookmarking::saveBookmark(const std::filesystem::path& url, const std::string& key) {
    std::string error;
    const auto data = createBookmarkData(url, error);
    if (!data || !store(key, *data, error)) {
        Report::line(error);
        return false;
    }
    return true;
}

std::optional<std::filesystem::path> FSSandboxBookmarking::resolveBookmark(const std::string& key) {
    const QVariant stored = QSettings().value(QString::fromStdString(key));
    if (!stored.isValid()) return std::nullopt;

    const auto reference = parseBookmarkData(stored.toByteArray());
    if (!reference) {
        Report::line("The bookmark \"" + key + "\" holds data that is not a file reference");
        return std::nullopt;
    }
    struct stat info {};
    if (::stat(reference->path.c_str(), &info) != 0) {
        Report::line("Unable to resolve the bookmark \"" + key + "\": \"" + reference->path.native() +
                     "\": " + describeErrno(errno));
        return std::nullopt;
    }
    const bool stale = info.st_dev != reference->device || info.st_ino != reference->inode;
    if (!stale) return reference->path;

    // The path now names another file: point the bookmark at that file.
    std::string error;
    const auto fresh = createBookmarkData(reference->path, error);
    if (!fresh || !store(key, *fresh, error)) {
        Report::line(error);
        Report::line("Unable to save updated stale bookmark data");
        return std::nullopt;
    }
    return reference->path;
}

} // namespace corvane

namespace corvane {

std::optional<std::filesystem::path> FSSandboxBookmarking::storedPath(const std::string& key) {
    const QVariant stored = QSettings().value(QString::fromStdString(key));
    if (!stored.isValid()) return std::nullopt;
    const auto reference = parseBookmarkData(stored.toByteArray());
    if (!reference) return std::nullopt;
    return reference->path;
}

} // namespace corvane
