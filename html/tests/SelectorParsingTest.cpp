#include "html/nodes/Exception.h"
#include "html/select/CombiningEvaluator.h"
#include "html/select/QueryParser.h"
#include "html/select/StructuralEvaluator.h"
#include "html/select/TokenQueue.h"

#include <gtest/gtest.h>

using namespace html;

namespace {

// The shape of a parsed query: leaves by their text form, And/Or/structural nodes by name.
std::string shape(const Evaluator& e) {
    auto list = [](const char* name, const CombiningEvaluator& c) {
        std::string out = std::string(name) + "(";
        for (std::size_t i = 0; i < c.evaluators().size(); ++i) {
            if (i) out += ", ";
            out += shape(*c.evaluators()[i]);
        }
        return out + ")";
    };
    if (auto* a = dynamic_cast<const CombiningEvaluator::And*>(&e)) return list("And", *a);
    if (auto* o = dynamic_cast<const CombiningEvaluator::Or*>(&e)) return list("Or", *o);
    if (dynamic_cast<const StructuralEvaluator::Root*>(&e)) return "Root";
    auto inner = [](const char* name, const StructuralEvaluator& s) {
        return std::string(name) + "(" + shape(*s.evaluator()) + ")";
    };
    if (auto* s = dynamic_cast<const StructuralEvaluator::Parent*>(&e)) return inner("Parent", *s);
    if (auto* s = dynamic_cast<const StructuralEvaluator::ImmediateParent*>(&e))
        return inner("ImmediateParent", *s);
    if (auto* s = dynamic_cast<const StructuralEvaluator::PreviousSibling*>(&e))
        return inner("PreviousSibling", *s);
    if (auto* s = dynamic_cast<const StructuralEvaluator::ImmediatePreviousSibling*>(&e))
        return inner("ImmediatePreviousSibling", *s);
    if (auto* s = dynamic_cast<const StructuralEvaluator::Has*>(&e)) return inner("Has", *s);
    if (auto* s = dynamic_cast<const StructuralEvaluator::Not*>(&e)) return inner("Not", *s);
    return e.toString();
}

std::string parsed(std::string_view query) {
    return shape(*QueryParser::parse(query));
}

// Runs `f` and returns the kind and message it failed with.
template <class F> std::pair<ExceptionType, std::string> failure(F&& f) {
    try {
        f();
    } catch (const Exception& e) {
        return {e.type(), e.message()};
    }
    ADD_FAILURE() << "expected an Exception";
    return {};
}

std::pair<ExceptionType, std::string> parseFailure(std::string_view query) {
    return failure([&] { QueryParser::parse(query); });
}

constexpr auto selectorError = ExceptionType::SelectorParseException;
constexpr auto argumentError = ExceptionType::IllegalArgumentException;

} // namespace

TEST(TokenQueue, LooksAheadIgnoringAsciiCaseAndConsumesWholeCharacters) {
    TokenQueue tq("Ünï:CONTAINS(x)");
    EXPECT_TRUE(tq.matchesWord());
    EXPECT_EQ(tq.consumeCssIdentifier(), "Ünï");
    EXPECT_TRUE(tq.matches(":contains("));
    EXPECT_FALSE(tq.matchesCS(":contains("));
    EXPECT_TRUE(tq.matchChomp(":Contains"));
    EXPECT_EQ(tq.peek(), U'(');

    TokenQueue shortQueue("ab");
    EXPECT_FALSE(shortQueue.matches("abc"));
    EXPECT_EQ(failure([&] { shortQueue.consume("abc"); }).second,
              "Queue not long enough to consume sequence");
    EXPECT_EQ(failure([&] { shortQueue.consume("ax"); }).second, "Queue did not match expected sequence");
    shortQueue.consume("AB");
    EXPECT_TRUE(shortQueue.isEmpty());
    EXPECT_EQ(shortQueue.peek(), U'\0');
}

TEST(TokenQueue, ConsumeToAndChompTo) {
    TokenQueue tq("one TWO two three");
    EXPECT_EQ(tq.consumeTo("two"), "one TWO ");
    tq.addFirst("one TWO ");
    EXPECT_EQ(tq.consumeToIgnoreCase("two"), "one ");
    EXPECT_EQ(tq.chompToIgnoreCase("two"), "");
    EXPECT_EQ(tq.chompTo("three"), " two ");
    EXPECT_TRUE(tq.isEmpty());

    TokenQueue missing("abc");
    EXPECT_EQ(missing.consumeTo(")"), "abc");
    EXPECT_TRUE(missing.isEmpty());
}

TEST(TokenQueue, ChompBalancedHonoursNestingQuotesAndEscapes) {
    TokenQueue nested("(a(b)c) rest");
    EXPECT_EQ(nested.chompBalanced('(', ')'), "a(b)c");
    EXPECT_EQ(nested.remainder(), " rest");

    TokenQueue quoted("[x=')]'] tail");
    EXPECT_EQ(quoted.chompBalanced('[', ']'), "x=')]'");
    EXPECT_EQ(quoted.toString(), " tail");

    TokenQueue escaped(R"((a\)b) tail)");
    EXPECT_EQ(escaped.chompBalanced('(', ')'), R"(a\)b)");

    TokenQueue unclosed("(abc");
    EXPECT_EQ(unclosed.chompBalanced('(', ')'), "abc");
    TokenQueue empty("()x");
    EXPECT_EQ(empty.chompBalanced('(', ')'), "");
    EXPECT_EQ(empty.remainder(), "x");

    EXPECT_EQ(TokenQueue::unescape(R"(a\)b\\c)"), R"(a)b\c)");
}

TEST(QueryParser, CompoundSelectorsAndCombinators) {
    EXPECT_EQ(parsed("div.bookTitle"), "And(div, .bookTitle)");
    EXPECT_EQ(parsed("div .x"), "And(.x, Parent(div))");
    EXPECT_EQ(parsed("div  >  p"), "And(p, ImmediateParent(div))");
    EXPECT_EQ(parsed("a + b ~ c"), "And(c, PreviousSibling(And(b, ImmediatePreviousSibling(a))))");
    EXPECT_EQ(parsed("ul li.x a"), "And(a, Parent(And(And(li, .x), Parent(ul))))");
}

TEST(QueryParser, CommaBindsLoosestAndLaterCombinatorsApplyToTheLastMember) {
    EXPECT_EQ(parsed("a b, c d"), "Or(And(b, Parent(a)), And(d, Parent(c)))");
    EXPECT_EQ(parsed("a, b > c"), "Or(a, And(c, ImmediateParent(b)))");
    EXPECT_EQ(parsed("a, b, c"), "Or(a, b, c)");
    EXPECT_EQ(parsed("a, b c, d"), "Or(a, And(c, Parent(b)), d)");
}

TEST(QueryParser, LeadingCombinatorHangsOffTheRoot) {
    EXPECT_EQ(parsed("> p"), "And(p, ImmediateParent(Root))");
    EXPECT_EQ(parsed("  + p"), "And(p, ImmediatePreviousSibling(Root))");
    EXPECT_EQ(parsed("> p > a"), "And(a, ImmediateParent(And(p, ImmediateParent(Root))))");
}

TEST(QueryParser, NamesAndPseudoClassesIgnoreCase) {
    EXPECT_EQ(parsed(":Root"), ":root");
    EXPECT_EQ(parsed("p:FIRST-CHILD"), "And(p, :first-child)");
    EXPECT_EQ(parsed("p:Nth-Last-Of-Type(2)"), "And(p, :nth-last-of-type(2))");
    EXPECT_EQ(parsed(":CONTAINS(Foo)"), ":contains(foo)");
    EXPECT_EQ(parsed("ns|tag"), "ns:tag");
    EXPECT_EQ(parsed("*|tag"), "Or(tag, :tag)");
}

TEST(QueryParser, AttributeSelectors) {
    EXPECT_EQ(parsed("[^data-]"), "[^data-]");
    EXPECT_EQ(parsed("[ title ]"), "[title]");
    EXPECT_EQ(parsed("[data-x = 'Y']"), "[data-x=y]");
    EXPECT_EQ(parsed("[X=\"A b\"]"), "[x=a b]");
    EXPECT_EQ(parsed("[a!=b][c^=d][e$=f][g*=h]"), "And([a!=b], [c^=d], [e$=f], [g*=h])");
    EXPECT_EQ(parsed("[x~=\\d+]"), "[x~=\\d+]");
    EXPECT_EQ(parsed("a[href*=']']"), "And(a, [href*=]])");

    EXPECT_EQ(parseFailure("[=x]"), std::make_pair(argumentError, std::string("String must not be empty")));
    EXPECT_EQ(parseFailure("[x=]"), std::make_pair(argumentError, std::string("String must not be empty")));
    EXPECT_EQ(parseFailure("[^]"), std::make_pair(argumentError, std::string("String must not be empty")));
}

TEST(QueryParser, NthArguments) {
    auto ab = [](std::string_view query) {
        const EvaluatorPtr e = QueryParser::parse(query);
        const auto* nth = dynamic_cast<const Evaluator::CssNthEvaluator*>(e.get());
        return nth ? std::make_pair(nth->a(), nth->b()) : std::make_pair(-999, -999);
    };
    EXPECT_EQ(ab(":nth-child(odd)"), std::make_pair(2, 1));
    EXPECT_EQ(ab(":nth-child(EVEN)"), std::make_pair(2, 0));
    EXPECT_EQ(ab(":nth-child(2n+1)"), std::make_pair(2, 1));
    EXPECT_EQ(ab(":nth-child( 2n + 1 )"), std::make_pair(2, 1));
    EXPECT_EQ(ab(":nth-child(3)"), std::make_pair(0, 3));
    EXPECT_EQ(ab(":nth-child(+5)"), std::make_pair(0, 5));
    EXPECT_EQ(ab(":nth-child(n)"), std::make_pair(1, 0));
    EXPECT_EQ(ab(":nth-child(-n+3)"), std::make_pair(-1, 3));
    EXPECT_EQ(ab(":nth-of-type(-2n-1)"), std::make_pair(-2, -1));

    EXPECT_EQ(parseFailure(":nth-child(x)"),
              std::make_pair(selectorError, std::string("Could not parse nth-index 'x': unexpected format")));
    EXPECT_EQ(parseFailure(":nth-child(99999999999)").first, selectorError);
}

TEST(QueryParser, IndexPseudoClasses) {
    EXPECT_EQ(parsed("li:lt(3)"), "And(li, :lt(3))");
    EXPECT_EQ(parsed(":gt( 1 )"), ":gt(1)");
    EXPECT_EQ(parsed(":eq(0)"), ":eq(0)");
    EXPECT_EQ(parseFailure(":lt(abc)"), std::make_pair(argumentError, std::string("Index must be numeric")));
    EXPECT_EQ(parseFailure(":eq(-1)"), std::make_pair(argumentError, std::string("Index must be numeric")));
}

TEST(QueryParser, HasNotContainsAndMatches) {
    EXPECT_EQ(parsed("div:has(p > a)"), "And(div, Has(And(a, ImmediateParent(p))))");
    EXPECT_EQ(parsed("p:not(.x)"), "And(p, Not(.x))");
    EXPECT_EQ(parsed(":not(:has(:not(p )))"), "Not(Has(Not(p)))");
    EXPECT_EQ(parsed("div:has(span[class^=highlight_])"), "And(div, Has(And(span, [class^=highlight_])))");
    EXPECT_EQ(parsed(R"(:contains(a\)b))"), ":contains(a)b)");
    EXPECT_EQ(parsed(":containsOwn(x y)"), ":containsOwn(x y)");
    EXPECT_EQ(parsed(":matches(\\d+)"), ":matches(\\d+)");
    EXPECT_EQ(parsed(":matchesOwn([)"), ":matchesOwn([)"); // compiled only when used

    EXPECT_EQ(parseFailure(":has()"),
              std::make_pair(argumentError, std::string(":has(el) subselect must not be empty")));
    EXPECT_EQ(parseFailure("p:not()"),
              std::make_pair(argumentError, std::string(":not(selector) subselect must not be empty")));
    EXPECT_EQ(parseFailure(":contains()"),
              std::make_pair(argumentError, std::string(":contains(text) query must not be empty")));
    EXPECT_EQ(parseFailure(":matchesOwn()"),
              std::make_pair(argumentError, std::string(":matches(regex) query must not be empty")));
}

TEST(QueryParser, UnparsableQueries) {
    EXPECT_EQ(parseFailure(":hover"),
              std::make_pair(selectorError,
                             std::string("Could not parse query :hover: unexpected token at :hover")));
    EXPECT_EQ(parseFailure("div :hover").second, "Could not parse query :hover: unexpected token at :hover");
    EXPECT_EQ(parseFailure(""),
              std::make_pair(selectorError, std::string("Could not parse query : unexpected token at ")));
    EXPECT_EQ(parseFailure("#").second, "String must not be empty");
    EXPECT_EQ(parseFailure("div.").second, "String must not be empty");
}

TEST(QueryParser, RejectsQueriesNestedTooDeeplyInsteadOfExhaustingTheStack) {
    std::string nested;
    for (int i = 0; i < 5000; ++i)
        nested += ":not(";
    nested += "p";
    EXPECT_EQ(parseFailure(nested).first, selectorError);

    std::string chain = "a";
    for (int i = 0; i < 5000; ++i)
        chain += " > a";
    EXPECT_EQ(parseFailure(chain).first, selectorError);

    std::string group = "a";
    for (int i = 0; i < 5000; ++i)
        group += ", a";
    EXPECT_NO_THROW(QueryParser::parse(group));
}
