#pragma once

#include <string>
#include <string_view>

namespace html {

class OutputSettings;
class StringBuilder;

// One key/value pair of an element.
class Attribute {
public:
    Attribute(std::string key, std::string value) : key_(std::move(key)), value_(std::move(value)) {}

    const std::string& getKey() const noexcept { return key_; }
    const std::string& getValue() const noexcept { return value_; }
    void setKey(std::string key) { key_ = std::move(key); }
    void setValue(std::string value) { value_ = std::move(value); }

    bool isDataAttribute() const noexcept;
    bool isBooleanAttribute() const noexcept { return isBooleanAttribute(key_); }
    // True when the ASCII-lower-cased key is one of the HTML boolean attributes.
    static bool isBooleanAttribute(std::string_view key) noexcept;

    // Written as the key alone in HTML when boolean and empty or equal to its key.
    bool shouldCollapseAttribute(const OutputSettings& out) const noexcept;
    std::string html() const;
    void html(StringBuilder& accum, const OutputSettings& out) const;
    std::string toString() const { return html(); }

    bool operator==(const Attribute& o) const noexcept { return key_ == o.key_ && value_ == o.value_; }

protected:
    std::string key_;
    std::string value_;
};

} // namespace html
