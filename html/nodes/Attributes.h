#pragma once

#include "html/nodes/ArenaAllocator.h"
#include "html/nodes/Attribute.h"

#include <concepts>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace html {

class OutputSettings;
class StringBuilder;

// The attributes of an element, in insertion order, keys unique under exact byte comparison.
class Attributes {
public:
    static constexpr std::string_view dataPrefix = "data-";

    using List = std::vector<Attribute, ArenaAllocator<Attribute>>;

    Attributes() = default;
    // The list of a parsed node, in its arena.
    explicit Attributes(NodeArena* arena) : attributes_(ArenaAllocator<Attribute>(arena)) {}
    // Copies are on the heap; assignments keep the target's own storage.
    Attributes(const Attributes& o) : attributes_(o.attributes_) {}
    // Takes the list over only when it is on the heap: a list in an arena must not outlive its node.
    Attributes(Attributes&& o) noexcept(false)
        : attributes_(o.attributes_.get_allocator().arena()
                          ? List(std::make_move_iterator(o.attributes_.begin()),
                                 std::make_move_iterator(o.attributes_.end()))
                          : std::move(o.attributes_)) {}
    Attributes& operator=(const Attributes& o) {
        if (&o != this) attributes_ = o.attributes_;
        lowercasedKeysCache_.reset();
        return *this;
    }
    Attributes& operator=(Attributes&& o) {
        attributes_ = std::move(o.attributes_);
        lowercasedKeysCache_.reset();
        return *this;
    }

    // Exact key; empty when absent.
    std::string_view get(std::string_view key) const noexcept;
    // ASCII case-insensitive key; fails for an empty key.
    std::string_view getIgnoreCase(std::string_view key) const;
    const Attribute* find(std::string_view key) const noexcept;
    const Attribute* findIgnoreCase(std::string_view key) const noexcept;

    // Replaces the value of the attribute with exactly this key in place, else appends.
    Attributes& put(std::string_view key, std::string_view value);
    Attributes& put(const Attribute& attribute);
    // True stores a boolean attribute, false removes the key.
    template <class B>
    requires std::same_as<B, bool> Attributes& put(std::string_view key, B value) {
        if (value)
            putBoolean(key);
        else
            remove(key);
        return *this;
    }
    // Appends without looking for an existing key: for callers that already hold unique keys
    // (the tree builder turning a tag token into an element).
    void add(std::string key, std::string value);
    void reserve(std::size_t n) { attributes_.reserve(n); }

    void remove(std::string_view key);
    void removeIgnoreCase(std::string_view key);
    bool hasKey(std::string_view key) const noexcept { return find(key) != nullptr; }
    bool hasKeyIgnoreCase(std::string_view key) const;

    std::size_t size() const noexcept { return attributes_.size(); }
    bool isEmpty() const noexcept { return attributes_.empty(); }
    std::vector<Attribute> asList() const { return {attributes_.begin(), attributes_.end()}; }
    const Attribute& operator[](std::size_t i) const noexcept { return attributes_[i]; }
    auto begin() const noexcept { return attributes_.begin(); }
    auto end() const noexcept { return attributes_.end(); }

    void addAll(const Attributes& incoming);
    // Keys without the "data-" prefix mapped to their values, over the data attributes.
    std::map<std::string, std::string> dataset() const;

    std::string html() const;
    void html(StringBuilder& accum, const OutputSettings& out) const;
    std::string toString() const { return html(); }

    void lowercaseAllKeys();

    bool operator==(const Attributes& o) const noexcept { return attributes_ == o.attributes_; }
    Attributes clone() const { return *this; }

private:
    void putBoolean(std::string_view key);
    void dropCache() noexcept { lowercasedKeysCache_.reset(); }

    List attributes_;
    // The keys lower-cased, position by position; rebuilt on demand.
    mutable std::unique_ptr<std::vector<std::string>> lowercasedKeysCache_;
};

} // namespace html
