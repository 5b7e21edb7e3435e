#include "notara/core/export/NoteTemplates.h"

#include "notara/core/model/AnnotationPlace.h"
#include "notara/core/model/ContentHash.h"

#include <kainjow/mustache.hpp>

#include <QStandardPaths>

#include <fstream>
#include <map>
#include <sstream>

namespace fs = std::filesystem;
using kainjow::mustache::data;
using kainjow::mustache::mustache;

namespace notara {

namespace {

struct BuiltIn {
    const char* fileName;
    const char* header;
    const char* annotation;
};

// The plain layout is the single export's, with the note as its own paragraph; the others add
// what their tools read: callouts and ^block ids (Obsidian), an outline with id:: properties
// (Logseq).
const std::map<std::string, BuiltIn>& builtIns() {
    static const std::map<std::string, BuiltIn> sets{
        {"plain",
         {"{{workTitle}}", "# {{workTitle}}\n**Author**: {{workAuthor}}\n",
          "{{#hasPassage}}{{passageQuoted}}\n\n{{/"
          "hasPassage}}{{#annotationUserNotes}}{{annotationUserNotes}}\n\n{{/"
          "annotationUserNotes}}{{#removed}}*Removed at source on "
          "{{removedOn}}.*\n\n{{/removed}}^{{blockID}}\n\n---\n"}},
        {"detailed",
         {"{{workTitle}}",
          "title: {{workTitleYaml}}\nauthor: {{workAuthorYaml}}\nsources: {{sourcesYaml}}\n---\n# "
          "{{workTitle}}\n"
          "**Author**: {{workAuthor}}\n",
          "{{#chapterStart}}## "
          "{{chapterStart}}\n\n{{/chapterStart}}{{#hasPassage}}{{passageQuoted}}\n\n{{/"
          "hasPassage}}*{{place}}{{#annotationColor}} · "
          "{{annotationColor}}{{/annotationColor}}{{#annotationCreated}} · {{annotationCreated}}{{/"
          "annotationCreated}}*\n\n{{#annotationUserNotes}}{{annotationUserNotes}}\n\n{{/"
          "annotationUserNotes}}{{#"
          "removed}}*Removed at source on {{removedOn}}.*\n\n{{/removed}}^{{blockID}}\n\n---\n"}},
        {"obsidian",
         {"{{workTitle}}",
          "title: {{workTitleYaml}}\nauthor: {{workAuthorYaml}}\nsources: {{sourcesYaml}}\ntags: "
          "[highlights]\n---\n"
          "# {{workTitle}}\n**Author**: {{workAuthor}}\n",
          "> [!quote]{{#annotationColor}} {{annotationColor}}{{/annotationColor}}{{#annotationFavourite}} "
          "★{{/annotationFavourite}}\n{{#hasPassage}}{{passageInCallout}}\n{{/"
          "hasPassage}}{{#annotationUserNotes}}"
          ">\n{{noteInCallout}}\n{{/annotationUserNotes}}> — {{place}}{{#removed}} (removed at source on "
          "{{removedOn}}){{/removed}}{{#hashtags}} {{hashtags}}{{/hashtags}}\n\n^{{blockID}}\n"}},
        {"logseq",
         {"{{workTitle}}", "title: {{workTitleYaml}}\nauthor: {{workAuthorYaml}}\n---\n",
          "- {{passageOneLine}}{{#hashtags}} {{hashtags}}{{/hashtags}}\n  id:: {{blockUUID}}\n  place:: "
          "{{place}}\n{{#annotationUserNotes}}  - {{noteOneLine}}\n{{/annotationUserNotes}}{{#removed}}  - "
          "removed "
          "at source on {{removedOn}}\n{{/removed}}"}},
    };
    return sets;
}

std::string readText(const fs::path& file, std::string& problem) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        problem = "The template \"" + file.string() + "\" could not be read.";
        return {};
    }
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Mustache reports where it stopped as a byte offset ("... at 15"): said as a line.
std::string withLine(const std::string& origin, const std::string& templateText, const std::string& message) {
    std::size_t line = 1;
    const std::size_t at = message.rfind(" at ");
    if (at != std::string::npos) {
        const std::size_t offset = std::strtoull(message.c_str() + at + 4, nullptr, 10);
        for (std::size_t i = 0; i < std::min(offset, templateText.size()); ++i)
            if (templateText[i] == '\n') ++line;
    }
    return "The template " + origin + " has an error on line " + std::to_string(line) + ": " + message + ".";
}

std::string prefixed(std::string_view text, std::string_view prefix) {
    std::string out(prefix);
    for (const char c : text) {
        out += c;
        if (c == '\n') out += prefix;
    }
    return out;
}

std::string oneLine(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c == '\n' || c == '\r') c = ' ';
    return out;
}

std::string yaml(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c == '\n' ? ' ' : c;
    }
    return out + '"';
}

std::string render(const std::string& text, const data& values) {
    mustache view(text);
    view.set_custom_escape([](const std::string& s) { return s; }); // Markdown, not HTML
    return view.render(values);
}

// An empty text is false, as Mustache readers expect ({{#note}}…{{/note}} only with a note); the
// library renders an empty string as true.
void put(data& values, const std::string& name, const std::string& text) {
    if (text.empty())
        values.set(name, data(false));
    else
        values.set(name, text);
}

data workData(const Work& work) {
    data values;
    put(values, "workTitle", work.workTitle);
    put(values, "workAuthor", work.workAuthor);
    put(values, "workID", work.workID);
    put(values, "workTitleYaml", yaml(work.workTitle));
    put(values, "workAuthorYaml", yaml(work.workAuthor));
    std::string sources = "[";
    data list{data::type::list};
    for (std::size_t i = 0; i < work.workSources.size(); ++i) {
        sources += (i ? ", " : "") + yaml(work.workSources[i]);
        list.push_back(data(work.workSources[i]));
    }
    put(values, "sourcesYaml", sources + "]");
    values.set("workSources", list);
    return values;
}

} // namespace

std::vector<std::string> NoteTemplates::builtInNames() {
    std::vector<std::string> names;
    for (const auto& [name, set] : builtIns())
        names.push_back(name);
    return names;
}

fs::path NoteTemplates::userFolder() {
    // The window's configuration folder, for the command line too, whose own has another name.
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return config.isEmpty() ? fs::path() : fs::path(config.toStdString()) / "Notara" / "Notara" / "templates";
}

std::optional<NoteTemplates> NoteTemplates::load(const std::string& nameOrFolder, std::string& problem) {
    problem.clear();
    NoteTemplates set;
    set.name = nameOrFolder;
    std::error_code ec;
    fs::path folder =
        nameOrFolder.find('/') != std::string::npos ? fs::path(nameOrFolder) : userFolder() / nameOrFolder;
    if (const auto builtIn = builtIns().find(nameOrFolder);
        builtIn != builtIns().end() && !fs::is_directory(folder, ec)) {
        set.fileName = builtIn->second.fileName;
        set.header = builtIn->second.header;
        set.annotation = builtIn->second.annotation;
        set.fileNameOrigin = nameOrFolder + "/filename.mustache";
        set.headerOrigin = nameOrFolder + "/header.mustache";
        set.annotationOrigin = nameOrFolder + "/annotation.mustache";
    } else {
        if (!fs::is_directory(folder, ec)) {
            problem = "There is no template \"" + nameOrFolder +
                      "\" (built in: plain, detailed, obsidian, logseq; "
                      "your own go in " +
                      userFolder().string() + ").";
            return std::nullopt;
        }
        const auto part = [&](const char* file, std::string& text, std::string& origin,
                              const char* fallback) {
            origin = (folder / file).string();
            if (!fs::exists(folder / file, ec)) {
                text = fallback; // a reader's set may leave out the file name and header
                return true;
            }
            text = readText(folder / file, problem);
            return problem.empty();
        };
        const BuiltIn& plain = builtIns().at("plain");
        if (!part("filename.mustache", set.fileName, set.fileNameOrigin, plain.fileName) ||
            !part("header.mustache", set.header, set.headerOrigin, plain.header) ||
            !part("annotation.mustache", set.annotation, set.annotationOrigin, plain.annotation))
            return std::nullopt;
        if (!fs::exists(folder / "annotation.mustache", ec)) {
            problem = "The template folder " + folder.string() + " has no annotation.mustache.";
            return std::nullopt;
        }
    }
    for (const auto& [text, origin] :
         {std::pair{&set.fileName, &set.fileNameOrigin}, std::pair{&set.header, &set.headerOrigin},
          std::pair{&set.annotation, &set.annotationOrigin}}) {
        mustache view(*text);
        if (!view.is_valid()) {
            problem = withLine(*origin, *text, view.error_message());
            return std::nullopt;
        }
    }
    return set;
}

std::string NoteTemplates::blockID(const Annotation& annotation) {
    return "n" + ContentHash().add(annotation.key()).hex().substr(0, 12);
}

std::string NoteTemplates::renderFileName(const Work& work) const {
    return render(fileName, workData(work));
}

std::string NoteTemplates::renderHeader(const Work& work, const std::string& date) const {
    data values = workData(work);
    put(values, "exported", date);
    return render(header, values);
}

std::string NoteTemplates::renderAnnotation(const Work& work, const Annotation& a,
                                            const std::string& chapterStart) const {
    data values = workData(work);
    put(values, "chapterStart", chapterStart);
    put(values, "annotationID", a.annotationID);
    put(values, "annotationSelectedText", a.annotationSelectedText);
    put(values, "annotationRepText", a.annotationRepText);
    put(values, "annotationUserNotes", a.annotationUserNotes);
    put(values, "annotationLocationRawText", a.annotationLocationRawText);
    put(values, "annotationKind", std::string(Annotation::kindName(a.annotationKind)));
    put(values, "annotationColor", a.annotationColor);
    put(values, "annotationChapter", a.annotationChapter);
    put(values, "annotationPage", a.annotationPage);
    put(values, "annotationLocation",
        a.annotationLocation ? std::to_string(*a.annotationLocation) : std::string());
    put(values, "annotationCreated", a.annotationCreated.str());
    put(values, "annotationModified", a.annotationModified.str());
    values.set("hasPassage",
               data(a.annotationSelectedText.empty() ? data::type::bool_false : data::type::bool_true));
    put(values, "passageQuoted", prefixed(a.annotationSelectedText, "> "));
    put(values, "passageInCallout", prefixed(a.annotationSelectedText, "> "));
    put(values, "noteInCallout", prefixed(a.annotationUserNotes, "> "));
    values.set("passageOneLine",
               oneLine(a.annotationSelectedText.empty() ? a.annotationUserNotes : a.annotationSelectedText));
    put(values, "noteOneLine", oneLine(a.annotationUserNotes));
    put(values, "place", AnnotationPlace::text(a));
    put(values, "blockID", blockID(a));
    // Logseq wants its ids in the form of a UUID.
    const std::string key = a.key();
    const std::string hex = ContentHash().add(key).hex() + ContentHash().add("logseq").add(key).hex();
    values.set("blockUUID", hex.substr(0, 8) + '-' + hex.substr(8, 4) + "-8" + hex.substr(13, 3) + '-' +
                                hex.substr(16, 4) + '-' + hex.substr(20, 12));
    const AnnotationInLibrary* kept = a.annotationLibrary.get();
    const bool favourite = kept && kept->favourite;
    values.set("annotationFavourite", data(favourite ? data::type::bool_true : data::type::bool_false));
    data tags{data::type::list};
    std::string hashtags;
    data sources{data::type::list};
    if (kept) {
        for (const std::string& tag : kept->tags) {
            tags.push_back(data(tag));
            std::string clean = tag;
            for (char& c : clean)
                if (c == ' ') c = '-';
            hashtags += (hashtags.empty() ? "#" : " #") + clean;
        }
        for (const std::string& source : kept->sources)
            sources.push_back(data(source));
    }
    values.set("annotationTags", tags);
    put(values, "hashtags", hashtags);
    values.set("annotationSources", sources);
    const bool removed = kept && !kept->removedAtSource.empty();
    values.set("removed", data(removed ? data::type::bool_true : data::type::bool_false));
    put(values, "removedOn",
        removed ? std::string(kept->removedAtSource.view().substr(0, 10)) : std::string());
    return render(annotation, values);
}

} // namespace notara
