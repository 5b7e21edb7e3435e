#include "corvane/Corvane.h"

#include "corvane/Report.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <unicode/smpdtfmt.h>
#include <unicode/unistr.h>

namespace corvane {

std::string Corvane::dateNow() {
    return dateText(std::chrono::system_clock::now());
}

std::string Corvane::dateText(std::chrono::system_clock::time_point moment) {
    UErrorCode status = U_ZERO_ERROR;
    // Lower-case y: the calendar year. Capital Y would be the week-based year, which puts
    // the last days of December into the next year.
    icu::SimpleDateFormat format(icu::UnicodeString("yyyy-MM-dd", -1, US_INV), status);
    std::string text;
    if (U_FAILURE(status)) return text;
    const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(moment.time_since_epoch());
    icu::UnicodeString formatted;
    format.format(static_cast<UDate>(millis.count()), formatted);
    formatted.toUTF8String(text);
    return text;
}

std::string Corvane::appDocumentsPath() {
    const QString path = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (path.isEmpty()) return {};
    QDir().mkpath(path);
    return QFile::encodeName(path).toStdString();
}

std::optional<std::string> Corvane::userDownloadsPath() {
    const QString path = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (path.isEmpty()) return std::nullopt;
    return QFile::encodeName(path).toStdString();
}

bool Corvane::saveContentsWithFilename(std::string_view contents, std::string_view fileName) {
    const auto downloads = userDownloadsPath();
    if (!downloads) {
        Report::line("Unable to save: no Downloads folder is known");
        return false;
    }
    std::string name = dateNow();
    name += '-';
    name += fileName;
    return saveContentsToPath(contents, std::filesystem::path(*downloads) / name);
}

bool Corvane::saveContentsToPath(std::string_view contents, const std::filesystem::path& path,
                                 std::string* problem) {
    const QString target = QFile::decodeName(QByteArray::fromStdString(path.native()));
    QSaveFile file(target);
    auto fail = [&](const QString& reason) {
        Report::line("Unable to save \"" + path.native() + "\": " + reason.toStdString());
        if (problem) *problem = reason.toStdString();
        return false;
    };
    if (!file.open(QIODevice::WriteOnly)) return fail(file.errorString());
    if (file.write(contents.data(), static_cast<qint64>(contents.size())) !=
        static_cast<qint64>(contents.size())) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return fail(reason);
    }
    if (!file.commit()) return fail(file.errorString());
    return true;
}

bool Corvane::saveContentsToPathDeferringSync(std::string_view contents, const std::filesystem::path& path,
                                              std::string* problem) {
    auto fail = [&](int error, int fd, const std::string& temporary) {
        const std::string reason = std::strerror(error);
        if (fd >= 0) ::close(fd);
        if (!temporary.empty()) ::unlink(temporary.c_str());
        Report::line("Unable to save \"" + path.native() + "\": " + reason);
        if (problem) *problem = reason;
        return false;
    };
    // A name of our own beside the target (process and sequence number), created exclusively
    // with the user's usual permissions.
    static std::atomic<unsigned long> sequence{0};
    // Short, so that a target name of the longest length still leaves room for it.
    const std::string temporary = (path.parent_path() / (".notara-" + std::to_string(::getpid()) + "-" +
                                                         std::to_string(sequence++) + ".tmp"))
                                      .native();
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return fail(errno, -1, {});
    for (size_t done = 0; done < contents.size();) {
        const ssize_t wrote = ::write(fd, contents.data() + done, contents.size() - done);
        if (wrote < 0) {
            if (errno == EINTR) continue;
            return fail(errno, fd, temporary);
        }
        done += static_cast<size_t>(wrote);
    }
    if (::close(fd) != 0) return fail(errno, -1, temporary);
    if (::rename(temporary.c_str(), path.c_str()) != 0) return fail(errno, -1, temporary);
    return true;
}

void Corvane::syncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::syncfs(fd);
    ::close(fd);
}

} // namespace corvane
