#include "html/tools/ToolCommand.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

namespace html::tool {

bool ToolArgs::flag(std::string_view name) {
    for (auto it = args_.begin(); it != args_.end(); ++it) {
        if (*it == "--") break;
        if (*it == name) {
            args_.erase(it);
            return true;
        }
    }
    return false;
}

bool ToolArgs::option(std::string_view name, std::string& value) {
    for (auto it = args_.begin(); it != args_.end(); ++it) {
        if (*it == "--") break;
        if (*it == name) {
            if (std::next(it) == args_.end()) throw UsageError(std::string(name) + " needs a value");
            value.assign(*std::next(it));
            args_.erase(it, it + 2);
            return true;
        }
        if (it->size() > name.size() && it->substr(0, name.size()) == name && (*it)[name.size()] == '=') {
            value.assign(it->substr(name.size() + 1));
            args_.erase(it);
            return true;
        }
    }
    return false;
}

bool ToolArgs::countOption(std::string_view name, std::size_t& value) {
    std::string text;
    if (!option(name, text)) return false;
    std::size_t n = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec != std::errc() || end != text.data() + text.size() || n == 0)
        throw UsageError(std::string(name) + " needs a positive whole number, not '" + text + "'");
    value = n;
    return true;
}

std::vector<std::string_view> ToolArgs::positionals() const {
    std::vector<std::string_view> out;
    bool optionsEnded = false;
    for (std::string_view a : args_) {
        if (!optionsEnded && a == "--") {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && a.size() > 1 && a[0] == '-')
            throw UsageError("unknown option '" + std::string(a) + "'");
        out.push_back(a);
    }
    return out;
}

std::string_view ToolArgs::optionalFile() const {
    const std::vector<std::string_view> files = positionals();
    if (files.size() > 1) throw UsageError("more than one FILE given");
    return files.empty() ? std::string_view{} : files.front();
}

std::string readInput(std::string_view path) {
    if (path.empty() || path == "-") {
        std::ostringstream buffer;
        buffer << std::cin.rdbuf();
        if (std::cin.bad()) throw ReadError("cannot read standard input");
        return std::move(buffer).str();
    }
    std::error_code ec;
    if (std::filesystem::is_directory(std::filesystem::path(path), ec))
        throw ReadError("cannot read '" + std::string(path) + "': it is a directory");
    std::ifstream in{std::string(path), std::ios::binary};
    if (!in) throw ReadError("cannot read '" + std::string(path) + "': " + std::strerror(errno));
    std::string data;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size > 0) {
        data.resize(static_cast<std::size_t>(size));
        in.seekg(0, std::ios::beg);
        in.read(data.data(), size);
    } else {
        // Not seekable (a pipe or special file): read to the end.
        in.clear();
        in.seekg(0, std::ios::beg);
        data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    if (in.bad()) throw ReadError("cannot read '" + std::string(path) + "'");
    return data;
}

} // namespace html::tool
