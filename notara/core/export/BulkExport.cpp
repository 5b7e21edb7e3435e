#include "notara/core/export/BulkExport.h"

#include "notara/core/export/MarkdownExport.h"
#include "notara/core/model/IsoDate.h"

#include "corvane/Corvane.h"

namespace notara {

BulkExport::BulkExport(const std::vector<WorkPtr>& works, std::filesystem::path folder, std::string date,
                       Options options)
    : folder_(std::move(folder)), date_(std::move(date)), options_(options) {
    for (const auto& work : works) {
        if (!work->annotations.empty()) works_.push_back(work);
    }
}

std::string BulkExport::text(const Work& work, Options options) {
    const auto annotations = AnnotationOrder::sorted(work.annotations, options.order);
    return options.detailed ? MarkdownExport::detailedMarkdown(work, annotations, IsoDate::today())
                            : MarkdownExport::markdown(work, annotations);
}

BulkExport::~BulkExport() {
    // A run stopped early still leaves what it wrote on disk.
    if (!synced_) sync();
}

void BulkExport::sync() {
    if (!written_.empty()) corvane::Corvane::syncFolder(folder_);
    synced_ = true;
}

std::optional<std::filesystem::path> BulkExport::writeNext() {
    if (finished()) return std::nullopt;
    const Work& work = *works_[next_++];
    int copy = 1;
    while (written_.contains(MarkdownExport::fileName(work.workTitle, date_, copy)))
        ++copy;
    const std::string name = MarkdownExport::fileName(work.workTitle, date_, copy);
    const std::filesystem::path path = folder_ / name;
    lastProblem_.clear();
    // One wait for the disk at the end instead of one per file.
    const bool saved =
        corvane::Corvane::saveContentsToPathDeferringSync(text(work, options_), path, &lastProblem_);
    if (!saved) return std::nullopt;
    written_.insert(name);
    return path;
}

} // namespace notara
