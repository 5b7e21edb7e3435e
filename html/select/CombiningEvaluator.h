#pragma once

#include "html/select/Evaluator.h"

#include <vector>

namespace html {

// A list of evaluators joined by "and" or "or", tested in list order and stopping at the first
// decisive result, so the parser's order decides which test runs first.
class CombiningEvaluator : public Evaluator {
public:
    const std::vector<EvaluatorPtr>& evaluators() const { return evaluators_; }
    int num() const { return num_; }

    // The last entry, or none when the list is empty.
    Evaluator* rightMostEvaluator() const { return evaluators_.empty() ? nullptr : evaluators_.back().get(); }
    // Replaces the last entry and hands back the one it held.
    EvaluatorPtr replaceRightMostEvaluator(EvaluatorPtr replacement);

    class And;
    class Or;

protected:
    CombiningEvaluator() = default;
    explicit CombiningEvaluator(std::vector<EvaluatorPtr> evaluators);
    void updateNumEvaluators() { num_ = static_cast<int>(evaluators_.size()); }
    std::string join(std::string_view separator) const;

    std::vector<EvaluatorPtr> evaluators_;
    int num_ = 0;
};

class CombiningEvaluator::And final : public CombiningEvaluator {
public:
    explicit And(std::vector<EvaluatorPtr> evaluators) : CombiningEvaluator(std::move(evaluators)) {}
    template <class... E> static std::unique_ptr<And> of(E&&... evaluators) {
        std::vector<EvaluatorPtr> list;
        (list.push_back(std::forward<E>(evaluators)), ...);
        return std::make_unique<And>(std::move(list));
    }
    bool matches(const Element& root, const Element& element) const override;
    std::string toString() const override { return join(""); }
};

class CombiningEvaluator::Or final : public CombiningEvaluator {
public:
    Or() = default;
    explicit Or(std::vector<EvaluatorPtr> evaluators) : CombiningEvaluator(std::move(evaluators)) {}
    template <class... E> static std::unique_ptr<Or> of(E&&... evaluators) {
        std::vector<EvaluatorPtr> list;
        (list.push_back(std::forward<E>(evaluators)), ...);
        return std::make_unique<Or>(std::move(list));
    }
    void add(EvaluatorPtr evaluator);
    bool matches(const Element& root, const Element& element) const override;
    std::string toString() const override { return join(", "); }
};

} // namespace html
