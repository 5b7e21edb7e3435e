#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <unordered_map>

namespace html {

class Element;
class Evaluator;

// Results of the ancestor and sibling walks of one selection, per evaluator and element. Without
// them a query such as ‹c a a› costs a walk to the top for every ancestor of every element, which
// grows with a power of the tree's depth; with them each element is walked past once per
// evaluator. A Collector opens a Scope for each selection; outside one nothing is remembered.
// The tree must not change while a Scope is open.
class MatchMemo {
public:
    class Scope {
    public:
        Scope();
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        friend class MatchMemo;
        struct Key {
            const Evaluator* evaluator;
            const Element* element;
            bool operator==(const Key&) const = default;
        };
        struct KeyHash {
            std::size_t operator()(const Key& k) const noexcept {
                return std::hash<const void*>()(k.evaluator) * 31 + std::hash<const void*>()(k.element);
            }
        };
        std::unordered_map<Key, bool, KeyHash> results_;
        Scope* previous_;
    };

    static bool active();
    static std::optional<bool> find(const Evaluator& evaluator, const Element& element);
    static void store(const Evaluator& evaluator, const Element& element, bool result);
};

} // namespace html
