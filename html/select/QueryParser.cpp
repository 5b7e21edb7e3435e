#include "html/select/QueryParser.h"

#include "html/nodes/Exception.h"
#include "html/nodes/StringUtil.h"
#include "html/nodes/Validate.h"
#include "html/select/CombiningEvaluator.h"
#include "html/select/StructuralEvaluator.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <unicode/utf8.h>

namespace html {

namespace {

constexpr std::string_view combinators[] = {",", ">", "+", "~", " "};
constexpr std::string_view attributeOperators[] = {"=", "!=", "^=", "$=", "*=", "~="};

[[noreturn]] void selectorParseError(std::string message) {
    throw Exception(ExceptionType::SelectorParseException, std::move(message));
}

bool isNumeric(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Parses an optionally signed run of ASCII digits; false when the text is anything else or the
// value does not fit an int.
bool toInt(std::string_view s, int& out) {
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s.empty() || s.front() == '+') return false;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && end == s.data() + s.size();
}

void appendUtf8(std::string& out, char32_t c) {
    uint8_t buf[U8_MAX_LENGTH];
    int32_t len = 0;
    UBool error = false;
    U8_APPEND(buf, len, U8_MAX_LENGTH, static_cast<UChar32>(c), error);
    if (error) {
        out += "\xEF\xBF\xBD";
        return;
    }
    out.append(reinterpret_cast<const char*>(buf), static_cast<std::size_t>(len));
}

std::string withoutWhitespace(std::string_view s) {
    std::string out;
    for (char c : s) {
        if (!StringUtil::isWhitespace(c)) out += c;
    }
    return out;
}

} // namespace

QueryParser::QueryParser(std::string query, int nesting)
    : tq_(query), query_(std::move(query)), nesting_(nesting) {
    if (nesting_ > maxNesting)
        selectorParseError("Could not parse query " + query_ + ": selector nests too deeply");
}

EvaluatorPtr QueryParser::parse(std::string_view query) {
    return QueryParser(std::string(query)).parse();
}

void QueryParser::checkDepth(int depth) const {
    if (depth > maxDepth)
        selectorParseError("Could not parse query " + query_ + ": selector nests too deeply");
}

EvaluatorPtr QueryParser::parseSubQuery(std::string subQuery, int& depth) const {
    QueryParser sub(std::move(subQuery), nesting_ + 1);
    EvaluatorPtr result = sub.parse();
    depth = sub.resultDepth_;
    return result;
}

void QueryParser::add(EvaluatorPtr evaluator, int depth) {
    checkDepth(depth);
    evals_.push_back(std::move(evaluator));
    depths_.push_back(depth);
}

EvaluatorPtr QueryParser::parse() {
    tq_.consumeWhitespace();

    if (tq_.matchesAny(combinators)) {
        add(std::make_unique<StructuralEvaluator::Root>());
        parseCombinator(tq_.consume());
    } else {
        parseSimpleSelector();
    }

    while (!tq_.isEmpty()) {
        const bool seenWhite = tq_.consumeWhitespace();
        // Trailing whitespace ends the query; it is not a descendant combinator without a right side.
        if (tq_.isEmpty()) break;
        if (tq_.matchesAny(combinators)) {
            parseCombinator(tq_.consume());
        } else if (seenWhite) {
            parseCombinator(' ');
        } else {
            parseSimpleSelector();
        }
    }

    if (evals_.size() == 1) {
        resultDepth_ = depths_.front();
        depths_.clear();
        return std::move(evals_.front());
    }
    resultDepth_ = 1 + (depths_.empty() ? 0 : *std::max_element(depths_.begin(), depths_.end()));
    checkDepth(resultDepth_);
    depths_.clear();
    return std::make_unique<CombiningEvaluator::And>(std::move(evals_));
}

std::string QueryParser::readSubQuery() {
    std::string sq;
    while (!tq_.isEmpty()) {
        if (tq_.matches("(")) {
            sq += "(";
            sq += tq_.chompBalanced('(', ')');
            sq += ")";
        } else if (tq_.matches("[")) {
            sq += "[";
            sq += tq_.chompBalanced('[', ']');
            sq += "]";
        } else if (tq_.matchesAny(combinators)) {
            break;
        } else {
            appendUtf8(sq, tq_.consume());
        }
    }
    return sq;
}

void QueryParser::parseCombinator(char32_t combinator) {
    tq_.consumeWhitespace();
    int newDepth = 0;
    EvaluatorPtr newEval = parseSubQuery(readSubQuery(), newDepth);

    EvaluatorPtr root;
    EvaluatorPtr current;
    int rootDepth = 0;
    CombiningEvaluator::Or* rightMostOf = nullptr;
    if (evals_.size() == 1) {
        root = std::move(evals_.front());
        rootDepth = depths_.front();
        auto* rootOr = dynamic_cast<CombiningEvaluator::Or*>(root.get());
        if (rootOr && combinator != ',') {
            // A combinator after a group applies to the group's last member only.
            rightMostOf = rootOr;
            current = rootOr->replaceRightMostEvaluator(nullptr);
        } else {
            current = std::move(root);
        }
    } else {
        rootDepth = 1 + (depths_.empty() ? 0 : *std::max_element(depths_.begin(), depths_.end()));
        current = std::make_unique<CombiningEvaluator::And>(std::move(evals_));
    }
    evals_.clear();
    depths_.clear();

    // `rootDepth` bounds the depth of `current` too, which is all the check needs.
    const int currentDepth = rootDepth;
    EvaluatorPtr result;
    int resultDepth = 0;
    switch (combinator) {
    case '>':
        result = CombiningEvaluator::And::of(
            std::move(newEval), std::make_unique<StructuralEvaluator::ImmediateParent>(std::move(current)));
        resultDepth = 1 + std::max(newDepth, currentDepth + 1);
        break;
    case ' ':
        result = CombiningEvaluator::And::of(
            std::move(newEval), std::make_unique<StructuralEvaluator::Parent>(std::move(current)));
        resultDepth = 1 + std::max(newDepth, currentDepth + 1);
        break;
    case '+':
        result = CombiningEvaluator::And::of(
            std::move(newEval),
            std::make_unique<StructuralEvaluator::ImmediatePreviousSibling>(std::move(current)));
        resultDepth = 1 + std::max(newDepth, currentDepth + 1);
        break;
    case '~':
        result = CombiningEvaluator::And::of(
            std::move(newEval), std::make_unique<StructuralEvaluator::PreviousSibling>(std::move(current)));
        resultDepth = 1 + std::max(newDepth, currentDepth + 1);
        break;
    case ',':
        if (auto* currentOr = dynamic_cast<CombiningEvaluator::Or*>(current.get())) {
            currentOr->add(std::move(newEval));
            result = std::move(current);
            resultDepth = std::max(currentDepth, newDepth + 1);
        } else {
            result = CombiningEvaluator::Or::of(std::move(current), std::move(newEval));
            resultDepth = 1 + std::max(currentDepth, newDepth);
        }
        break;
    default: {
        std::string text = "Unknown combinator: ";
        appendUtf8(text, combinator);
        selectorParseError(std::move(text));
    }
    }

    if (rightMostOf) {
        rightMostOf->replaceRightMostEvaluator(std::move(result));
        add(std::move(root), std::max(rootDepth, resultDepth + 1));
    } else {
        add(std::move(result), resultDepth);
    }
}

void QueryParser::parseSimpleSelector() {
    if (tq_.matchChomp("#")) {
        parseIdSelector();
    } else if (tq_.matchChomp(".")) {
        parseClassSelector();
    } else if (tq_.matchesWord() || tq_.matches("*|")) {
        parseTagSelector();
    } else if (tq_.matches("[")) {
        parseAttributeSelector();
    } else if (tq_.matchChomp("*")) {
        add(std::make_unique<Evaluator::AllElements>());
    } else if (tq_.matchChomp(":lt(")) {
        add(std::make_unique<Evaluator::IndexLessThan>(readIndex()));
    } else if (tq_.matchChomp(":gt(")) {
        add(std::make_unique<Evaluator::IndexGreaterThan>(readIndex()));
    } else if (tq_.matchChomp(":eq(")) {
        add(std::make_unique<Evaluator::IndexEquals>(readIndex()));
    } else if (tq_.matches(":has(")) {
        parseHas();
    } else if (tq_.matches(":contains(")) {
        parseContains(false);
    } else if (tq_.matches(":containsOwn(")) {
        parseContains(true);
    } else if (tq_.matches(":matches(")) {
        parseMatches(false);
    } else if (tq_.matches(":matchesOwn(")) {
        parseMatches(true);
    } else if (tq_.matches(":not(")) {
        parseNot();
    } else if (tq_.matchChomp(":nth-child(")) {
        parseNthSelector(false, false);
    } else if (tq_.matchChomp(":nth-last-child(")) {
        parseNthSelector(true, false);
    } else if (tq_.matchChomp(":nth-of-type(")) {
        parseNthSelector(false, true);
    } else if (tq_.matchChomp(":nth-last-of-type(")) {
        parseNthSelector(true, true);
    } else if (tq_.matchChomp(":first-child")) {
        add(std::make_unique<Evaluator::IsFirstChild>());
    } else if (tq_.matchChomp(":last-child")) {
        add(std::make_unique<Evaluator::IsLastChild>());
    } else if (tq_.matchChomp(":first-of-type")) {
        add(std::make_unique<Evaluator::IsFirstOfType>());
    } else if (tq_.matchChomp(":last-of-type")) {
        add(std::make_unique<Evaluator::IsLastOfType>());
    } else if (tq_.matchChomp(":only-child")) {
        add(std::make_unique<Evaluator::IsOnlyChild>());
    } else if (tq_.matchChomp(":only-of-type")) {
        add(std::make_unique<Evaluator::IsOnlyOfType>());
    } else if (tq_.matchChomp(":empty")) {
        add(std::make_unique<Evaluator::IsEmpty>());
    } else if (tq_.matchChomp(":root")) {
        add(std::make_unique<Evaluator::IsRoot>());
    } else {
        selectorParseError("Could not parse query " + query_ + ": unexpected token at " + tq_.remainder());
    }
}

void QueryParser::parseIdSelector() {
    std::string id = tq_.consumeCssIdentifier();
    Validate::notEmpty(id);
    add(std::make_unique<Evaluator::Id>(std::move(id)));
}

void QueryParser::parseClassSelector() {
    const std::string className = tq_.consumeCssIdentifier();
    Validate::notEmpty(className);
    add(std::make_unique<Evaluator::Class>(std::string(StringUtil::trim(className))));
}

void QueryParser::parseTagSelector() {
    std::string tagName = tq_.consumeElementSelector();
    Validate::notEmpty(tagName);

    if (tagName.starts_with("*|")) {
        // Any namespace: the plain name, or any prefixed name ending in ":name".
        const std::string plain =
            StringUtil::lowerCaseAscii(StringUtil::trim(std::string_view(tagName).substr(2)));
        add(CombiningEvaluator::Or::of(std::make_unique<Evaluator::Tag>(plain),
                                       std::make_unique<Evaluator::TagEndsWith>(":" + plain)),
            2);
    } else {
        // ‹ns|tag› selects the element named ‹ns:tag›.
        std::replace(tagName.begin(), tagName.end(), '|', ':');
        add(std::make_unique<Evaluator::Tag>(std::string(StringUtil::trim(tagName))));
    }
}

void QueryParser::parseAttributeSelector() {
    TokenQueue cq(tq_.chompBalanced('[', ']'));
    const std::string key = cq.consumeToAny(attributeOperators);
    Validate::notEmpty(key);
    cq.consumeWhitespace();

    if (cq.isEmpty()) {
        // A key written with spaces inside the brackets (‹[ x ]›) names the attribute x.
        const std::string_view trimmed = StringUtil::trim(key);
        Validate::notEmpty(trimmed);
        if (trimmed.starts_with("^")) {
            add(std::make_unique<Evaluator::AttributeStarting>(std::string(trimmed.substr(1))));
        } else {
            add(std::make_unique<Evaluator::Attribute>(std::string(trimmed)));
        }
        return;
    }

    if (cq.matchChomp("=")) {
        add(std::make_unique<Evaluator::AttributeWithValue>(key, cq.remainder()));
    } else if (cq.matchChomp("!=")) {
        add(std::make_unique<Evaluator::AttributeWithValueNot>(key, cq.remainder()));
    } else if (cq.matchChomp("^=")) {
        add(std::make_unique<Evaluator::AttributeWithValueStarting>(key, cq.remainder()));
    } else if (cq.matchChomp("$=")) {
        add(std::make_unique<Evaluator::AttributeWithValueEnding>(key, cq.remainder()));
    } else if (cq.matchChomp("*=")) {
        add(std::make_unique<Evaluator::AttributeWithValueContaining>(key, cq.remainder()));
    } else if (cq.matchChomp("~=")) {
        add(std::make_unique<Evaluator::AttributeWithValueMatching>(
            StringUtil::lowerCaseAscii(StringUtil::trim(key)), Pattern(cq.remainder())));
    } else {
        selectorParseError("Could not parse attribute query '" + query_ + "': unexpected token at '" +
                           cq.remainder() + "'");
    }
}

int QueryParser::readIndex() {
    const std::string index(StringUtil::trim(tq_.chompTo(")")));
    Validate::isTrue(isNumeric(index), "Index must be numeric");
    int value = 0;
    // All digits, so the only failure left is a value beyond int; no sibling index gets there.
    if (!toInt(index, value)) value = INT_MAX;
    return value;
}

void QueryParser::parseNthSelector(bool backwards, bool ofType) {
    const std::string arg = StringUtil::lowerCaseAscii(StringUtil::trim(tq_.chompTo(")")));
    const auto fail = [&arg]() -> void {
        selectorParseError("Could not parse nth-index '" + arg + "': unexpected format");
    };

    int a = 0;
    int b = 0;
    if (arg == "odd") {
        a = 2;
        b = 1;
    } else if (arg == "even") {
        a = 2;
        b = 0;
    } else {
        static const Pattern nthAB("((\\+|-)?(\\d+)?)n(\\s*(\\+|-)?\\s*\\d+)?");
        static const Pattern nthB("(\\+|-)?(\\d+)");
        Matcher mAB = nthAB.matcher(arg);
        Matcher mB;
        if (mAB.find()) {
            if (mAB.group(3)) {
                if (!toInt(*mAB.group(1), a)) fail();
            } else {
                // A bare sign counts as one n: ‹-n+3› is the first three.
                a = mAB.group(2).value_or("") == "-" ? -1 : 1;
            }
            if (const auto g4 = mAB.group(4)) {
                if (!toInt(withoutWhitespace(*g4), b)) fail();
            }
        } else if ((mB = nthB.matcher(arg)).find()) {
            a = 0;
            if (!toInt(*mB.group(), b)) fail();
        } else {
            fail();
        }
    }

    if (ofType) {
        if (backwards) {
            add(std::make_unique<Evaluator::IsNthLastOfType>(a, b));
        } else {
            add(std::make_unique<Evaluator::IsNthOfType>(a, b));
        }
    } else if (backwards) {
        add(std::make_unique<Evaluator::IsNthLastChild>(a, b));
    } else {
        add(std::make_unique<Evaluator::IsNthChild>(a, b));
    }
}

void QueryParser::parseHas() {
    tq_.consume(":has");
    std::string subQuery = tq_.chompBalanced('(', ')');
    Validate::notEmpty(subQuery, ":has(el) subselect must not be empty");
    int depth = 0;
    EvaluatorPtr inner = parseSubQuery(std::move(subQuery), depth);
    add(std::make_unique<StructuralEvaluator::Has>(std::move(inner)), depth + 1);
}

void QueryParser::parseNot() {
    tq_.consume(":not");
    std::string subQuery = tq_.chompBalanced('(', ')');
    Validate::notEmpty(subQuery, ":not(selector) subselect must not be empty");
    int depth = 0;
    EvaluatorPtr inner = parseSubQuery(std::move(subQuery), depth);
    add(std::make_unique<StructuralEvaluator::Not>(std::move(inner)), depth + 1);
}

void QueryParser::parseContains(bool own) {
    tq_.consume(own ? ":containsOwn" : ":contains");
    const std::string searchText = TokenQueue::unescape(tq_.chompBalanced('(', ')'));
    Validate::notEmpty(searchText, ":contains(text) query must not be empty");
    if (own) {
        add(std::make_unique<Evaluator::ContainsOwnText>(searchText));
    } else {
        add(std::make_unique<Evaluator::ContainsText>(searchText));
    }
}

void QueryParser::parseMatches(bool own) {
    tq_.consume(own ? ":matchesOwn" : ":matches");
    std::string regex = tq_.chompBalanced('(', ')');
    Validate::notEmpty(regex, ":matches(regex) query must not be empty");
    if (own) {
        add(std::make_unique<Evaluator::MatchesOwn>(Pattern(std::move(regex))));
    } else {
        add(std::make_unique<Evaluator::Matches>(Pattern(std::move(regex))));
    }
}

} // namespace html
