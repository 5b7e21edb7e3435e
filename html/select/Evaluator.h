#pragma once

#include "html/select/Pattern.h"

#include <memory>
#include <string>
#include <string_view>

namespace html {

class Element;

// A predicate over elements: does `element` match, for a query that started at `root`?
// Evaluators are immutable once built and hold no reference to a tree, so one parsed query can be
// run against many roots. `matches` may throw Exception; a selection treats that as no match.
class Evaluator {
public:
    virtual ~Evaluator() = default;
    Evaluator(const Evaluator&) = delete;
    Evaluator& operator=(const Evaluator&) = delete;

    virtual bool matches(const Element& root, const Element& element) const = 0;
    virtual std::string toString() const = 0;

    class Tag;
    class TagEndsWith;
    class Id;
    class Class;
    class Attribute;
    class AttributeStarting;
    class AttributeKeyPair;
    class AttributeWithValue;
    class AttributeWithValueNot;
    class AttributeWithValueStarting;
    class AttributeWithValueEnding;
    class AttributeWithValueContaining;
    class AttributeWithValueMatching;
    class AllElements;
    class IndexEvaluator;
    class IndexLessThan;
    class IndexGreaterThan;
    class IndexEquals;
    class IsFirstChild;
    class IsLastChild;
    class CssNthEvaluator;
    class IsNthChild;
    class IsNthLastChild;
    class IsNthOfType;
    class IsNthLastOfType;
    class IsFirstOfType;
    class IsLastOfType;
    class IsRoot;
    class IsOnlyChild;
    class IsOnlyOfType;
    class IsEmpty;
    class ContainsText;
    class ContainsOwnText;
    class Matches;
    class MatchesOwn;

protected:
    Evaluator() = default;
};

using EvaluatorPtr = std::unique_ptr<Evaluator>;

class Evaluator::Tag final : public Evaluator {
public:
    explicit Tag(std::string tagName);
    bool matches(const Element& root, const Element& element) const override;
    std::string toString() const override { return tagName_; }
    const std::string& tagName() const { return tagName_; }

private:
    std::string tagName_;
    std::string tagNameNormal_;
};

class Evaluator::TagEndsWith final : public Evaluator {
public:
    explicit TagEndsWith(std::string tagName) : tagName_(std::move(tagName)) {}
    bool matches(const Element& root, const Element& element) const override;
    std::string toString() const override { return tagName_; }

private:
    std::string tagName_;
};

class Evaluator::Id final : public Evaluator {
public:
    explicit Id(std::string id) : id_(std::move(id)) {}
    bool matches(const Element& root, const Element& element) const override;
    std::string toString() const override { return "#" + id_; }

private:
    std::string id_;
};

class Evaluator::Class final : public Evaluator {
public:
    explicit Class(std::string className) : className_(std::move(className)) {}
    bool matches(const Element& root, const Element& element) const override;
    std::string toString() const override { return "." + className_; }

private:
    std::string className_;
};

class Evaluator::Attribute final : public Evaluator {
public:
    explicit Attribute(std::string key) : key_(std::move(key)) {}
    bool matches(const Element& root, const Element& element) const override;
    std::string toString() const override { return "[" + key_ + "]"; }

private:
    std::string key_;
};

class Evaluator::AttributeStarting final : public Evaluator {
public:
    // Fails with "String must not be empty" for an empty prefix.
    explicit AttributeStarting(std::string keyPrefix);
    bool matches(const Element& root, const Element& element) const override;
    std::string toString() const override { return "[^" + keyPrefix_ + "]"; }

private:
    std::string keyPrefix_;
};

// Key and value of the attribute comparisons: both must not be empty; the key is trimmed and
// lower-cased, the value is trimmed, loses one pair of surrounding quotes, and is trimmed and
// lower-cased again.
class Evaluator::AttributeKeyPair : public Evaluator {
public:
    const std::string& key() const { return key_; }
    const std::string& value() const { return value_; }

protected:
    AttributeKeyPair(std::string_view key, std::string_view value);
    std::string describe(std::string_view op) const { return "[" + key_ + std::string(op) + value_ + "]"; }

    std::string key_;
    std::string value_;
};

class Evaluator::AttributeWithValue final : public AttributeKeyPair {
public:
    AttributeWithValue(std::string_view key, std::string_view value) : AttributeKeyPair(key, value) {}
    bool matches(const Element& root, const Element& element) const override;
    std::string toString() const override { return describe("="); }
};

class Evaluator::AttributeWithValueNot final : public AttributeKeyPair {
public:
    AttributeWithValueNot(std::string_view key, std::string_view value) : AttributeKeyPair(key, value) {}
    bool matches(const Element& root, const Element& element) const override;
    std::string toString() const override { return describe("!="); }
};

class Evaluator::AttributeWithValueStarting final : public AttributeKeyPair {
public:
    AttributeWithValueStarting(std::string_view key, std::string_view value) : AttributeKeyPair(key, value) {}
    bool matches(const Element& root, const Element& element) const override;
    std::string toString() const override { return describe("^="); }
};

class Evaluator::AttributeWithValueEnding final : public AttributeKeyPair {
public:
    AttributeWithValueEnding(std::string_view key, std::string_view value) : AttributeKeyPair(key, value) {}
    bool matches(const Element& root, const Element& element) const override;
    std::string toString() const override { return describe("$="); }
};

class Evaluator::AttributeWithValueContaining final : public AttributeKeyPair {
public:
    AttributeWithValueContaining(std::string_view key, std::string_view value)
        : AttributeKeyPair(key, value) {}
    bool matches(const Element& root, const Element& element) const override;
    std::string toString() const override { return describe("*="); }
};

class Evaluator::AttributeWithValueMatching final : public Evaluator {
public:
    AttributeWithValueMatching(std::string key, Pattern pattern)
        : key_(std::move(key)), pattern_(std::move(pattern)) {}
    bool matches(const Element& root, const Element& element) const override;
    std::string toString() const override { return "[" + key_ + "~=" + pattern_.toString() + "]"; }

private:
    std::string key_;
    Pattern pattern_;
};

class Evaluator::AllElements final : public Evaluator {
public:
    AllElements() = default;
    bool matches(const Element&, const Element&) const override { return true; }
    std::string toString() const override { return "*"; }
};

class Evaluator::IndexEvaluator : public Evaluator {
public:
    int index() const { return index_; }

protected:
    explicit IndexEvaluator(int index) : index_(index) {}
    int index_;
};

class Evaluator::IndexLessThan final : public IndexEvaluator {
public:
    explicit IndexLessThan(int index) : IndexEvaluator(index) {}
    bool matches(const Element& root, const Element& element) const override;
    std::string toString() const override { return ":lt(" + std::to_string(index_) + ")"; }
};

class Evaluator::IndexGreaterThan final : public IndexEvaluator {
public:
    explicit IndexGreaterThan(int index) : IndexEvaluator(index) {}
    bool matches(const Element& root, const Element& element) const override;
    std::string toString() const override { return ":gt(" + std::to_string(index_) + ")"; }
};

class Evaluator::IndexEquals final : public IndexEvaluator {
public:
    explicit IndexEquals(int index) : IndexEvaluator(index) {}
    bool matches(const Element& root, const Element& element) const override;
    std::string toString() const override { return ":eq(" + std::to_string(index_) + ")"; }
};

class Evaluator::IsFirstChild final : public Evaluator {
public:
    bool matches(const Element& root, const Element& element) const override;
    std::string toString() const override { return ":first-child"; }
};

class Evaluator::IsLastChild final : public Evaluator {
public:
    bool matches(const Element& root, const Element& element) const override;
    std::string toString() const override { return ":last-child"; }
};

// The an+b family: an element at 1-based position `pos` matches when pos = a*n + b for some n >= 0.
class Evaluator::CssNthEvaluator : public Evaluator {
public:
    bool matches(const Element& root, const Element& element) const override;
    std::string toString() const override;
    int a() const { return a_; }
    int b() const { return b_; }

protected:
    CssNthEvaluator(int a, int b) : a_(a), b_(b) {}
    virtual int calculatePosition(const Element& root, const Element& element) const = 0;
    virtual const char* pseudoClass() const = 0;

    int a_;
    int b_;
};

class Evaluator::IsNthChild final : public CssNthEvaluator {
public:
    IsNthChild(int a, int b) : CssNthEvaluator(a, b) {}

protected:
    int calculatePosition(const Element& root, const Element& element) const override;
    const char* pseudoClass() const override { return "nth-child"; }
};

class Evaluator::IsNthLastChild final : public CssNthEvaluator {
public:
    IsNthLastChild(int a, int b) : CssNthEvaluator(a, b) {}

protected:
    int calculatePosition(const Element& root, const Element& element) const override;
    const char* pseudoClass() const override { return "nth-last-child"; }
};

class Evaluator::IsNthOfType : public CssNthEvaluator {
public:
    IsNthOfType(int a, int b) : CssNthEvaluator(a, b) {}

protected:
    int calculatePosition(const Element& root, const Element& element) const override;
    const char* pseudoClass() const override { return "nth-of-type"; }
};

class Evaluator::IsNthLastOfType : public CssNthEvaluator {
public:
    IsNthLastOfType(int a, int b) : CssNthEvaluator(a, b) {}

protected:
    int calculatePosition(const Element& root, const Element& element) const override;
    const char* pseudoClass() const override { return "nth-last-of-type"; }
};

class Evaluator::IsFirstOfType final : public IsNthOfType {
public:
    IsFirstOfType() : IsNthOfType(0, 1) {}
    std::string toString() const override { return ":first-of-type"; }
};

class Evaluator::IsLastOfType final : public IsNthLastOfType {
public:
    IsLastOfType() : IsNthLastOfType(0, 1) {}
    std::string toString() const override { return ":last-of-type"; }
};

class Evaluator::IsRoot final : public Evaluator {
public:
    bool matches(const Element& root, const Element& element) const override;
    std::string toString() const override { return ":root"; }
};

class Evaluator::IsOnlyChild final : public Evaluator {
public:
    bool matches(const Element& root, const Element& element) const override;
    std::string toString() const override { return ":only-child"; }
};

class Evaluator::IsOnlyOfType final : public Evaluator {
public:
    bool matches(const Element& root, const Element& element) const override;
    std::string toString() const override { return ":only-of-type"; }
};

class Evaluator::IsEmpty final : public Evaluator {
public:
    bool matches(const Element& root, const Element& element) const override;
    std::string toString() const override { return ":empty"; }
};

class Evaluator::ContainsText final : public Evaluator {
public:
    explicit ContainsText(std::string_view searchText);
    bool matches(const Element& root, const Element& element) const override;
    std::string toString() const override { return ":contains(" + searchText_ + ")"; }

private:
    std::string searchText_;
};

class Evaluator::ContainsOwnText final : public Evaluator {
public:
    explicit ContainsOwnText(std::string_view searchText);
    bool matches(const Element& root, const Element& element) const override;
    std::string toString() const override { return ":containsOwn(" + searchText_ + ")"; }

private:
    std::string searchText_;
};

class Evaluator::Matches final : public Evaluator {
public:
    explicit Matches(Pattern pattern) : pattern_(std::move(pattern)) {}
    bool matches(const Element& root, const Element& element) const override;
    std::string toString() const override { return ":matches(" + pattern_.toString() + ")"; }

private:
    Pattern pattern_;
};

class Evaluator::MatchesOwn final : public Evaluator {
public:
    explicit MatchesOwn(Pattern pattern) : pattern_(std::move(pattern)) {}
    bool matches(const Element& root, const Element& element) const override;
    std::string toString() const override { return ":matchesOwn(" + pattern_.toString() + ")"; }

private:
    Pattern pattern_;
};

} // namespace html
