#include "notara/core/sources/clippings/ClippingsSource.h"

#include "notara/core/model/ContentHash.h"
#include "notara/core/sources/SourceKeys.h"
#include "notara/core/sources/clippings/ClippingsReader.h"
#include "notara/core/sources/kindle/KindleNotebookSource.h"

#include <fstream>

namespace notara {

namespace {

// The bytes of the first clipping, up to the device's separator line.
std::string firstClipping(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string head(64 * 1024, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    if (const std::size_t end = head.find("=========="); end != std::string::npos) head.resize(end);
    return head;
}

} // namespace

SourceRead ClippingsSource::read(const std::filesystem::path& place) const {
    SourceRead read;
    read.kind = kind();
    read.place = place;
    read.name = "Kindle (My Clippings.txt)";
    read.works = ClippingsReader::readFile(place, read.problem);
    if (read.works.empty()) {
        if (read.problem.empty()) read.problem = "It holds no highlight or note.";
        return read;
    }
    for (const WorkPtr& work : read.works)
        work->workSource = "Kindle Clippings";
    KindleNotebookSource::assignKindleKeys(read.works);
    read.key = "clippings:" + ContentHash().add(firstClipping(place)).hex();
    SourceKeys::fingerprint(read);
    return read;
}

} // namespace notara
