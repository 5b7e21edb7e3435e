#pragma once

#include <string>
#include <string_view>

namespace html {

class Attributes;

// Whether tag and attribute names keep their case when parsed.
class ParseSettings {
public:
    constexpr ParseSettings(bool preserveTagCase, bool preserveAttributeCase) noexcept
        : preserveTagCase_(preserveTagCase), preserveAttributeCase_(preserveAttributeCase) {}

    // Both names lower-cased: the HTML default.
    static const ParseSettings& htmlDefault() noexcept;
    // Both names kept as written.
    static const ParseSettings& preserveCase() noexcept;

    bool preserveTagCase() const noexcept { return preserveTagCase_; }
    bool preserveAttributeCase() const noexcept { return preserveAttributeCase_; }

    // Trims surrounding whitespace; lower-cases ASCII unless the case is preserved.
    std::string normalizeTag(std::string_view name) const;
    std::string normalizeAttribute(std::string_view name) const;
    void normalizeAttributes(Attributes& attributes) const;

private:
    bool preserveTagCase_;
    bool preserveAttributeCase_;
};

} // namespace html
