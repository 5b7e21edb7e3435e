#include "notara/core/sources/EReaderDevice.h"

namespace fs = std::filesystem;

namespace notara {

std::optional<EReaderDevice> EReaderDevice::at(const fs::path& root) {
    std::error_code ec;
    // Older Kindles name the folder "Documents"; the file name is the same on all of them.
    for (const char* folder : {"documents", "Documents"}) {
        const fs::path clippings = root / folder / "My Clippings.txt";
        if (fs::is_regular_file(clippings, ec)) return EReaderDevice{Kind::Kindle, root, clippings};
    }
    const fs::path kobo = root / ".kobo" / "KoboReader.sqlite";
    if (fs::is_regular_file(kobo, ec)) return EReaderDevice{Kind::Kobo, root, kobo};
    return std::nullopt;
}

std::vector<EReaderDevice> EReaderDevice::find(const std::vector<fs::path>& mountPoints) {
    std::vector<EReaderDevice> devices;
    for (const fs::path& root : mountPoints) {
        if (auto device = at(root)) devices.push_back(std::move(*device));
    }
    return devices;
}

} // namespace notara
