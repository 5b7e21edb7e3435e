#include "html/select/CombiningEvaluator.h"

#include <utility>

namespace html {

CombiningEvaluator::CombiningEvaluator(std::vector<EvaluatorPtr> evaluators)
    : evaluators_(std::move(evaluators)) {
    updateNumEvaluators();
}

EvaluatorPtr CombiningEvaluator::replaceRightMostEvaluator(EvaluatorPtr replacement) {
    if (evaluators_.empty()) {
        evaluators_.push_back(std::move(replacement));
        updateNumEvaluators();
        return nullptr;
    }
    return std::exchange(evaluators_.back(), std::move(replacement));
}

std::string CombiningEvaluator::join(std::string_view separator) const {
    std::string out;
    for (std::size_t i = 0; i < evaluators_.size(); ++i) {
        if (i > 0) out += separator;
        out += evaluators_[i]->toString();
    }
    return out;
}

bool CombiningEvaluator::And::matches(const Element& root, const Element& element) const {
    for (int i = 0; i < num_; ++i) {
        if (!evaluators_[static_cast<std::size_t>(i)]->matches(root, element)) return false;
    }
    return true;
}

void CombiningEvaluator::Or::add(EvaluatorPtr evaluator) {
    evaluators_.push_back(std::move(evaluator));
    updateNumEvaluators();
}

bool CombiningEvaluator::Or::matches(const Element& root, const Element& element) const {
    for (int i = 0; i < num_; ++i) {
        if (evaluators_[static_cast<std::size_t>(i)]->matches(root, element)) return true;
    }
    return false;
}

} // namespace html
