#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace notara {

/// A value of a Lua table literal as KOReader writes its sidecars: read by a parser that
/// accepts exactly the literal subset (tables, strings, numbers, booleans, nil) and never runs
/// anything. Strings hold the bytes after unescaping; the caller decides how to read them.
class LuaLiteral {
public:
    enum class Type : std::uint8_t { Nil, Boolean, Integer, Real, String, Table };

    struct Entry;

    Type type = Type::Nil;
    bool boolean = false;
    std::int64_t integer = 0;
    double real = 0;
    std::string string;
    /// For a table: its fields, duplicate keys resolved (the last wins), in the order written.
    std::vector<Entry> fields;

    bool isNil() const { return type == Type::Nil; }
    bool isTable() const { return type == Type::Table; }
    bool isString() const { return type == Type::String; }
    bool isNumber() const { return type == Type::Integer || type == Type::Real; }
    /// The field named `key` of a table, else null.
    const LuaLiteral* get(std::string_view key) const;
    /// The field with integer key `index`, else null.
    const LuaLiteral* at(std::int64_t index) const;
    /// The values under integer keys, in key order (files before 2023 write them in any order).
    std::vector<const LuaLiteral*> sequence() const;
    /// The string, or "" for any other type.
    std::string_view text() const {
        return type == Type::String ? std::string_view(string) : std::string_view();
    }
    std::optional<std::int64_t> asInteger() const;

    /// Tables nest no deeper than this; real sidecars nest about six levels.
    static constexpr int maxDepth = 200;

    /// The value a file `return`s. Absent, with a sentence naming the line in `error`, for
    /// anything outside the subset, a file cut off, or one nested too deeply.
    static std::optional<LuaLiteral> parse(std::string_view source, std::string& error);
};

/// One field of a table: the key is a string or a number (integral values as integers).
struct LuaLiteral::Entry {
    LuaLiteral key;
    LuaLiteral value;
};

} // namespace notara
