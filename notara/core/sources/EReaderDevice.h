#pragma once

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace notara {

/// A Kindle or Kobo e-reader mounted as a USB volume, recognised by the file that holds its
/// annotations. Finding one only looks at file names; nothing on the device is opened.
class EReaderDevice {
public:
    enum class Kind { Kindle, Kobo };

    Kind kind = Kind::Kindle;
    /// The volume's mount point.
    std::filesystem::path root;
    /// documents/My Clippings.txt (Kindle) or .kobo/KoboReader.sqlite (Kobo) under `root`.
    std::filesystem::path annotationsFile;

    /// "Kindle" or "Kobo".
    std::string_view name() const { return kind == Kind::Kindle ? "Kindle" : "Kobo"; }

    /// The device mounted at `root`, if it is one.
    static std::optional<EReaderDevice> at(const std::filesystem::path& root);

    /// The devices among `mountPoints`, in their order.
    static std::vector<EReaderDevice> find(const std::vector<std::filesystem::path>& mountPoints);

    friend bool operator==(const EReaderDevice&, const EReaderDevice&) = default;
};

} // namespace notara
