#include "html/parser/TreeBuilder.h"

#include "html/nodes/Element.h"
#include "html/parser/CharacterReader.h"
#include "html/parser/ParseErrorList.h"
#include "html/parser/Tokeniser.h"

namespace html {

TreeBuilder::TreeBuilder() : settings(ParseSettings::htmlDefault()) {}
TreeBuilder::~TreeBuilder() = default;

const ParseSettings& TreeBuilder::defaultSettings() const {
    return ParseSettings::htmlDefault();
}

void TreeBuilder::initialiseParse(std::string_view input, std::string_view uri, ParseErrorList* errs,
                                  const ParseSettings& s) {
    baseUri.assign(uri);
    sharedBaseUri = make<SharedString>(std::string(uri));
    // A first block about the input's size: one block for a small fragment, few for a page.
    arena = NodeArena::create(input.size());
    doc = makeIn<Document>(arena.get(), baseUri);
    // Input preprocessing: CR LF and lone CR become LF and malformed UTF-8 becomes U+FFFD, so the
    // tree only ever holds valid text (no copy when the input needs neither).
    if (auto normalised = CharacterReader::preprocess(input))
        reader = std::make_unique<CharacterReader>(std::move(*normalised));
    else
        reader = std::make_unique<CharacterReader>(input);
    errors = errs;
    tokeniser = std::make_unique<Tokeniser>(*reader, errors);
    stack.clear();
    stack.reserve(32);
    settings = s;
}

} // namespace html
