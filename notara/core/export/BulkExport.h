#pragma once

#include "notara/core/model/AnnotationOrder.h"
#include "notara/core/model/Work.h"

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace notara {

/// Writes many works into one folder, one Markdown file each, a work at a time so that a
/// caller can show progress and stop between two files. Names follow the single export's
/// rule; works with equal titles get " (2)", " (3)" so that no file of the run is replaced.
/// Every file is written atomically: stopping leaves only complete files.
class BulkExport {
public:
    struct Options {
        AnnotationOrder::Order order = AnnotationOrder::Order::Stored;
        bool detailed = false;
    };

    /// The works of `works` that have annotations, in that order, dated `date` ("yyyy-MM-dd").
    BulkExport(const std::vector<WorkPtr>& works, std::filesystem::path folder, std::string date,
               Options options);
    ~BulkExport();
    BulkExport(const BulkExport&) = delete;
    BulkExport& operator=(const BulkExport&) = delete;

    size_t total() const { return works_.size(); }
    size_t done() const { return next_; }
    bool finished() const { return next_ >= works_.size(); }

    /// Writes the next work; the path written, or absent when it failed (`lastProblem` says
    /// why). Does nothing once finished.
    std::optional<std::filesystem::path> writeNext();

    size_t written() const { return written_.size(); }

    /// Waits until the files written are on disk; done by the destructor when not called.
    /// Touches nothing but the folder, so it may run on another thread once writing is over.
    void sync();
    const std::string& lastProblem() const { return lastProblem_; }
    const std::filesystem::path& folder() const { return folder_; }

    /// The text one work is exported as, in either layout.
    static std::string text(const Work& work, Options options);

private:
    std::vector<WorkPtr> works_;
    std::filesystem::path folder_;
    std::string date_;
    Options options_;
    size_t next_ = 0;
    std::set<std::string> written_;
    std::string lastProblem_;
    bool synced_ = false;
};

} // namespace notara
