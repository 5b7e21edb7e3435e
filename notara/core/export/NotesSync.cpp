#include "notara/core/export/NotesSync.h"

#include "notara/core/library/Library.h"
#include "notara/core/model/AnnotationOrder.h"
#include "notara/core/model/ContentHash.h"
#include "notara/core/sources/SourceKeys.h"

#include "corvane/Corvane.h"

#include <fstream>
#include <set>
#include <sstream>
#include <unordered_map>

namespace fs = std::filesystem;

namespace notara {

namespace {

constexpr std::string_view idKey = "notara-id: ";

// A stretch of a file: the reader's text, or one of Notara's blocks (its inner text, without
// the marker lines and the blank line after them).
struct Segment {
    bool block = false;
    std::string id;
    std::string text;
};

std::vector<Segment> split(const std::string& file) {
    std::vector<Segment> segments;
    std::string pendingText;
    std::size_t at = 0;
    const auto lineAt = [&](std::size_t from) {
        const std::size_t end = file.find('\n', from);
        return std::string_view(file).substr(from, (end == std::string::npos ? file.size() : end + 1) - from);
    };
    while (at < file.size()) {
        const std::string_view line = lineAt(at);
        constexpr std::string_view open = "<!-- notara:";
        if (line.starts_with(open) && line.ends_with(" -->\n")) {
            const std::string id(line.substr(open.size(), line.size() - open.size() - 5));
            const std::string close = NotesSync::endMarker(id);
            const std::size_t end = file.find(close, at + line.size());
            if (end != std::string::npos && (end == 0 || file[end - 1] == '\n')) {
                if (!pendingText.empty()) segments.push_back({false, {}, std::move(pendingText)});
                pendingText.clear();
                segments.push_back({true, id, file.substr(at + line.size(), end - at - line.size())});
                at = end + close.size();
                if (file.compare(at, 1, "\n") == 0) ++at; // the blank line a block is written with
                continue;
            }
        }
        pendingText += line;
        at += line.size();
    }
    if (!pendingText.empty()) segments.push_back({false, {}, std::move(pendingText)});
    return segments;
}

std::string blockText(const std::string& id, const std::string& inner) {
    return NotesSync::beginMarker(id) + inner + NotesSync::endMarker(id) + "\n";
}

std::string join(const std::vector<Segment>& segments) {
    std::string file;
    for (const Segment& segment : segments)
        file += segment.block ? blockText(segment.id, segment.text) : segment.text;
    return file;
}

std::int64_t hashOf(std::string_view text) {
    return static_cast<std::int64_t>(ContentHash().add(text).value());
}

std::string readFile(const fs::path& path, std::size_t limit = std::string::npos) {
    std::ifstream in(path, std::ios::binary);
    if (limit == std::string::npos) {
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    std::string head(limit, '\0');
    in.read(head.data(), static_cast<std::streamsize>(limit));
    head.resize(static_cast<std::size_t>(in.gcount()));
    return head;
}

// The work id in a file's front matter, if it has one.
std::string idOf(const std::string& head) {
    if (!head.starts_with("---\n")) return {};
    const std::size_t end = head.find("\n---", 3);
    const std::size_t at = head.find("\n" + std::string(idKey), 3);
    if (at == std::string::npos || (end != std::string::npos && at > end)) return {};
    const std::size_t from = at + 1 + idKey.size();
    return head.substr(from, head.find('\n', from) - from);
}

// A file name from the template's text: no folder separators or control characters, not too long.
std::string safeName(std::string name) {
    for (char& c : name)
        if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20) c = '-';
    while (!name.empty() && (name.front() == '.' || name.front() == ' '))
        name.erase(0, 1);
    if (name.size() > 200) {
        std::size_t cut = 200;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
            --cut;
        name.resize(cut);
    }
    return name.empty() ? "Untitled" : name;
}

struct Rendered {
    std::string id;
    std::int64_t key;
    std::string inner;
    bool removed;
};

} // namespace

std::string NotesSync::beginMarker(const std::string& id) {
    return "<!-- notara:" + id + " -->\n";
}

std::string NotesSync::endMarker(const std::string& id) {
    return "<!-- /notara:" + id + " -->\n";
}

std::string NotesSync::Report::text() const {
    const auto counted = [](std::size_t n, const char* one, const char* many) {
        return std::to_string(n) + ' ' + (n == 1 ? one : many);
    };
    return counted(filesWritten, "file", "files") + " written, " +
           counted(newFiles, "new file", "new files") + ", " + counted(added, "highlight", "highlights") +
           " added, " + counted(editsKept, "edit", "edits") + " kept, " + std::to_string(removed) +
           " removed at source";
}

bool NotesSync::run(Library& library, const std::vector<WorkPtr>& works, const Options& options,
                    Report& report, std::string& problem) {
    report = {};
    std::error_code ec;
    if (!options.dryRun) fs::create_directories(options.folder, ec);
    if (!fs::is_directory(options.folder, ec)) {
        problem.assign(1, '"');
        problem += options.folder.string();
        problem += "\" is not a folder that can be written.";
        return false;
    }
    const std::string folderKey = fs::weakly_canonical(options.folder, ec).string();
    const Library::SyncState before = library.syncState(folderKey);
    Library::SyncState written;

    // Where each work's file is now: found by the id in its front matter, wherever it was moved.
    std::unordered_map<std::string, fs::path> files;
    std::set<std::string> names;
    for (fs::recursive_directory_iterator
             it(options.folder, fs::directory_options::skip_permission_denied, ec),
         end;
         !ec && it != end; it.increment(ec)) {
        if (it->path().extension() != ".md" || !it->is_regular_file(ec)) continue;
        names.insert(it->path().filename().string());
        const std::string id = idOf(readFile(it->path(), 4096));
        if (!id.empty()) files.emplace(id, it->path());
    }
    const std::string today = corvane::Corvane::dateNow();
    const std::uint64_t templatesHash = ContentHash()
                                            .add(options.templates.fileName)
                                            .add(options.templates.header)
                                            .add(options.templates.annotation)
                                            .value();
    std::size_t done = 0;
    for (const WorkPtr& work : works) {
        if (options.progress) options.progress(done++, works.size());
        if (work->annotations.empty()) continue;
        const std::string uid = work->id.toString(QUuid::WithoutBraces).toUpper().toStdString();
        // What the blocks are made from: when none of it changed since the last sync, neither did
        // the file's blocks, and neither the file nor the templates need be looked at again.
        ContentHash whole;
        whole.add(templatesHash).add(work->workTitle).add(work->workAuthor);
        for (const std::string& name : work->workSources)
            whole.add(name);
        for (const AnnotationPtr& annotation : work->annotations) {
            annotation->withKey([&](std::string_view key) { whole.add(key); });
            whole.add(SourceKeys::contentHash(*annotation));
            if (const AnnotationInLibrary* kept = annotation->annotationLibrary.get()) {
                whole.add(kept->removedAtSource.view()).add(std::uint64_t{kept->favourite});
                for (const std::string& tag : kept->tags)
                    whole.add(tag);
                for (const std::string& source : kept->sources)
                    whole.add(source);
            }
        }
        const std::int64_t contentHash = static_cast<std::int64_t>(whole.value());
        const auto known = files.find(uid);
        const auto lastFile = before.files.find(uid);
        if (known != files.end() && lastFile != before.files.end() && lastFile->second == contentHash &&
            !options.restore)
            continue; // nothing of it changed since the last sync: the file is not even read
        std::vector<Rendered> blocks;
        const std::string* chapter = nullptr;
        for (const AnnotationPtr& annotation :
             AnnotationOrder::sorted(work->annotations, AnnotationOrder::Order::Book)) {
            // A block that opens a chapter may carry its heading (the detailed layout does).
            const bool opens = !chapter || *chapter != annotation->annotationChapter;
            chapter = &annotation->annotationChapter;
            std::string inner = options.templates.renderAnnotation(
                *work, *annotation, opens ? annotation->annotationChapter : "");
            if (!inner.ends_with('\n')) inner += '\n';
            const bool removed =
                annotation->annotationLibrary && !annotation->annotationLibrary->removedAtSource.empty();
            blocks.push_back({NoteTemplates::blockID(*annotation),
                              annotation->withKey(Library::annotationKeyHash), std::move(inner), removed});
        }
        const auto storedBlock = [&](std::int64_t key) -> const std::int64_t* {
            const auto found = before.blocks.find(key);
            return found != before.blocks.end() ? &found->second : nullptr;
        };

        std::string original;
        fs::path path;
        std::vector<Segment> segments;
        if (known != files.end()) {
            path = known->second;
            original = readFile(path);
            segments = split(original);
        } else {
            if (lastFile != before.files.end() && !options.restore) continue; // the reader deleted the file
            std::string name = safeName(options.templates.renderFileName(*work));
            std::string candidate = name + ".md";
            for (int copy = 2; names.contains(candidate); ++copy)
                candidate = name + " (" + std::to_string(copy) + ").md";
            names.insert(candidate);
            path = options.folder / candidate;
            // The header's lines before a "---" line are front matter keys, the rest its text.
            const std::string header = options.templates.renderHeader(*work, today);
            std::string front = std::string("---\n") + std::string(idKey) + uid + "\n";
            if (const std::size_t rule = header.find("\n---\n"); rule != std::string::npos)
                front += header.substr(0, rule + 1) + "---\n" + header.substr(rule + 5);
            else
                front += "---\n" + header;
            if (!front.ends_with('\n')) front += '\n';
            segments.push_back({false, {}, front + "\n"});
            ++report.newFiles;
        }

        std::unordered_map<std::string, std::size_t> inFile;
        for (std::size_t i = 0; i < segments.size(); ++i)
            if (segments[i].block) inFile.emplace(segments[i].id, i);
        const auto reindex = [&] {
            inFile.clear();
            for (std::size_t i = 0; i < segments.size(); ++i)
                if (segments[i].block) inFile.emplace(segments[i].id, i);
        };
        for (std::size_t k = 0; k < blocks.size(); ++k) {
            const Rendered& block = blocks[k];
            const std::int64_t newHash = hashOf(block.inner);
            const std::int64_t* stored = storedBlock(block.key);
            if (const auto there = inFile.find(block.id); there != inFile.end()) {
                Segment& segment = segments[there->second];
                if (segment.text == block.inner) {
                    if (!stored || *stored != newHash) written.blocks[block.key] = newHash;
                    continue;
                }
                if (stored && hashOf(segment.text) == *stored) {
                    segment.text = block.inner; // exactly as Notara wrote it: rewritten
                    written.blocks[block.key] = newHash;
                    if (block.removed) ++report.removed;
                } else {
                    ++report.editsKept; // the reader's words win
                }
                continue;
            }
            if (stored && !options.restore && known != files.end()) continue; // the reader deleted this block
            // Between its neighbours in book order: after the nearest earlier block in the file,
            // else before the nearest later one, else at the end.
            std::size_t at = segments.size();
            bool placed = false;
            for (std::size_t j = k; j-- > 0 && !placed;)
                if (const auto found = inFile.find(blocks[j].id); found != inFile.end())
                    at = found->second + 1, placed = true;
            for (std::size_t j = k + 1; j < blocks.size() && !placed; ++j)
                if (const auto found = inFile.find(blocks[j].id); found != inFile.end())
                    at = found->second, placed = true;
            if (!placed && !segments.empty() && !segments.back().block &&
                !segments.back().text.ends_with('\n'))
                segments.back().text += '\n';
            segments.insert(segments.begin() + static_cast<std::ptrdiff_t>(at),
                            Segment{true, block.id, block.inner});
            reindex();
            written.blocks[block.key] = newHash;
            ++report.added;
            if (block.removed) ++report.removed;
        }
        written.files[uid] = contentHash;
        const std::string text = join(segments);
        if (text == original) continue;
        ++report.filesWritten;
        if (options.dryRun) continue;
        std::string why;
        // Each file whole or not at all; the disk is waited for once, at the end.
        if (!corvane::Corvane::saveContentsToPathDeferringSync(text, path, &why)) {
            problem = "\"" + path.string() + "\" could not be written (" + why + ").";
            std::string ignored;
            library.recordSync(folderKey, written, ignored); // what was written is known
            return false;
        }
    }
    if (options.progress) options.progress(works.size(), works.size());
    if (options.dryRun) return true;
    if (report.filesWritten > 0) {
        std::set<fs::path> folders;
        for (const auto& [uid, path] : files)
            folders.insert(path.parent_path());
        folders.insert(options.folder);
        for (const fs::path& folder : folders)
            corvane::Corvane::syncFolder(folder);
    }
    return library.recordSync(folderKey, written, problem);
}

} // namespace notara
