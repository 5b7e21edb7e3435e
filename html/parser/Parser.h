#pragma once

#include "html/nodes/Document.h"
#include "html/nodes/Ref.h"
#include "html/parser/HtmlTreeBuilder.h"
#include "html/parser/ParseErrorList.h"
#include "html/parser/ParseSettings.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace html {

class Element;
class Node;

// The entry points of the HTML parser. The static functions parse with the default settings
// and no error tracking; a Parser instance (htmlParser()) can track errors and carry settings,
// which its parseInput and parseFragmentInput use. C++ lets a static be called through an
// instance, so `parser.parse(html)` compiles but is the static: it ignores the instance's
// settings and errors. Call parseInput (or html::parse(html, baseUri, parser)) on an instance.
class Parser {
public:
    explicit Parser(std::unique_ptr<HtmlTreeBuilder> treeBuilder);
    Parser(Parser&&) noexcept;
    Parser& operator=(Parser&&) noexcept;
    ~Parser();

    // A parser with a new HTML tree builder, its default settings and no error tracking.
    static Parser htmlParser();

    static Ref<Document> parse(std::string_view html, std::string_view baseUri = {});
    // The top-level nodes of html parsed in the context of context (a document parse when null).
    static std::vector<Ref<Node>> parseFragment(std::string_view html, Element* context,
                                                std::string_view baseUri = {});
    static std::vector<Ref<Node>> parseFragment(std::string_view html, Element* context,
                                                std::string_view baseUri, ParseErrorList* errorList);
    // A document shell whose body holds html parsed as body content.
    static Ref<Document> parseBodyFragment(std::string_view html, std::string_view baseUri = {});
    static std::string unescapeEntities(std::string_view string, bool inAttribute);

    // Parses with this parser's tree builder and settings, tracking errors when asked to.
    Ref<Document> parseInput(std::string_view html, std::string_view baseUri = {});
    // The same as a fragment in context.
    std::vector<Ref<Node>> parseFragmentInput(std::string_view html, Element* context,
                                              std::string_view baseUri = {});

    // Keeps up to maxErrors parse errors of the next parse (0 turns tracking off).
    Parser& setTrackErrors(std::size_t maxErrors);
    bool isTrackErrors() const noexcept { return _maxErrors > 0; }
    const ParseErrorList& getErrors() const noexcept { return _errors; }

    Parser& settings(const ParseSettings& settings);
    const ParseSettings& settings() const noexcept { return _settings; }

    HtmlTreeBuilder& getTreeBuilder() const noexcept { return *_treeBuilder; }
    Parser& setTreeBuilder(std::unique_ptr<HtmlTreeBuilder> treeBuilder);

private:
    std::unique_ptr<HtmlTreeBuilder> _treeBuilder;
    std::size_t _maxErrors = 0;
    ParseErrorList _errors;
    ParseSettings _settings;
};

// Parses a whole document with the default settings.
Ref<Document> parse(std::string_view html);
Ref<Document> parse(std::string_view html, std::string_view baseUri, Parser& parser);
// Parses html as the content of a new document's body.
Ref<Document> parseBodyFragment(std::string_view html);

} // namespace html
