#include "html/select/MatchMemo.h"

namespace html {

namespace {
thread_local MatchMemo::Scope* currentScope = nullptr;
}

MatchMemo::Scope::Scope() : previous_(currentScope) {
    currentScope = this;
}

MatchMemo::Scope::~Scope() {
    currentScope = previous_;
}

bool MatchMemo::active() {
    return currentScope != nullptr;
}

std::optional<bool> MatchMemo::find(const Evaluator& evaluator, const Element& element) {
    if (!currentScope) return std::nullopt;
    const auto it = currentScope->results_.find(Scope::Key{&evaluator, &element});
    if (it == currentScope->results_.end()) return std::nullopt;
    return it->second;
}

void MatchMemo::store(const Evaluator& evaluator, const Element& element, bool result) {
    if (currentScope) currentScope->results_.insert_or_assign(Scope::Key{&evaluator, &element}, result);
}

} // namespace html
