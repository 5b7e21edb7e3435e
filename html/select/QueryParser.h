#pragma once

#include "html/select/Evaluator.h"
#include "html/select/TokenQueue.h"

#include <string>
#include <string_view>
#include <vector>

namespace html {

// Turns a CSS selector into one Evaluator tree. Failures throw Exception: SelectorParseException
// for text that is not a selector, IllegalArgumentException for empty parts and bad indexes.
class QueryParser {
public:
    // Matching recurses through the evaluator tree and parsing recurses into parenthesised
    // sub-queries, so both are bounded to keep a hostile query from exhausting the stack.
    static constexpr int maxDepth = 4096;
    static constexpr int maxNesting = 256;

    static EvaluatorPtr parse(std::string_view query);

    explicit QueryParser(std::string query) : QueryParser(std::move(query), 0) {}
    EvaluatorPtr parse();

private:
    QueryParser(std::string query, int nesting);
    // Parses a sub-query with a fresh parser one level deeper; `depth` receives its tree depth.
    EvaluatorPtr parseSubQuery(std::string subQuery, int& depth) const;

    void add(EvaluatorPtr evaluator, int depth = 1);
    void checkDepth(int depth) const;
    std::string readSubQuery();
    void parseCombinator(char32_t combinator);
    void parseSimpleSelector();
    void parseIdSelector();
    void parseClassSelector();
    void parseTagSelector();
    void parseAttributeSelector();
    int readIndex();
    void parseNthSelector(bool backwards, bool ofType);
    void parseHas();
    void parseNot();
    void parseContains(bool own);
    void parseMatches(bool own);

    TokenQueue tq_;
    std::string query_;
    std::vector<EvaluatorPtr> evals_;
    std::vector<int> depths_; // an upper bound of the tree depth of each entry of evals_
    int nesting_;
    int resultDepth_ = 0;
};

} // namespace html
