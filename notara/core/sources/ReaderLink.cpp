#include "notara/core/sources/ReaderLink.h"

#include <QUrl>

#include <filesystem>

namespace notara {

std::optional<std::string> ReaderLink::url(const Work& work, const Annotation& annotation,
                                           bool readerAvailable) {
    if (!work.workReaderURL.empty() && readerAvailable) {
        std::string link = work.workReaderURL;
        if (annotation.annotationLocationRawText.starts_with("epubcfi("))
            link += "?open_at=" + QString::fromStdString(annotation.annotationLocationRawText)
                                      .toUtf8()
                                      .toPercentEncoding()
                                      .toStdString();
        return link;
    }
    std::error_code ec;
    if (work.workBookFile.empty() || !std::filesystem::is_regular_file(work.workBookFile, ec))
        return std::nullopt;
    return QUrl::fromLocalFile(QString::fromStdString(work.workBookFile))
        .toString(QUrl::FullyEncoded)
        .toStdString();
}

std::string ReaderLink::scheme(const Work& work) {
    const auto colon = work.workReaderURL.find(':');
    return colon == std::string::npos ? std::string() : work.workReaderURL.substr(0, colon);
}

} // namespace notara
