#include "notara/cli/NotaraCli.h"

#include "notara/cli/JsonText.h"
#include "notara/cli/KindleCommands.h"
#include "notara/core/export/BulkExport.h"
#include "notara/core/model/AnnotationPlace.h"
#include "notara/core/model/DataManager.h"
#include "notara/core/search/SearchIndex.h"
#include "notara/core/sources/books/BooksFolder.h"
#include "notara/core/sources/clippings/ClippingsReader.h"
#include "notara/core/sources/kobo/KoboReader.h"

#include "corvane/Corvane.h"

#include <filesystem>
#include <optional>

namespace fs = std::filesystem;

namespace notara::cli {

namespace {

struct Options {
    std::string command;
    std::optional<std::string> books;
    std::optional<std::string> kindle;
    std::optional<std::string> clippings;
    std::optional<std::string> kobo;
    std::optional<std::string> title;
    std::optional<std::string> out;
    bool all = false;
    bool json = false;
    bool detailed = false;
    std::optional<std::string> query;
    AnnotationOrder::Order order = AnnotationOrder::Order::Stored;
};

struct UsageProblem {
    std::string message;
};

// Accepts "--name value" and "--name=value".
Options parse(const std::vector<std::string>& arguments) {
    Options options;
    if (arguments.empty()) throw UsageProblem{"no command given"};
    options.command = arguments.front();
    if (options.command != "list" && options.command != "export" && options.command != "search") {
        throw UsageProblem{"unknown command \"" + options.command + "\""};
    }
    const bool isList = options.command == "list";
    const bool isSearch = options.command == "search";
    const bool isExport = options.command == "export";
    for (size_t i = 1; i < arguments.size(); ++i) {
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
        if (name == "--books")
            options.books = takeValue();
        else if (name == "--kindle")
            options.kindle = takeValue();
        else if (name == "--clippings")
            options.clippings = takeValue();
        else if (name == "--kobo")
            options.kobo = takeValue();
        else if (isSearch && !options.query && !name.starts_with("--"))
            options.query = name;
        else if (name == "--all" && isList)
            flag(options.all);
        else if (name == "--json" && (isList || isSearch))
            flag(options.json);
        else if (name == "--order") {
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
        else
            throw UsageProblem{"unknown argument \"" + arguments[i] + "\" for " + options.command};
    }
    if (isSearch && !options.query) throw UsageProblem{"search needs a QUERY"};
    if (options.clippings || options.kobo) {
        const int sources = !!options.books + !!options.kindle + !!options.clippings + !!options.kobo;
        if (sources > 1) throw UsageProblem{"--books, --kindle, --clippings and --kobo cannot be combined"};
        if ((options.clippings && options.clippings->empty()) || (options.kobo && options.kobo->empty()))
            throw UsageProblem{(options.kobo ? "--kobo" : "--clippings") + std::string(" needs a file")};
        if (options.all || options.title) throw UsageProblem{"--all and --title apply to --books only"};
        return options;
    }
    if (options.kindle) {
        if (options.books) throw UsageProblem{"--books and --kindle cannot be combined"};
        if (options.kindle->empty()) throw UsageProblem{"--kindle needs a file"};
        if (options.all || options.title) throw UsageProblem{"--all and --title apply to --books only"};
        return options;
    }
    if (!options.books || options.books->empty())
        throw UsageProblem{options.command +
                           " needs --books DIR, --kindle FILE, --clippings FILE or --kobo FILE"};
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

std::string worksAsJson(const std::vector<WorkPtr>& works, AnnotationOrder::Order order) {
    std::string json = "[";
    for (size_t w = 0; w < works.size(); ++w) {
        const Work& work = *works[w];
        json += w == 0 ? "\n  {" : ",\n  {";
        appendMember(json, "id", work.id.toString(QUuid::WithoutBraces).toUpper().toStdString(), true);
        appendMember(json, "workID", work.workID);
        appendMember(json, "workTitle", work.workTitle);
        appendMember(json, "workAuthor", work.workAuthor);
        appendMember(json, "downloadedStatus", work.downloadedStatus);
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
            json += "}";
        }
        json += work.annotations.empty() ? "]}" : "\n  ]}";
    }
    json += works.empty() ? "]\n" : "\n]\n";
    return json;
}

// Finds and loads the two databases as the window's folder flow does. Absent after the
// window's messages (or another reason) on `err`.
bool load(DataManager& model, const fs::path& books, std::ostream& err) {
    const BooksFolder::Choice choice = BooksFolder::choose(books, BooksFolder::Remember::No);
    if (!choice.complete()) {
        std::string missing = choice.missingText();
        if (!missing.ends_with('\n')) missing += '\n';
        err << missing;
        return false;
    }
    if (!model.loadDatabases(choice.pairing)) {
        if (model.lastLoadProblem().starts_with("These files"))
            err << "notara-cli: the databases under \"" << books.native()
                << "\" are not Apple Books databases\n";
        else
            err << "notara-cli: " << model.lastLoadProblem() << '\n';
        return false;
    }
    if (model.recentHighlightsMayBeMissing()) err << DataManager::missingLogMessage << '\n';
    return true;
}

// The works to search or list: the notebook's one work, or the Books library after the hide rule.
bool loadWorks(const Options& options, DataManager& model, std::vector<WorkPtr>& works, std::ostream& err) {
    if (options.clippings || options.kobo) {
        const std::string& file = options.clippings ? *options.clippings : *options.kobo;
        std::string problem;
        works = options.clippings ? ClippingsReader::readFile(file, problem)
                                  : KoboReader::readFile(file, KoboReader::workingFolder(), problem);
        if (works.empty()) {
            err << "notara-cli: \"" << file << "\" could not be read. " << problem << '\n';
            return false;
        }
        return true;
    }
    if (options.kindle) {
        // A Kindle notebook is taken as it is: the hide rule is for the Books library.
        WorkPtr work = KindleCommands::importNotebook(*options.kindle, err);
        if (!work) return false;
        works.push_back(std::move(work));
        return true;
    }
    if (!load(model, *options.books, err)) return false;
    model.applyHideRule(!options.all);
    works = model.filteredWorks();
    return true;
}

int list(const Options& options, std::ostream& out, std::ostream& err) {
    DataManager model;
    std::vector<WorkPtr> works;
    if (!loadWorks(options, model, works, err)) return NotaraCli::Failure;
    if (options.json) {
        out << worksAsJson(works, options.order);
    } else {
        for (const auto& work : works) {
            out << oneLine(work->workTitle) << '\t' << oneLine(work->workAuthor) << '\t'
                << work->annotations.size() << '\n';
        }
    }
    out.flush();
    return NotaraCli::Success;
}

int search(const Options& options, std::ostream& out, std::ostream& err) {
    DataManager model;
    std::vector<WorkPtr> works;
    if (!loadWorks(options, model, works, err)) return NotaraCli::Failure;
    SearchIndex index;
    index.build(works);
    const auto results = index.search(*options.query);
    // Each work with only its matching annotations (both lists are in the work's order).
    std::vector<WorkPtr> matching;
    for (const auto& result : results) {
        auto work = std::make_shared<Work>(*result.work);
        auto next = result.annotations.begin();
        std::erase_if(work->annotations, [&](const AnnotationPtr& annotation) {
            if (next == result.annotations.end() || *next != annotation.get()) return true;
            ++next;
            return false;
        });
        matching.push_back(std::move(work));
    }
    if (options.json) {
        out << worksAsJson(matching, options.order); // the list form
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
    return results.empty() ? NotaraCli::Failure : NotaraCli::Success;
}

int exportWorks(const Options& options, std::ostream& out, std::ostream& err) {
    fs::path folder;
    std::error_code ec;
    if (options.out) {
        folder = *options.out;
        if (!fs::is_directory(folder, ec)) {
            err << "notara-cli: \"" << folder.native() << "\" is not a folder\n";
            return NotaraCli::Failure;
        }
    } else {
        const auto downloads = corvane::Corvane::userDownloadsPath();
        if (!downloads) {
            err << "notara-cli: no Downloads folder is known; use --out DIR\n";
            return NotaraCli::Failure;
        }
        folder = *downloads;
        fs::create_directories(folder, ec);
    }
    if (options.kindle)
        return KindleCommands::exportNotebook(*options.kindle, folder, {options.order, options.detailed}, out,
                                              err);

    DataManager model;
    std::vector<WorkPtr> all; // the works without annotations are not exported anyway
    if (!loadWorks(options, model, all, err)) return NotaraCli::Failure;

    std::vector<WorkPtr> chosen;
    for (const auto& work : all) {
        if (!options.title || work->workTitle == *options.title) chosen.push_back(work);
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
        if (options.command == "search") return search(options, out, err);
        return options.command == "list" ? list(options, out, err) : exportWorks(options, out, err);
    } catch (const UsageProblem& problem) {
        err << "notara-cli: " << problem.message << "\n\n" << usage();
        return UsageError;
    }
}

} // namespace notara::cli
