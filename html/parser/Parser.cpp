#include "html/parser/Parser.h"

#include "html/nodes/Element.h"
#include "html/parser/Entities.h"

namespace html {

Parser::Parser(std::unique_ptr<HtmlTreeBuilder> treeBuilder)
    : _treeBuilder(std::move(treeBuilder)), _errors(ParseErrorList::noTracking()),
      _settings(_treeBuilder->defaultSettings()) {}
Parser::Parser(Parser&&) noexcept = default;
Parser& Parser::operator=(Parser&&) noexcept = default;
Parser::~Parser() = default;

Parser Parser::htmlParser() {
    return Parser(std::make_unique<HtmlTreeBuilder>());
}

Ref<Document> Parser::parse(std::string_view html, std::string_view baseUri) {
    HtmlTreeBuilder builder;
    return builder.parse(html, baseUri, nullptr, builder.defaultSettings());
}

std::vector<Ref<Node>> Parser::parseFragment(std::string_view html, Element* context,
                                             std::string_view baseUri) {
    return parseFragment(html, context, baseUri, nullptr);
}

std::vector<Ref<Node>> Parser::parseFragment(std::string_view html, Element* context,
                                             std::string_view baseUri, ParseErrorList* errorList) {
    HtmlTreeBuilder builder;
    return builder.parseFragment(html, context, baseUri, errorList, builder.defaultSettings());
}

Ref<Document> Parser::parseBodyFragment(std::string_view html, std::string_view baseUri) {
    Ref<Document> doc = Document::createShell(baseUri);
    Element* body = doc->body();
    std::vector<Ref<Node>> nodes = parseFragment(html, body, baseUri);
    // Detach first, then append in order: appending one by one keeps each node's own index right.
    for (const Ref<Node>& node : nodes)
        node->remove();
    for (const Ref<Node>& node : nodes)
        body->appendChild(node.get());
    return doc;
}

std::string Parser::unescapeEntities(std::string_view string, bool inAttribute) {
    return Entities::unescape(string, inAttribute);
}

Ref<Document> Parser::parseInput(std::string_view html, std::string_view baseUri) {
    _errors = isTrackErrors() ? ParseErrorList::tracking(_maxErrors) : ParseErrorList::noTracking();
    return _treeBuilder->parse(html, baseUri, &_errors, _settings);
}

std::vector<Ref<Node>> Parser::parseFragmentInput(std::string_view html, Element* context,
                                                  std::string_view baseUri) {
    _errors = isTrackErrors() ? ParseErrorList::tracking(_maxErrors) : ParseErrorList::noTracking();
    return _treeBuilder->parseFragment(html, context, baseUri, &_errors, _settings);
}

Parser& Parser::setTrackErrors(std::size_t maxErrors) {
    _maxErrors = maxErrors;
    return *this;
}

Parser& Parser::settings(const ParseSettings& settings) {
    _settings = settings;
    return *this;
}

Parser& Parser::setTreeBuilder(std::unique_ptr<HtmlTreeBuilder> treeBuilder) {
    _treeBuilder = std::move(treeBuilder);
    return *this;
}

Ref<Document> parse(std::string_view html) {
    return Parser::parse(html, "");
}

Ref<Document> parse(std::string_view html, std::string_view baseUri, Parser& parser) {
    return parser.parseInput(html, baseUri);
}

Ref<Document> parseBodyFragment(std::string_view html) {
    return Parser::parseBodyFragment(html, "");
}

} // namespace html
