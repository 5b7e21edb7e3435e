#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include <unicode/uversion.h>

U_NAMESPACE_BEGIN
class RegexPattern;
U_NAMESPACE_END

namespace html {

// The matches of one Pattern in one text, walked with find().
class Matcher {
public:
    // The regex engine's work limit for one search, in its steps (a fraction of a millisecond
    // each); a search that needs more finds nothing.
    static constexpr int searchTimeLimit = 2000;

    Matcher(); // holds no matches
    ~Matcher();
    Matcher(Matcher&&) noexcept;
    Matcher& operator=(Matcher&&) noexcept;

    // Advances to the next match; false when there is none.
    bool find();
    // The whole current match, or capture group `i` of it; none when there is no current match or
    // the group did not take part in it.
    std::optional<std::string> group() const { return group(0); }
    std::optional<std::string> group(int i) const;
    int groupCount() const;

private:
    friend class Pattern;
    Matcher(const icu::RegexPattern& pattern, std::string_view text);

    struct State;
    std::unique_ptr<State> state_;
    bool hasMatch_ = false;
};

} // namespace html
