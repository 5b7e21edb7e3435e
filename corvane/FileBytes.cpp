#include "corvane/FileBytes.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>
#include <utility>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvane {

namespace {

[[noreturn]] void fail(const std::filesystem::path& path, const std::string& reason) {
    throw std::runtime_error("Could not read \"" + path.string() + "\": " + reason);
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }

private:
    int fd_;
};

std::size_t pageRounded(std::size_t bytes) {
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    return (bytes + page - 1) / page * page;
}

} // namespace

FileBytes FileBytes::read(const std::filesystem::path& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) fail(path, "it is a folder, not a file");
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) fail(path, std::strerror(errno));
    struct stat status {};
    std::size_t expected = 0;
    if (::fstat(file.get(), &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0)
        expected = static_cast<std::size_t>(status.st_size);

    FileBytes bytes;
    // One byte more than the file's size, so that its end is seen without growing the mapping.
    std::size_t capacity = pageRounded(expected + 1);
    void* map = ::mmap(nullptr, capacity, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (map == MAP_FAILED) fail(path, std::strerror(errno));
    bytes.data_ = static_cast<char*>(map);
    bytes.mapped_ = capacity;
    for (;;) {
        if (bytes.size_ == bytes.mapped_) {
            // A file that grew, or one whose size is not known beforehand.
            void* grown = ::mremap(bytes.data_, bytes.mapped_, bytes.mapped_ * 2, MREMAP_MAYMOVE);
            if (grown == MAP_FAILED) fail(path, std::strerror(errno));
            bytes.data_ = static_cast<char*>(grown);
            bytes.mapped_ *= 2;
        }
        const ssize_t got = ::read(file.get(), bytes.data_ + bytes.size_, bytes.mapped_ - bytes.size_);
        if (got == 0) break;
        if (got < 0) {
            if (errno == EINTR) continue;
            fail(path, std::strerror(errno));
        }
        bytes.size_ += static_cast<std::size_t>(got);
    }
    return bytes;
}

FileBytes::FileBytes(FileBytes&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)),
      mapped_(std::exchange(other.mapped_, 0)) {}

FileBytes& FileBytes::operator=(FileBytes&& other) noexcept {
    if (this != &other) {
        FileBytes dropped(std::move(*this));
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        mapped_ = std::exchange(other.mapped_, 0);
    }
    return *this;
}

FileBytes::~FileBytes() {
    if (data_) ::munmap(data_, mapped_);
}

} // namespace corvane
