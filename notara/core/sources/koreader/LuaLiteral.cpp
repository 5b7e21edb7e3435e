#include "notara/core/sources/koreader/LuaLiteral.h"

#include "html/parser/Utf8.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <unordered_map>

namespace notara {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isHex(char c) {
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
bool isNameStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool isNameChar(char c) {
    return isNameStart(c) || isDigit(c);
}
int hexValue(char c) {
    return isDigit(c) ? c - '0' : (c | 0x20) - 'a' + 10;
}

bool isKeyword(std::string_view name) {
    static constexpr std::string_view keywords[] = {
        "and", "break", "do",  "else", "elseif", "end",    "false",  "for",  "function", "goto",  "if",
        "in",  "local", "nil", "not",  "or",     "repeat", "return", "then", "true",     "until", "while"};
    return std::find(std::begin(keywords), std::end(keywords), name) != std::end(keywords);
}

class Parser {
public:
    Parser(std::string_view source, std::string& error) : s_(source), error_(error) {}

    std::optional<LuaLiteral> run();

private:
    struct Frame {
        LuaLiteral table;
        std::optional<LuaLiteral> key;
        std::int64_t nextIndex = 1;
        std::unordered_map<std::string, std::size_t> byName;
        std::unordered_map<std::int64_t, std::size_t> byInteger;
    };

    bool fail(std::string what) {
        if (error_.empty()) {
            std::size_t line = 1;
            for (std::size_t k = 0; k < std::min(i_, s_.size()); ++k)
                if (s_[k] == '\n' || (s_[k] == '\r' && (k + 1 >= s_.size() || s_[k + 1] != '\n'))) ++line;
            error_ = "line " + std::to_string(line) + ": " + what;
        }
        return false;
    }
    bool atEnd() const { return i_ >= s_.size(); }
    char peek(std::size_t ahead = 0) const { return i_ + ahead < s_.size() ? s_[i_ + ahead] : '\0'; }

    // `[`, some `=`, `[`: the level, or -1 when this is no long bracket.
    int longBracketLevel() const {
        if (peek() != '[') return -1;
        std::size_t k = i_ + 1;
        while (k < s_.size() && s_[k] == '=')
            ++k;
        return k < s_.size() && s_[k] == '[' ? static_cast<int>(k - i_ - 1) : -1;
    }
    bool longBracket(int level, std::string* out) {
        i_ += static_cast<std::size_t>(level) + 2;
        // A line end right after the opening bracket is not part of the text.
        if (peek() == '\r' || peek() == '\n') {
            const char first = peek();
            ++i_;
            if ((peek() == '\r' || peek() == '\n') && peek() != first) ++i_;
        }
        while (!atEnd()) {
            const char c = s_[i_];
            if (c == ']') {
                std::size_t k = i_ + 1;
                while (k < s_.size() && s_[k] == '=')
                    ++k;
                if (k < s_.size() && s_[k] == ']' && static_cast<int>(k - i_ - 1) == level) {
                    i_ = k + 1;
                    return true;
                }
            }
            if (c == '\r' || c == '\n') {
                ++i_;
                if ((peek() == '\r' || peek() == '\n') && peek() != c) ++i_;
                if (out) *out += '\n';
                continue;
            }
            if (out) *out += c;
            ++i_;
        }
        return fail("a long string or comment is not closed");
    }
    bool skipBlanks() {
        while (!atEnd()) {
            if (isBlank(s_[i_])) {
                ++i_;
            } else if (s_[i_] == '-' && peek(1) == '-') {
                i_ += 2;
                if (const int level = longBracketLevel(); level >= 0) {
                    if (!longBracket(level, nullptr)) return false;
                } else {
                    while (!atEnd() && s_[i_] != '\n' && s_[i_] != '\r')
                        ++i_;
                }
            } else {
                break;
            }
        }
        return true;
    }

    bool quoted(std::string& out) {
        const char quote = s_[i_++];
        while (true) {
            if (atEnd()) return fail("a string is not closed");
            const char c = s_[i_];
            if (c == quote) {
                ++i_;
                return true;
            }
            if (c == '\n' || c == '\r') return fail("a string runs into a line end");
            if (c != '\\') {
                // The bytes up to the next quote, escape or line end in one go.
                std::size_t k = i_;
                while (k < s_.size() && s_[k] != quote && s_[k] != '\\' && s_[k] != '\n' && s_[k] != '\r')
                    ++k;
                out.append(s_.substr(i_, k - i_));
                i_ = k;
                continue;
            }
            ++i_;
            if (atEnd()) return fail("a string is not closed");
            const char e = s_[i_++];
            switch (e) {
            case 'n': out += '\n'; break;
            case 't': out += '\t'; break;
            case 'r': out += '\r'; break;
            case 'a': out += '\a'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'v': out += '\v'; break;
            case '\\': out += '\\'; break;
            case '"': out += '"'; break;
            case '\'': out += '\''; break;
            case '\n':
            case '\r':
                if ((peek() == '\n' || peek() == '\r') && peek() != e) ++i_;
                out += '\n';
                break;
            case 'x': {
                if (!isHex(peek()) || !isHex(peek(1))) return fail("\\x needs two hexadecimal digits");
                out += static_cast<char>(hexValue(peek()) * 16 + hexValue(peek(1)));
                i_ += 2;
                break;
            }
            case 'z':
                while (!atEnd() && isBlank(s_[i_]))
                    ++i_;
                break;
            case 'u': {
                if (peek() != '{') return fail("\\u needs {");
                ++i_;
                std::uint32_t code = 0;
                int digits = 0;
                while (isHex(peek())) {
                    code = code * 16 + static_cast<std::uint32_t>(hexValue(peek()));
                    ++i_;
                    if (++digits > 8 || code > 0x10FFFF) return fail("\\u{...} is beyond U+10FFFF");
                }
                if (digits == 0 || peek() != '}') return fail("\\u{...} is not closed");
                ++i_;
                html::utf8::append(out, static_cast<char32_t>(code));
                break;
            }
            default:
                if (isDigit(e)) {
                    int value = e - '0';
                    for (int n = 1; n < 3 && isDigit(peek()); ++n)
                        value = value * 10 + (s_[i_++] - '0');
                    if (value > 255) return fail("a decimal escape is above 255");
                    out += static_cast<char>(value);
                    break;
                }
                return fail(std::string("\\") + e + " is not an escape");
            }
        }
    }

    bool number(LuaLiteral& out, bool negative) {
        const std::size_t start = i_;
        bool integral = true;
        if (peek() == '0' && (peek(1) == 'x' || peek(1) == 'X')) {
            i_ += 2;
            bool digits = false;
            while (isHex(peek()))
                ++i_, digits = true;
            if (peek() == '.') {
                integral = false;
                ++i_;
                while (isHex(peek()))
                    ++i_, digits = true;
            }
            if (!digits) return fail("a hexadecimal number has no digits");
            if (peek() == 'p' || peek() == 'P') {
                integral = false;
                ++i_;
                if (peek() == '+' || peek() == '-') ++i_;
                if (!isDigit(peek())) return fail("an exponent has no digits");
                while (isDigit(peek()))
                    ++i_;
            }
        } else {
            bool digits = false;
            while (isDigit(peek()))
                ++i_, digits = true;
            if (peek() == '.') {
                integral = false;
                ++i_;
                while (isDigit(peek()))
                    ++i_, digits = true;
            }
            if (!digits) return fail("a number has no digits");
            if (peek() == 'e' || peek() == 'E') {
                integral = false;
                ++i_;
                if (peek() == '+' || peek() == '-') ++i_;
                if (!isDigit(peek())) return fail("an exponent has no digits");
                while (isDigit(peek()))
                    ++i_;
            }
        }
        if (isNameChar(peek()) || peek() == '.') return fail("a number runs into a letter or digit");
        const std::string text(s_.substr(start, i_ - start));
        const bool hex = text.size() > 1 && (text[1] == 'x' || text[1] == 'X');
        if (integral && !hex && text.size() <= 18) {
            out.type = LuaLiteral::Type::Integer;
            out.integer = std::strtoll(text.c_str(), nullptr, 10);
            if (negative) out.integer = -out.integer;
            return true;
        }
        double value = std::strtod(text.c_str(), nullptr);
        if (negative) value = -value;
        if (std::isfinite(value) && value == std::floor(value) && std::fabs(value) < 9.2e18) {
            out.type = LuaLiteral::Type::Integer;
            out.integer = static_cast<std::int64_t>(value);
        } else {
            out.type = LuaLiteral::Type::Real;
            out.real = value;
        }
        return true;
    }

    // A value that is not a table; `handled` false when the text starts no value at all.
    bool scalar(LuaLiteral& out) {
        const char c = peek();
        if (c == '"' || c == '\'') {
            out.type = LuaLiteral::Type::String;
            return quoted(out.string);
        }
        if (const int level = longBracketLevel(); level >= 0) {
            out.type = LuaLiteral::Type::String;
            return longBracket(level, &out.string);
        }
        if (c == '-') {
            ++i_;
            if (!skipBlanks()) return false;
            if (isNameStart(peek())) return fail("only a number may follow a minus sign");
            return number(out, true);
        }
        if (isDigit(c) || (c == '.' && isDigit(peek(1)))) return number(out, false);
        if (isNameStart(c)) {
            const std::size_t start = i_;
            while (isNameChar(peek()))
                ++i_;
            const std::string_view name = s_.substr(start, i_ - start);
            if (name == "true" || name == "false") {
                out.type = LuaLiteral::Type::Boolean;
                out.boolean = name == "true";
                return true;
            }
            if (name == "nil" || name == "inf" || name == "nan") return true; // Lua: an unset variable
            i_ = start;
            return fail("a name is not a value: " + std::string(name));
        }
        if (atEnd()) return fail("the file ends before a value");
        return fail(std::string("unexpected '") + c + "'");
    }

    bool store(Frame& frame, LuaLiteral key, LuaLiteral value) {
        if (key.type == LuaLiteral::Type::Real && std::isnan(key.real)) return fail("a key is not a number");
        // A key seen before takes the new value in its place; a nil leaves a new key out altogether,
        // so the indexes only ever name fields that were written.
        const std::size_t next = frame.table.fields.size();
        std::size_t* slot = nullptr;
        if (key.type == LuaLiteral::Type::Integer) {
            if (const auto it = frame.byInteger.find(key.integer); it != frame.byInteger.end())
                slot = &it->second;
            else if (!value.isNil())
                frame.byInteger.emplace(key.integer, next);
        } else if (key.type == LuaLiteral::Type::String) {
            if (const auto it = frame.byName.find(key.string); it != frame.byName.end())
                slot = &it->second;
            else if (!value.isNil())
                frame.byName.emplace(key.string, next);
        }
        if (slot) {
            frame.table.fields[*slot].value = std::move(value); // a nil: the field is gone again
            return true;
        }
        if (!value.isNil()) frame.table.fields.push_back({std::move(key), std::move(value)});
        return true;
    }

    std::string_view s_;
    std::size_t i_ = 0;
    std::string& error_;
};

std::optional<LuaLiteral> Parser::run() {
    if (s_.starts_with("\xEF\xBB\xBF")) i_ = 3;
    if (peek() == '#')
        while (!atEnd() && s_[i_] != '\n' && s_[i_] != '\r')
            ++i_;
    if (!skipBlanks()) return std::nullopt;
    if (s_.substr(i_, 6) != "return" || isNameChar(peek(6))) {
        fail("the file does not start with \"return\"");
        return std::nullopt;
    }
    i_ += 6;

    // Tables are read with a stack of their own, so that no nesting can exhaust the real one.
    std::vector<Frame> stack;
    std::optional<LuaLiteral> result;
    enum class Expect { Value, Field, AfterField } expect = Expect::Value;
    const auto finish = [&](LuaLiteral value) -> bool {
        if (stack.empty()) {
            result = std::move(value);
            return true;
        }
        Frame& frame = stack.back();
        LuaLiteral key;
        if (frame.key) {
            key = std::move(*frame.key);
            frame.key.reset();
        } else {
            key.type = LuaLiteral::Type::Integer;
            key.integer = frame.nextIndex++;
        }
        expect = Expect::AfterField;
        return store(frame, std::move(key), std::move(value));
    };
    const auto close = [&]() -> bool {
        ++i_;
        LuaLiteral table = std::move(stack.back().table);
        stack.pop_back();
        return finish(std::move(table));
    };
    while (!result) {
        if (!skipBlanks()) return std::nullopt;
        if (expect == Expect::Value) {
            if (peek() == '{') {
                if (static_cast<int>(stack.size()) >= LuaLiteral::maxDepth) {
                    fail("tables are nested more than " + std::to_string(LuaLiteral::maxDepth) + " deep");
                    return std::nullopt;
                }
                ++i_;
                stack.emplace_back();
                stack.back().table.type = LuaLiteral::Type::Table;
                expect = Expect::Field;
                continue;
            }
            LuaLiteral value;
            if (!scalar(value) || !finish(std::move(value))) return std::nullopt;
        } else if (expect == Expect::Field) {
            if (peek() == '}') {
                if (!close()) return std::nullopt;
                continue;
            }
            if (peek() == '[' && longBracketLevel() < 0) {
                ++i_;
                if (!skipBlanks()) return std::nullopt;
                LuaLiteral key;
                if (!scalar(key)) return std::nullopt;
                if (key.type != LuaLiteral::Type::String && !key.isNumber()) {
                    fail("a key must be a string or a number");
                    return std::nullopt;
                }
                if (!skipBlanks()) return std::nullopt;
                if (peek() != ']') {
                    fail("a key is not closed with ']'");
                    return std::nullopt;
                }
                ++i_;
                if (!skipBlanks()) return std::nullopt;
                if (peek() != '=') {
                    fail("'=' must follow a key");
                    return std::nullopt;
                }
                ++i_;
                stack.back().key = std::move(key);
                expect = Expect::Value;
                continue;
            }
            if (isNameStart(peek())) {
                std::size_t k = i_;
                while (k < s_.size() && isNameChar(s_[k]))
                    ++k;
                const std::string_view name = s_.substr(i_, k - i_);
                if (!isKeyword(name) && name != "inf" && name != "nan") {
                    i_ = k;
                    if (!skipBlanks()) return std::nullopt;
                    if (peek() != '=') {
                        fail("a name is not a value: " + std::string(name));
                        return std::nullopt;
                    }
                    ++i_;
                    LuaLiteral key;
                    key.type = LuaLiteral::Type::String;
                    key.string = name;
                    stack.back().key = std::move(key);
                    expect = Expect::Value;
                    continue;
                }
            }
            expect = Expect::Value; // a value with the next position as its key
        } else {
            if (peek() == ',' || peek() == ';') {
                ++i_;
                expect = Expect::Field;
            } else if (peek() == '}') {
                if (!close()) return std::nullopt;
            } else {
                fail(atEnd() ? std::string("the file ends inside a table") : "expected ',' or '}'");
                return std::nullopt;
            }
        }
    }
    if (!skipBlanks()) return std::nullopt;
    if (peek() == ';') {
        ++i_;
        if (!skipBlanks()) return std::nullopt;
    }
    if (!atEnd()) {
        fail("something follows the returned value");
        return std::nullopt;
    }
    return result;
}

} // namespace

namespace {

// The value of the first field whose key `matches`, unless it is nil.
template <typename Matches>
const LuaLiteral* field(const std::vector<LuaLiteral::Entry>& fields, Matches matches) {
    for (const LuaLiteral::Entry& entry : fields)
        if (matches(entry.key) && !entry.value.isNil()) return &entry.value;
    return nullptr;
}

} // namespace

const LuaLiteral* LuaLiteral::get(std::string_view key) const {
    return field(fields, [&](const LuaLiteral& k) { return k.type == Type::String && k.string == key; });
}

const LuaLiteral* LuaLiteral::at(std::int64_t index) const {
    return field(fields, [&](const LuaLiteral& k) { return k.type == Type::Integer && k.integer == index; });
}

std::vector<const LuaLiteral*> LuaLiteral::sequence() const {
    std::vector<std::pair<std::int64_t, const LuaLiteral*>> numbered;
    for (const Entry& entry : fields)
        if (entry.key.type == Type::Integer && !entry.value.isNil())
            numbered.emplace_back(entry.key.integer, &entry.value);
    std::stable_sort(numbered.begin(), numbered.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<const LuaLiteral*> values;
    values.reserve(numbered.size());
    for (const auto& [index, value] : numbered)
        values.push_back(value);
    return values;
}

std::optional<std::int64_t> LuaLiteral::asInteger() const {
    if (type == Type::Integer) return integer;
    if (type == Type::String) {
        const std::string_view t = string;
        if (!t.empty() && t.size() < 18 && std::all_of(t.begin(), t.end(), isDigit))
            return std::stoll(string);
    }
    return std::nullopt;
}

std::optional<LuaLiteral> LuaLiteral::parse(std::string_view source, std::string& error) {
    error.clear();
    return Parser(source, error).run();
}

} // namespace notara
