#include "html/select/Pattern.h"

#include "html/nodes/Exception.h"

#include <iostream>
#include <unicode/parseerr.h>
#include <unicode/regex.h>
#include <unicode/unistr.h>

namespace html {

Pattern::Pattern(std::string pattern) : pattern_(std::move(pattern)) {
    compile();
}

Pattern::~Pattern() = default;

Pattern::Pattern(const Pattern& other) : pattern_(other.pattern_) {
    compile();
}

Pattern& Pattern::operator=(const Pattern& other) {
    if (this != &other) {
        pattern_ = other.pattern_;
        compile();
    }
    return *this;
}

Pattern::Pattern(Pattern&&) noexcept = default;
Pattern& Pattern::operator=(Pattern&&) noexcept = default;

void Pattern::compile() {
    compiled_.reset();
    error_.clear();
    UErrorCode status = U_ZERO_ERROR;
    UParseError where{};
    compiled_.reset(icu::RegexPattern::compile(icu::UnicodeString::fromUTF8(pattern_), 0, where, status));
    if (U_FAILURE(status) || !compiled_) {
        compiled_.reset();
        error_ = std::string("the expression \"") + pattern_ + "\" does not compile (" + u_errorName(status);
        if (where.offset >= 0) error_ += " at offset " + std::to_string(where.offset);
        error_ += ")";
    }
}

void Pattern::validate() const {
    if (!compiled_)
        throw Exception(ExceptionType::IllegalArgumentException, "Pattern syntax error: " + pattern_);
}

Matcher Pattern::matcher(std::string_view text) const {
    if (!compiled_) {
        std::cout << "invalid regex: " << error_ << std::endl;
        return Matcher();
    }
    return Matcher(*compiled_, text);
}

} // namespace html
