#include "notara/cli/NotaraCli.h"

#include "notara/cli/JsonText.h"
#include "notara/core/export/BulkExport.h"
#include "notara/core/export/NotesSync.h"
#include "notara/core/export/TableExport.h"
#include "notara/core/library/Library.h"
#include "notara/core/model/AnnotationPlace.h"
#include "notara/core/model/DataManager.h"
#include "notara/core/search/LibrarySearch.h"
#include "notara/core/sources/Scan.h"
#include "notara/core/sources/Sources.h"

#include "corvane/Corvane.h"

#include <algorithm>
#include <filesystem>
#include <optional>

namespace fs = std::filesystem;

namespace notara::cli {

namespace {

struct Options {
    std::string command;
    // For "library": add, list, search, export, sources or forget.
    std::string action;
    std::optional<SourceKind> sourceKind;
    std::string sourcePlace;
    std::optional<std::string> library;
    std::optional<std::string> title;
    std::optional<std::string> out;
    bool all = false;
    bool json = false;
    bool detailed = false;
    std::optional<std::string> query;
    std::optional<std::string> forget;
    std::string templates = "obsidian";
    std::string format = "markdown";
    bool dryRun = false;
    bool restore = false;
    AnnotationOrder::Order order = AnnotationOrder::Order::Stored;
};

struct UsageProblem {
    std::string message;
};

// "--books DIR, --kindle FILE, --clippings FILE or --kobo FILE"
std::string sourceOptionsText() {
    std::string text;
    const auto kinds = Sources::kinds();
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        if (i > 0) text += i + 1 == kinds.size() ? " or " : ", ";
        text += "--" + std::string(kinds[i].name) + (kinds[i].isFolder ? " DIR" : " FILE");
    }
    return text;
}

// Accepts "--name value" and "--name=value".
Options parse(const std::vector<std::string>& arguments) {
    Options options;
    if (arguments.empty()) throw UsageProblem{"no command given"};
    options.command = arguments.front();
    if (options.command != "list" && options.command != "export" && options.command != "search" &&
        options.command != "library" && options.command != "scan" && options.command != "sync") {
        throw UsageProblem{"unknown command \"" + options.command + "\""};
    }
    size_t first = 1;
    const bool inLibrary = options.command == "library";
    if (inLibrary) {
        if (arguments.size() < 2)
            throw UsageProblem{"library needs add, list, search, export, sources or forget"};
        options.action = arguments[1];
        static const std::vector<std::string> actions{"add", "list", "search", "export", "sources", "forget"};
        if (std::find(actions.begin(), actions.end(), options.action) == actions.end())
            throw UsageProblem{"unknown library command \"" + options.action + "\""};
        first = 2;
    }
    const std::string& verb = inLibrary ? options.action : options.command;
    const bool isList = verb == "list";
    const bool isSearch = verb == "search";
    const bool isExport = verb == "export";
    const bool isSync = verb == "sync";
    const bool takesSource = (!inLibrary && verb != "scan" && !isSync) || verb == "add";
    int sources = 0;
    for (size_t i = first; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::optional<std::string> value;
        if (const size_t equals = name.find('='); name.starts_with("--") && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        auto takeValue = [&]() -> std::string {
            if (value) return *value;
            if (i + 1 >= arguments.size()) throw UsageProblem{name + " needs a value"};
            return arguments[++i];
        };
        auto flag = [&](bool& target) {
            if (value) throw UsageProblem{name + " takes no value"};
            target = true;
        };
        const auto kind =
            name.starts_with("--") ? Sources::byName(std::string_view(name).substr(2)) : std::nullopt;
        if (kind && takesSource) {
            options.sourceKind = *kind;
            options.sourcePlace = takeValue();
            ++sources;
            if (options.sourcePlace.empty())
                throw UsageProblem{name +
                                   (Sources::of(*kind).isFolder ? " needs a folder" : " needs a file")};
        } else if (name == "--library") {
            options.library = takeValue();
        } else if (isSync && name == "--to") {
            options.out = takeValue();
        } else if (isSync && name == "--template") {
            options.templates = takeValue();
        } else if (isSync && name == "--dry-run") {
            flag(options.dryRun);
        } else if (isSync && name == "--restore") {
            flag(options.restore);
        } else if (isSearch && !options.query && !name.starts_with("--"))
            options.query = name;
        else if (verb == "forget" && !options.forget && !name.starts_with("--"))
            options.forget = name;
        else if (name == "--all" && isList)
            flag(options.all);
        else if (name == "--json" && (isList || isSearch || verb == "sources" || verb == "scan"))
            flag(options.json);
        else if (name == "--order" && (isList || isSearch || isExport)) {
            const std::string order = takeValue();
            if (order != "stored" && order != "book")
                throw UsageProblem{"--order takes \"stored\" or \"book\""};
            options.order = *AnnotationOrder::fromName(order);
        } else if (name == "--detailed" && isExport)
            flag(options.detailed);
        else if (name == "--title" && isExport)
            options.title = takeValue();
        else if (name == "--out" && isExport)
            options.out = takeValue();
        else if (name == "--format" && isExport) {
            options.format = takeValue();
            if (options.format != "markdown" && options.format != "csv" && options.format != "anki" &&
                options.format != "json")
                throw UsageProblem{"--format takes \"markdown\", \"csv\", \"anki\" or \"json\""};
        } else
            throw UsageProblem{"unknown argument \"" + arguments[i] + "\" for " + verb};
    }
    if (isSearch && !options.query) throw UsageProblem{"search needs a QUERY"};
    if (verb == "forget" && !options.forget)
        throw UsageProblem{"forget needs a SOURCE (see library sources)"};
    if (!takesSource) return options;
    if (sources > 1) throw UsageProblem{sourceOptionsText() + " cannot be combined"};
    if (!options.sourceKind) throw UsageProblem{verb + " needs " + sourceOptionsText()};
    if (options.sourceKind != SourceKind::Books && (options.all || options.title))
        throw UsageProblem{"--all and --title apply to --books only"};
    return options;
}

// One line per work in the plain listing: tabs and line breaks inside a field would split it.
std::string oneLine(std::string_view text) {
    std::string line(text);
    for (char& c : line) {
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    }
    return line;
}

// Appends `"name": "value"`, after a comma unless it opens the object.
void appendMember(std::string& json, std::string_view name, std::string_view value, bool first = false) {
    if (!first) json += ", ";
    json += '"';
    json += name;
    json += "\": ";
    appendJsonString(json, value);
}

void appendTexts(std::string& json, std::string_view name, const std::vector<std::string>& texts) {
    json += ", \"";
    json += name;
    json += "\": [";
    for (size_t i = 0; i < texts.size(); ++i) {
        if (i > 0) json += ", ";
        appendJsonString(json, texts[i]);
    }
    json += ']';
}

// The works as JSON; `library` adds what the library knows of each (sources, removal, marks).
std::string worksAsJson(const std::vector<WorkPtr>& works, AnnotationOrder::Order order,
                        bool library = false) {
    std::string json = "[";
    for (size_t w = 0; w < works.size(); ++w) {
        const Work& work = *works[w];
        json += w == 0 ? "\n  {" : ",\n  {";
        appendMember(json, "id", work.id.toString(QUuid::WithoutBraces).toUpper().toStdString(), true);
        appendMember(json, "workID", work.workID);
        appendMember(json, "workTitle", work.workTitle);
        appendMember(json, "workAuthor", work.workAuthor);
        appendMember(json, "downloadedStatus", work.downloadedStatus);
        if (library) appendTexts(json, "workSources", work.workSources);
        json += ", \"annotations\": [";
        const std::vector<AnnotationPtr> annotations = AnnotationOrder::sorted(work.annotations, order);
        for (size_t a = 0; a < annotations.size(); ++a) {
            const Annotation& annotation = *annotations[a];
            json += a == 0 ? "\n    {" : ",\n    {";
            appendMember(json, "annotationID", annotation.annotationID, true);
            appendMember(json, "annotationUserNotes", annotation.annotationUserNotes);
            appendMember(json, "annotationRepText", annotation.annotationRepText);
            appendMember(json, "annotationSelectedText", annotation.annotationSelectedText);
            appendMember(json, "annotationLocationRawText", annotation.annotationLocationRawText);
            appendMember(json, "annotationKind", Annotation::kindName(annotation.annotationKind));
            appendMember(json, "annotationColor", annotation.annotationColor);
            appendMember(json, "annotationChapter", annotation.annotationChapter);
            appendMember(json, "annotationPage", annotation.annotationPage);
            json += ", \"annotationLocation\": ";
            json += annotation.annotationLocation ? std::to_string(*annotation.annotationLocation) : "null";
            appendMember(json, "annotationCreated", annotation.annotationCreated.view());
            appendMember(json, "annotationModified", annotation.annotationModified.view());
            if (library) {
                static const AnnotationInLibrary none;
                const AnnotationInLibrary& state =
                    annotation.annotationLibrary ? *annotation.annotationLibrary : none;
                appendTexts(json, "annotationSources", state.sources);
                json += ", \"annotationRemovedAtSource\": ";
                if (state.removedAtSource.empty())
                    json += "null";
                else
                    appendJsonString(json, state.removedAtSource.view());
                json += ", \"annotationFavourite\": ";
                json += state.favourite ? "true" : "false";
                appendTexts(json, "annotationTags", state.tags);
            }
            json += "}";
        }
        json += work.annotations.empty() ? "]}" : "\n  ]}";
    }
    json += works.empty() ? "]\n" : "\n]\n";
    return json;
}

// The source the options name, read through its kind's reader; false after the reason on `err`.
bool readSource(const Options& options, SourceRead& read, std::ostream& err) {
    read = Sources::read(*options.sourceKind, options.sourcePlace);
    if (!read.ok()) {
        std::string problem = read.problem;
        if (read.storesMissing) {
            if (!problem.ends_with('\n')) problem += '\n';
            err << problem;
        } else if (read.kind == SourceKind::KindleNotebook) {
            err << "notara-cli: no Kindle notebook found in \"" << options.sourcePlace
                << "\" (it must be a Notebook HTML export with a book title)\n";
        } else if (read.kind == SourceKind::Books) {
            err << "notara-cli: " << problem << '\n';
        } else {
            err << "notara-cli: \"" << options.sourcePlace << "\" could not be read. " << problem << '\n';
        }
        return false;
    }
    for (const std::string& warning : read.warnings)
        err << warning << '\n';
    return true;
}

// The works to list, search or export: the Books library after the hide rule (unless --all),
// every other source as it is read (a Kindle notebook's one work even without annotations).
bool loadWorks(const Options& options, std::vector<WorkPtr>& works, std::ostream& err) {
    SourceRead read;
    if (!readSource(options, read, err)) return false;
    works = std::move(read.works);
    if (read.kind == SourceKind::Books && !options.all)
        std::erase_if(works, [](const WorkPtr& work) { return work->annotations.empty(); });
    return true;
}

std::unique_ptr<Library> openLibrary(const Options& options, std::ostream& err) {
    const fs::path file = options.library ? fs::path(*options.library) : Library::defaultPath();
    std::string problem;
    auto library = Library::open(file, problem);
    if (!library) {
        err << "notara-cli: " << problem << '\n';
        return nullptr;
    }
    if (library->readOnly()) err << "notara-cli: " << library->notice() << '\n';
    return library;
}

int printWorks(const std::vector<WorkPtr>& works, const Options& options, bool library, std::ostream& out) {
    if (options.json) {
        out << worksAsJson(works, options.order, library);
    } else {
        for (const auto& work : works) {
            out << oneLine(work->workTitle) << '\t' << oneLine(work->workAuthor) << '\t'
                << work->annotations.size() << '\n';
        }
    }
    out.flush();
    return NotaraCli::Success;
}

int printMatches(const std::vector<WorkPtr>& works, const Options& options, bool library, std::ostream& out) {
    const std::vector<WorkPtr> matching = LibrarySearch::filter(works, *options.query);
    if (options.json) {
        out << worksAsJson(matching, options.order, library); // the list form
    } else {
        for (const auto& work : matching) {
            for (const auto& annotation : AnnotationOrder::sorted(work->annotations, options.order)) {
                const std::string& text = annotation->annotationSelectedText.empty()
                                              ? annotation->annotationUserNotes
                                              : annotation->annotationSelectedText;
                out << oneLine(work->workTitle) << '\t' << oneLine(AnnotationPlace::text(*annotation)) << '\t'
                    << oneLine(text) << '\n';
            }
        }
    }
    out.flush();
    return matching.empty() ? NotaraCli::Failure : NotaraCli::Success;
}

// Downloads, or --out; absent after the reason on `err`.
std::optional<fs::path> exportFolder(const Options& options, std::ostream& err) {
    std::error_code ec;
    if (options.out) {
        fs::path folder = *options.out;
        if (!fs::is_directory(folder, ec)) {
            err << "notara-cli: \"" << folder.native() << "\" is not a folder\n";
            return std::nullopt;
        }
        return folder;
    }
    const auto downloads = corvane::Corvane::userDownloadsPath();
    if (!downloads) {
        err << "notara-cli: no Downloads folder is known; use --out DIR\n";
        return std::nullopt;
    }
    fs::create_directories(*downloads, ec);
    return fs::path(*downloads);
}

// The chosen works in one file of another format (CSV, Anki, JSON), named with today's date.
int writeTable(const std::vector<WorkPtr>& chosen, const fs::path& folder, const Options& options,
               bool library, std::ostream& out, std::ostream& err) {
    std::vector<WorkPtr> ordered;
    for (const WorkPtr& work : chosen) {
        if (work->annotations.empty()) continue;
        auto copy = std::make_shared<Work>(*work);
        copy->annotations = AnnotationOrder::sorted(work->annotations, options.order);
        ordered.push_back(std::move(copy));
    }
    const std::string date = corvane::Corvane::dateNow();
    std::string text, name;
    if (options.format == "csv") {
        text = TableExport::csv(ordered);
        name = date + "-Notara-Highlights.csv";
    } else if (options.format == "anki") {
        text = TableExport::anki(ordered);
        name = date + "-Notara-Anki.txt";
    } else {
        text = worksAsJson(ordered, AnnotationOrder::Order::Stored, library);
        name = date + "-Notara-Highlights.json";
    }
    std::string problem;
    if (!corvane::Corvane::saveContentsToPath(text, folder / name, &problem)) {
        err << "notara-cli: \"" << (folder / name).native() << "\" could not be written (" << problem
            << ")\n";
        return NotaraCli::Failure;
    }
    out << (folder / name).native() << '\n';
    out.flush();
    return NotaraCli::Success;
}

int writeWorks(const std::vector<WorkPtr>& all, const fs::path& folder, const Options& options,
               std::ostream& out, std::ostream& err, bool library = false) {
    std::vector<WorkPtr> chosen;
    for (const auto& work : all) {
        if (!options.title || work->workTitle == *options.title) chosen.push_back(work);
    }
    if (options.format != "markdown") {
        if (options.title && chosen.empty()) {
            err << "notara-cli: no work titled \"" << *options.title << "\" has annotations\n";
            return NotaraCli::Failure;
        }
        return writeTable(chosen, folder, options, library, out, err);
    }
    // One date for the whole run, so that the names this run has written can be recognised.
    BulkExport run(chosen, folder, corvane::Corvane::dateNow(), {options.order, options.detailed});
    const bool matched = run.total() > 0;
    bool failed = false;
    while (!run.finished()) {
        if (const auto path = run.writeNext())
            out << path->native() << '\n';
        else
            failed = true;
    }
    out.flush();
    if (options.title && !matched) {
        err << "notara-cli: no work titled \"" << *options.title << "\" has annotations\n";
        return NotaraCli::Failure;
    }
    return failed ? NotaraCli::Failure : NotaraCli::Success;
}

int exportWorks(const Options& options, std::ostream& out, std::ostream& err) {
    const auto folder = exportFolder(options, err);
    if (!folder) return NotaraCli::Failure;
    std::vector<WorkPtr> works; // the works without annotations are not exported anyway
    if (!loadWorks(options, works, err)) return NotaraCli::Failure;
    if (options.sourceKind == SourceKind::KindleNotebook && options.format == "markdown") {
        const Work& work = *works.front();
        if (work.annotations.empty()) {
            err << "notara-cli: \"" << work.workTitle << "\" has no annotations to export\n";
            return NotaraCli::Failure;
        }
        DataManager model;
        const auto path =
            model.exportMarkdownTo(work, *folder, 1, std::nullopt, options.order, options.detailed);
        if (!path) return NotaraCli::Failure;
        out << path->native() << '\n';
        out.flush();
        return NotaraCli::Success;
    }
    return writeWorks(works, *folder, options, out, err);
}

std::string sourcesAsJson(const std::vector<Library::SourceInfo>& sources) {
    std::string json = "[";
    for (size_t i = 0; i < sources.size(); ++i) {
        const Library::SourceInfo& source = sources[i];
        json += i == 0 ? "\n  {\"id\": " : ",\n  {\"id\": ";
        json += std::to_string(source.id);
        appendMember(json, "kind", Sources::of(source.kind).name);
        appendMember(json, "key", source.key);
        appendMember(json, "name", source.name);
        appendMember(json, "place", source.place);
        appendMember(json, "added", source.added);
        appendMember(json, "lastRead", source.lastRead);
        json += ", \"works\": " + std::to_string(source.works);
        json += ", \"annotations\": " + std::to_string(source.annotations) + "}";
    }
    json += sources.empty() ? "]\n" : "\n]\n";
    return json;
}

// The library into a notes folder: what it did, or with --dry-run what it would do.
int sync(const Options& options, std::ostream& out, std::ostream& err) {
    std::string problem;
    auto templates = NoteTemplates::load(options.templates, problem);
    if (!templates) {
        err << "notara-cli: " << problem << '\n';
        return NotaraCli::Failure;
    }
    const auto library = openLibrary(options, err);
    if (!library) return NotaraCli::Failure;
    NotesSync::Options sync{*options.out, std::move(*templates), options.dryRun, options.restore, {}};
    NotesSync::Report report;
    if (!NotesSync::run(*library, library->works(), sync, report, problem)) {
        err << "notara-cli: " << problem << '\n';
        return NotaraCli::Failure;
    }
    out << (options.dryRun ? "Would be: " : "") << report.text() << '\n';
    out.flush();
    return NotaraCli::Success;
}

// What the Linux readers keep on this computer, as the window's "Find Highlights" lists it.
int scan(const Options& options, std::ostream& out) {
    const auto found = Scan::run(Scan::Places::ofThisUser());
    if (options.json) {
        std::string json = "[";
        for (size_t i = 0; i < found.size(); ++i) {
            json += i == 0 ? "\n  {" : ",\n  {";
            appendMember(json, "kind", Sources::of(found[i].kind).name, true);
            appendMember(json, "place", found[i].place.string());
            json += ", \"books\": " + std::to_string(found[i].books);
            json += ", \"highlights\": " + std::to_string(found[i].highlights) + "}";
        }
        out << json << (found.empty() ? "]\n" : "\n]\n");
    } else {
        for (const auto& entry : found)
            out << Sources::of(entry.kind).displayName << '\t' << entry.place.native() << '\t' << entry.books
                << '\t' << entry.highlights << '\n';
    }
    out.flush();
    return NotaraCli::Success;
}

int library(const Options& options, std::ostream& out, std::ostream& err) {
    const auto library = openLibrary(options, err);
    if (!library) return NotaraCli::Failure;
    const std::string& action = options.action;
    if (action == "add") {
        Library::Counts counts;
        // A source whose files are as they were at its last add is not read again.
        const auto probe = Sources::probe(*options.sourceKind, options.sourcePlace);
        if (probe && library->keepIfUnchanged(*options.sourceKind, *probe, options.sourcePlace, counts)) {
            for (const std::string& warning : probe->warnings)
                err << warning << '\n';
            out << counts.text() << '\n';
            out.flush();
            return NotaraCli::Success;
        }
        SourceRead read;
        if (!readSource(options, read, err)) return NotaraCli::Failure;
        if (probe) read.filesFingerprint = probe->filesFingerprint; // hashed once, before the read
        std::string problem;
        if (!library->add(read, counts, problem)) {
            err << "notara-cli: " << problem << '\n';
            return NotaraCli::Failure;
        }
        out << counts.text() << '\n';
        out.flush();
        return NotaraCli::Success;
    }
    if (action == "sources") {
        const auto sources = library->sources();
        if (options.json) {
            out << sourcesAsJson(sources);
        } else {
            for (const auto& source : sources)
                out << source.id << '\t' << Sources::of(source.kind).name << '\t' << oneLine(source.name)
                    << '\t' << oneLine(source.place) << '\t' << source.works << '\t' << source.annotations
                    << '\t' << source.lastRead << '\n';
        }
        out.flush();
        return NotaraCli::Success;
    }
    if (action == "forget") {
        const auto source = library->findSource(*options.forget);
        if (!source) {
            err << "notara-cli: the library has no source \"" << *options.forget
                << "\" (library sources lists them)\n";
            return NotaraCli::Failure;
        }
        const std::size_t leaving = library->annotationsOnlyFrom(source->id);
        std::string problem;
        if (!library->forget(source->id, problem)) {
            err << "notara-cli: " << problem << '\n';
            return NotaraCli::Failure;
        }
        out << "Forgot " << source->name << ": " << leaving << (leaving == 1 ? " highlight" : " highlights")
            << " left the library\n";
        out.flush();
        return NotaraCli::Success;
    }
    std::vector<WorkPtr> works = library->works();
    if (action == "list") {
        if (!options.all) std::erase_if(works, [](const WorkPtr& work) { return work->annotations.empty(); });
        return printWorks(works, options, true, out);
    }
    if (action == "search") return printMatches(works, options, true, out);
    const auto folder = exportFolder(options, err);
    if (!folder) return NotaraCli::Failure;
    return writeWorks(works, *folder, options, out, err, true);
}

} // namespace

const char* NotaraCli::usage() {
    return "Usage: notara-cli list --books DIR [--all] [--json] [--order stored|book]\n"
           "       notara-cli list --kindle FILE [--json] [--order stored|book]\n"
           "       notara-cli export --books DIR [--title TEXT] [--out DIR] [--order stored|book] "
           "[--detailed]\n"
           "       notara-cli export --kindle FILE [--out DIR] [--order stored|book] [--detailed]\n"
           "       notara-cli search QUERY (--books DIR | --kindle FILE) [--json] [--order stored|book]\n"
           "       notara-cli list|export|search ... --clippings FILE  (a Kindle's My Clippings.txt)\n"
           "       notara-cli list|export|search ... --kobo FILE  (a Kobo's .kobo/KoboReader.sqlite)\n"
           "       notara-cli library add (--books DIR | --kindle FILE | --clippings FILE | --kobo FILE)\n"
           "       notara-cli library list [--json] [--all] [--order stored|book]\n"
           "       notara-cli library search QUERY [--json] [--order stored|book]\n"
           "       notara-cli library export [--out DIR] [--detailed] [--title TEXT] [--order stored|book]\n"
           "       notara-cli library sources [--json]\n"
           "       notara-cli library forget SOURCE\n"
           "       notara-cli list|export|search|library add ... --koreader DIR | --foliate DIR | --calibre "
           "DIR\n"
           "       notara-cli scan [--json]\n"
           "       notara-cli sync --to DIR [--template NAME|DIR] [--library FILE] [--dry-run] [--restore]\n"
           "       notara-cli --help | --version\n"
           "\n"
           "DIR is the Apple Books data folder (the one holding Documents/AEAnnotation and\n"
           "Documents/BKLibrary) or its Documents folder. Its databases are read from copies;\n"
           "DIR is never changed.\n"
           "FILE is a Notebook HTML page exported by a Kindle reading app for one book.\n"
           "With --clippings or --kobo, FILE is the e-reader's file; it is only read, and a\n"
           "Kobo database is read from a copy.\n"
           "\n"
           "  list     one line per work with annotations: title, author and number of\n"
           "           annotations, tab-separated (tabs and line breaks inside a title or\n"
           "           author print as spaces)\n"
           "    --all    list works without annotations too\n"
           "    --json   print the works and their annotations as a JSON array instead\n"
           "  export   write the annotations of every work that has some as Markdown,\n"
           "           named <date>-<title>-Annotations.md, and print each path written\n"
           "    --title TEXT  only the works whose title is exactly TEXT\n"
           "    --out DIR     write into DIR instead of the Downloads folder\n"
           "    --detailed    with front matter, chapter headings and each annotation's place,\n"
           "                  colour and date\n"
           "  --order book    each work's annotations in reading order (by location)\n"
           "  --order stored  in the order the source stores them (the default)\n"
           "\n"
           "  search   one line per annotation matching QUERY: title, place and passage,\n"
           "           tab-separated (--json: the list form with only the matches). Words\n"
           "           must all occur in the passage, note, chapter, title or author, in any\n"
           "           order; \"a phrase\" in quotes as written. Case, accents and width are\n"
           "           ignored. Exit status 1 when nothing matches.\n"
           "\n"
           "    --format csv|anki|json  one file of all the works' highlights instead of Markdown:\n"
           "                  CSV (a header row), an Anki import file, or the JSON of list\n"
           "  library  the reader's own library of every source added to it, kept between runs\n"
           "           (the window's \"All Highlights\"). add merges a source in and prints\n"
           "           \"N new, N changed, N removed at source, N unchanged\"; an annotation its\n"
           "           source no longer lists is kept, marked removed at source. sources lists\n"
           "           them (id, kind, name, place, works, highlights, last read); forget takes\n"
           "           one (by id or name) and what only it gave out of the library. Searches\n"
           "           also take tag:NAME and is:favourite.\n"
           "    --library FILE  the library to use (default: library.sqlite in the data folder)\n"
           "\n"
           "  sync     one Markdown file per work of the library in DIR, kept in step: new\n"
           "           highlights go between their neighbours, blocks you edited and everything\n"
           "           you wrote around them stay as they are, blocks and files you deleted stay\n"
           "           deleted (--restore writes them again). Templates: obsidian (the default),\n"
           "           plain, detailed, logseq, or your own folder of Mustache templates.\n"
           "  scan     what KOReader, Foliate and calibre keep on this computer and on mounted\n"
           "           e-readers: reader, place, books and highlights, tab-separated\n"
           "  --koreader DIR  a folder with KOReader sidecars (<book>.sdr), searched through\n"
           "  --foliate DIR   Foliate's data folder; --calibre DIR a calibre library or the\n"
           "                  viewer's annotation folder; they are only read\n"
           "\n"
           "With --kindle, list prints the notebook's one work (even without annotations)\n"
           "and export writes it.\n"
           "\n"
           "Exit status: 0 on success, 1 when the databases cannot be found or loaded, FILE\n"
           "holds no Kindle notebook or a file could not be written, 2 on bad usage.\n";
}

int NotaraCli::run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    for (const auto& argument : arguments) {
        if (argument == "--help" || argument == "-h") {
            // Where the copies go depends on the user's data folder, so it is told here.
            const std::string copies = corvane::Corvane::appDocumentsPath();
            out << usage() << "\nThe copies of the databases (Books, Kobo) are kept in\n  "
                << (copies.empty() ? std::string("(no data folder is known)") : copies)
                << "\nand can be deleted at any time: each run makes them again.\n";
            return Success;
        }
    }
    if (arguments.size() == 1 && arguments.front() == "--version") {
        out << "notara-cli " << NOTARA_VERSION << '\n';
        return Success;
    }
    try {
        const Options options = parse(arguments);
        if (options.command == "library") return library(options, out, err);
        if (options.command == "scan") return scan(options, out);
        if (options.command == "sync") return sync(options, out, err);
        if (options.command == "export") return exportWorks(options, out, err);
        std::vector<WorkPtr> works;
        if (!loadWorks(options, works, err)) return Failure;
        return options.command == "search" ? printMatches(works, options, false, out)
                                           : printWorks(works, options, false, out);
    } catch (const UsageProblem& problem) {
        err << "notara-cli: " << problem.message << "\n\n" << usage();
        return UsageError;
    }
}

} // namespace notara::cli
