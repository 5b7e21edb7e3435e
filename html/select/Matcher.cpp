#include "html/select/Matcher.h"

#include <unicode/regex.h>
#include <unicode/utext.h>

namespace html {

// The regex engine reads the UTF-8 text in place through a UText, so group offsets are byte
// offsets into `text`. The state lives on the heap because the UText points at `text`.
struct Matcher::State {
    std::string text;
    UText utext = UTEXT_INITIALIZER;
    std::unique_ptr<icu::RegexMatcher> matcher;

    ~State() { utext_close(&utext); }
};

Matcher::Matcher() = default;
Matcher::~Matcher() = default;
Matcher::Matcher(Matcher&&) noexcept = default;
Matcher& Matcher::operator=(Matcher&&) noexcept = default;

Matcher::Matcher(const icu::RegexPattern& pattern, std::string_view text)
    : state_(std::make_unique<State>()) {
    state_->text.assign(text);
    UErrorCode status = U_ZERO_ERROR;
    utext_openUTF8(&state_->utext, state_->text.data(), static_cast<int64_t>(state_->text.size()), &status);
    if (U_FAILURE(status)) {
        state_.reset();
        return;
    }
    state_->matcher.reset(pattern.matcher(status));
    if (U_FAILURE(status) || !state_->matcher) {
        state_.reset();
        return;
    }
    state_->matcher->reset(&state_->utext);
    // A runaway expression such as ‹(a*)*b› would otherwise backtrack for ages on a long text;
    // past the limit the search gives up and counts as no match.
    state_->matcher->setTimeLimit(searchTimeLimit, status);
}

bool Matcher::find() {
    if (!state_) return false;
    UErrorCode status = U_ZERO_ERROR;
    hasMatch_ = state_->matcher->find(status) && U_SUCCESS(status);
    return hasMatch_;
}

std::optional<std::string> Matcher::group(int i) const {
    if (!state_ || !hasMatch_ || i < 0 || i > groupCount()) return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    const int64_t start = state_->matcher->start64(i, status);
    const int64_t end = state_->matcher->end64(i, status);
    if (U_FAILURE(status) || start < 0 || end < start) return std::nullopt;
    return state_->text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
}

int Matcher::groupCount() const {
    return state_ ? state_->matcher->groupCount() : 0;
}

} // namespace html
