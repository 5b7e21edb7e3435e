#include "corvane/FileBytes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <thread>

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

fs::path scratchFolder() {
    const fs::path folder = fs::path(std::getenv("HOME")) / "file-bytes";
    fs::create_directories(folder);
    return folder;
}

std::string failureOf(const fs::path& path) {
    try {
        corvane::FileBytes::read(path);
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "(read)";
}

// Regular files of every size around a page, an empty one, and a pipe whose size nobody knows
// beforehand (read in several growths of the mapping).
TEST(FileBytes, ReadsFilesWholeWhateverTheirSize) {
    const fs::path folder = scratchFolder();
    for (const std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{4095}, std::size_t{4096},
                                   std::size_t{4097}, std::size_t{300000}}) {
        std::string content(size, '\0');
        for (std::size_t i = 0; i < size; ++i)
            content[i] = static_cast<char>('a' + i % 26);
        fs::path file = folder / "f";
        file += std::to_string(size);
        std::ofstream(file, std::ios::binary) << content;
        EXPECT_EQ(corvane::FileBytes::read(file).view(), content) << size;
    }

    const fs::path pipe = folder / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string streamed(1 << 20, 'x');
    std::thread writer([&] { std::ofstream(pipe, std::ios::binary) << streamed; });
    const corvane::FileBytes bytes = corvane::FileBytes::read(pipe);
    writer.join();
    EXPECT_EQ(bytes.view(), streamed);
}

TEST(FileBytes, SaysWhyAFileCannotBeRead) {
    const fs::path folder = scratchFolder();
    EXPECT_EQ(failureOf(folder / "missing.html"),
              "Could not read \"" + (folder / "missing.html").string() + "\": No such file or directory");
    EXPECT_EQ(failureOf(folder), "Could not read \"" + folder.string() + "\": it is a folder, not a file");
}

} // namespace
