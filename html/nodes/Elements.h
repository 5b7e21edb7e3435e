#pragma once

#include "html/nodes/Element.h"
#include "html/nodes/Ref.h"

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace html {

class FormElement;
class NodeVisitor;

// An ordered list of elements, kept alive by the list; bulk operations apply to every member in
// order. The list does not follow later changes of the trees.
class Elements {
public:
    using value_type = Ref<Element>;
    using const_iterator = std::vector<Ref<Element>>::const_iterator;

    Elements() = default;
    explicit Elements(std::vector<Ref<Element>> elements) : list_(std::move(elements)) {}
    Elements(std::initializer_list<Element*> elements) : list_(elements.begin(), elements.end()) {}

    std::size_t size() const noexcept { return list_.size(); }
    std::size_t count() const noexcept { return list_.size(); }
    bool isEmpty() const noexcept { return list_.empty(); }
    Element* first() const noexcept { return list_.empty() ? nullptr : list_.front().get(); }
    Element* last() const noexcept { return list_.empty() ? nullptr : list_.back().get(); }
    // 0 <= index < size() is the caller's duty.
    Element* get(std::size_t index) const noexcept { return list_[index].get(); }
    Element* operator[](std::size_t index) const noexcept { return list_[index].get(); }
    const std::vector<Ref<Element>>& array() const noexcept { return list_; }
    const_iterator begin() const noexcept { return list_.begin(); }
    const_iterator end() const noexcept { return list_.end(); }

    class Iterator {
    public:
        explicit Iterator(const Elements& elements) noexcept : elements_(elements) {}
        // The next member, or null at the end (the index still advances).
        Element* next() noexcept {
            Element* e = index_ < elements_.size() ? elements_.get(index_) : nullptr;
            ++index_;
            return e;
        }

    private:
        const Elements& elements_;
        std::size_t index_ = 0;
    };
    Iterator makeIterator() const noexcept { return Iterator(*this); }

    Elements& add(Element* element) {
        list_.emplace_back(element);
        return *this;
    }
    Elements& add(const Ref<Element>& element) { return add(element.get()); }
    Elements& add(std::size_t index, Element* element) {
        list_.emplace(list_.begin() + static_cast<std::ptrdiff_t>(index), element);
        return *this;
    }
    void reserve(std::size_t n) { list_.reserve(n); }
    void clear() noexcept { list_.clear(); }

    // Attributes and classes.
    std::string attr(std::string_view key) const;
    bool hasAttr(std::string_view key) const;
    Elements& attr(std::string_view key, std::string_view value);
    Elements& removeAttr(std::string_view key);
    bool hasClass(std::string_view name) const;
    Elements& addClass(std::string_view name);
    Elements& removeClass(std::string_view name);
    Elements& toggleClass(std::string_view name);
    std::string val() const;
    Elements& val(std::string_view value);

    // Tree operations on every member.
    Elements& tagName(std::string_view name);
    Elements& unwrap();
    Elements& empty();
    Elements& remove();
    Elements eq(std::size_t index) const;
    // Ancestors of every member, each listed once at its first occurrence.
    Elements parents() const;
    Elements& traverse(NodeVisitor& visitor);
    std::vector<Ref<FormElement>> forms() const;

    // Text and HTML.
    std::string text(bool trimAndNormaliseWhitespace = true) const;
    bool hasText() const;
    std::vector<std::string> eachText() const;
    std::string html() const;
    std::string outerHtml() const;
    std::string toString() const { return outerHtml(); }

    // Mutation from HTML text, defined with the parser.
    Elements& html(std::string_view html);
    Elements& append(std::string_view html);
    Elements& prepend(std::string_view html);
    Elements& before(std::string_view html);
    Elements& after(std::string_view html);
    Elements& wrap(std::string_view html);

    // Selector queries, defined with the selector engine.
    Elements select(std::string_view query) const;
    Elements not_(std::string_view query) const;
    bool iS(std::string_view query) const;

    bool operator==(const Elements& o) const noexcept { return list_ == o.list_; }

private:
    std::vector<Ref<Element>> list_;
};

} // namespace html
