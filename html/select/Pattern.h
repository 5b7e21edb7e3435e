#pragma once

#include "html/select/Matcher.h"

#include <memory>
#include <string>
#include <string_view>

#include <unicode/uversion.h>

U_NAMESPACE_BEGIN
class RegexPattern;
U_NAMESPACE_END

namespace html {

// A regular expression as written in a selector. The text is compiled once, when the Pattern is
// made; a text that does not compile is kept, and every matcher asked of it reports the problem
// and finds nothing, so a bad expression in a query simply matches no element.
class Pattern {
public:
    explicit Pattern(std::string pattern);
    ~Pattern();
    Pattern(const Pattern& other);
    Pattern& operator=(const Pattern& other);
    Pattern(Pattern&&) noexcept;
    Pattern& operator=(Pattern&&) noexcept;

    const std::string& pattern() const { return pattern_; }

    // Fails with "Pattern syntax error: " and the expression when it does not compile.
    void validate() const;
    bool isValid() const { return compiled_ != nullptr; }

    // All matches of the expression in `text`, searched anywhere (not anchored). For an
    // expression that does not compile, writes "invalid regex: " and the reason to standard
    // output and returns a Matcher without matches.
    Matcher matcher(std::string_view text) const;

    std::string toString() const { return pattern_; }

private:
    void compile();

    std::string pattern_;
    std::unique_ptr<icu::RegexPattern> compiled_;
    std::string error_;
};

} // namespace html
