#pragma once

#include <cstddef>
#include <filesystem>
#include <string_view>

namespace corvane {

/// A whole file's bytes in a memory mapping of their own. Dropping it gives the memory back to
/// the system at once, whatever the heap keeps for reuse: a large page read only to be parsed
/// then costs nothing in what the parse builds next.
class FileBytes {
public:
    /// Reads the whole of `path` (a regular file, or anything that reads to an end). Throws
    /// std::runtime_error "Could not read "PATH": REASON" when it cannot.
    static FileBytes read(const std::filesystem::path& path);

    FileBytes() = default;
    FileBytes(FileBytes&& other) noexcept;
    FileBytes& operator=(FileBytes&& other) noexcept;
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;
    ~FileBytes();

    std::string_view view() const { return {data_, size_}; }

private:
    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t mapped_ = 0;
};

} // namespace corvane
