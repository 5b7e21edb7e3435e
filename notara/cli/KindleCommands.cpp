#include "notara/cli/KindleCommands.h"

#include "notara/cli/NotaraCli.h"
#include "notara/core/model/DataManager.h"
#include "notara/core/sources/kindle/KindleNotesParser.h"

namespace notara::cli {

WorkPtr KindleCommands::importNotebook(const std::filesystem::path& file, std::ostream& err) {
    KindleNotesParser parser;
    parser.fileURL = file;
    auto works = parser.parseWorks();
    if (works.empty()) {
        err << "notara-cli: no Kindle notebook found in \"" << file.native()
            << "\" (it must be a Notebook HTML export with a book title)\n";
        return nullptr;
    }
    return works.front();
}

int KindleCommands::exportNotebook(const std::filesystem::path& file, const std::filesystem::path& folder,
                                   BulkExport::Options options, std::ostream& out, std::ostream& err) {
    const WorkPtr work = importNotebook(file, err);
    if (!work) return NotaraCli::Failure;
    if (work->annotations.empty()) {
        err << "notara-cli: \"" << work->workTitle << "\" has no annotations to export\n";
        return NotaraCli::Failure;
    }
    DataManager model;
    const auto path = model.exportMarkdownTo(*work, folder, 1, std::nullopt, options.order, options.detailed);
    if (!path) return NotaraCli::Failure;
    out << path->native() << '\n';
    out.flush();
    return NotaraCli::Success;
}

} // namespace notara::cli
