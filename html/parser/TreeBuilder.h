#pragma once

#include "html/nodes/Document.h"
#include "html/nodes/NodeArena.h"
#include "html/nodes/Ref.h"
#include "html/nodes/SharedString.h"
#include "html/parser/ParseSettings.h"
#include "html/parser/TagId.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace html {

class CharacterReader;
class Element;
class ParseErrorList;
class Tokeniser;

// The common frame of a tree builder: the reader and tokeniser over one input, the document
// being built and the stack of open elements. A builder serves one parse at a time.
class TreeBuilder {
public:
    TreeBuilder();
    TreeBuilder(const TreeBuilder&) = delete;
    TreeBuilder& operator=(const TreeBuilder&) = delete;
    virtual ~TreeBuilder();

    virtual const ParseSettings& defaultSettings() const;

    // Parses a whole document. errors may be null (no tracking).
    virtual Ref<Document> parse(std::string_view input, std::string_view baseUri, ParseErrorList* errors,
                                const ParseSettings& settings) = 0;

    // The top of the stack of open elements, null when it is empty.
    Element* currentElement() const noexcept { return stack.empty() ? nullptr : stack.back().element; }

protected:
    // One entry of the stack of open elements (and of the list of active formatting elements,
    // where a null element is a marker). The id saves a name lookup on every stack walk.
    struct OpenElement {
        Element* element = nullptr;
        TagId id = TagId::Other;
    };

    virtual void initialiseParse(std::string_view input, std::string_view baseUri, ParseErrorList* errors,
                                 const ParseSettings& settings);
    // Reads tokens and processes them until the end-of-file token has been processed.
    virtual void runParser() = 0;

    std::unique_ptr<CharacterReader> reader;
    std::unique_ptr<Tokeniser> tokeniser;
    Ref<Document> doc;
    Ref<NodeArena> arena; // where this parse makes its nodes; held while the parse runs
    std::vector<OpenElement> stack;
    std::string baseUri;
    Ref<SharedString> sharedBaseUri; // one instance for every node of the parse
    ParseErrorList* errors = nullptr;
    ParseSettings settings;
};

} // namespace html
