#pragma once

#include "html/select/Evaluator.h"

namespace html {

// Relates an element to its ancestors, siblings or descendants through one inner evaluator. A
// failure of the inner evaluator counts as "does not match".
class StructuralEvaluator : public Evaluator {
public:
    const Evaluator* evaluator() const { return evaluator_.get(); }

    class Root;
    class Has;
    class Not;
    class Parent;
    class ImmediateParent;
    class PreviousSibling;
    class ImmediatePreviousSibling;

protected:
    explicit StructuralEvaluator(EvaluatorPtr evaluator) : evaluator_(std::move(evaluator)) {}
    bool innerMatches(const Element& root, const Element& element) const;

    EvaluatorPtr evaluator_;
};

// Matches the element the query started from: a leading combinator (‹> p›) hangs off it.
class StructuralEvaluator::Root final : public StructuralEvaluator {
public:
    Root() : StructuralEvaluator(nullptr) {}
    bool matches(const Element& root, const Element& element) const override { return &root == &element; }
    std::string toString() const override { return ""; }
};

class StructuralEvaluator::Has final : public StructuralEvaluator {
public:
    explicit Has(EvaluatorPtr evaluator) : StructuralEvaluator(std::move(evaluator)) {}
    bool matches(const Element& root, const Element& element) const override;
    std::string toString() const override { return ":has(" + evaluator_->toString() + ")"; }
};

class StructuralEvaluator::Not final : public StructuralEvaluator {
public:
    explicit Not(EvaluatorPtr evaluator) : StructuralEvaluator(std::move(evaluator)) {}
    bool matches(const Element& root, const Element& element) const override;
    std::string toString() const override { return ":not" + evaluator_->toString(); }
};

class StructuralEvaluator::Parent final : public StructuralEvaluator {
public:
    explicit Parent(EvaluatorPtr evaluator) : StructuralEvaluator(std::move(evaluator)) {}
    bool matches(const Element& root, const Element& element) const override;
    std::string toString() const override { return ":parent" + evaluator_->toString(); }
};

class StructuralEvaluator::ImmediateParent final : public StructuralEvaluator {
public:
    explicit ImmediateParent(EvaluatorPtr evaluator) : StructuralEvaluator(std::move(evaluator)) {}
    bool matches(const Element& root, const Element& element) const override;
    std::string toString() const override { return ":ImmediateParent" + evaluator_->toString(); }
};

class StructuralEvaluator::PreviousSibling final : public StructuralEvaluator {
public:
    explicit PreviousSibling(EvaluatorPtr evaluator) : StructuralEvaluator(std::move(evaluator)) {}
    bool matches(const Element& root, const Element& element) const override;
    std::string toString() const override { return ":prev*" + evaluator_->toString(); }
};

class StructuralEvaluator::ImmediatePreviousSibling final : public StructuralEvaluator {
public:
    explicit ImmediatePreviousSibling(EvaluatorPtr evaluator) : StructuralEvaluator(std::move(evaluator)) {}
    bool matches(const Element& root, const Element& element) const override;
    std::string toString() const override { return ":prev" + evaluator_->toString(); }
};

} // namespace html
