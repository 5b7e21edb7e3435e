#pragma once

#include "html/nodes/Node.h"
#include "html/parser/HtmlTreeBuilderState.h"
#include "html/parser/TagSet.h"
#include "html/parser/TreeBuilder.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace html {

class Attributes;
class FormElement;
class Token;

// Builds a document (or a fragment) from the tokeniser's tokens by the HTML tree-construction
// algorithm: the 23 insertion modes, the stack of open elements, the list of active formatting
// elements, foster parenting and the adoption agency.
class HtmlTreeBuilder : public TreeBuilder {
public:
    HtmlTreeBuilder();
    ~HtmlTreeBuilder() override;

    Ref<Document> parse(std::string_view input, std::string_view baseUri, ParseErrorList* errors,
                        const ParseSettings& settings) override;

    // Parses input as the content of context (may be null: then as a document) and returns the
    // top-level nodes. The nodes still belong to the builder's scratch document until moved.
    std::vector<Ref<Node>> parseFragment(std::string_view input, Element* context, std::string_view baseUri,
                                         ParseErrorList* errors, const ParseSettings& settings);

    HtmlTreeBuilderState state() const noexcept { return _state; }

private:
    enum class Kind : std::uint8_t { Doctype, StartTag, EndTag, Comment, Char, EndOfFile };

    // The token being processed, in the form the modes read it. Synthetic tags (an implied
    // <head>, an end tag acted upon "as if seen") have no underlying token.
    struct Tok {
        Kind kind = Kind::EndOfFile;
        TagId id = TagId::Other;
        bool selfClosing = false;
        std::string_view name;                  // tag name as written (element names keep case when asked to)
        std::string_view normalName;            // ASCII lower case
        std::string_view data;                  // character or comment data
        Token* token = nullptr;                 // the tokeniser's token, for attributes and doctype fields
        const Attributes* attributes = nullptr; // attributes of a synthetic start tag

        bool isStart(TagId t) const noexcept { return kind == Kind::StartTag && id == t; }
        bool isEnd(TagId t) const noexcept { return kind == Kind::EndTag && id == t; }
        bool isStartIn(const TagSet& s) const noexcept { return kind == Kind::StartTag && s.contains(id); }
        bool isEndIn(const TagSet& s) const noexcept { return kind == Kind::EndTag && s.contains(id); }
    };

    void initialiseParse(std::string_view input, std::string_view baseUri, ParseErrorList* errors,
                         const ParseSettings& settings) override;
    void runParser() override;
    static Tok view(Token& token);

    // Dispatch.
    bool process(Tok& t) {
        currentKind = t.kind;
        return process(t, _state);
    }
    bool process(Tok& t, HtmlTreeBuilderState mode);
    bool processStartTag(std::string_view name, const Attributes* attributes = nullptr);
    bool processEndTag(std::string_view name);
    void transition(HtmlTreeBuilderState mode) noexcept { _state = mode; }
    void markInsertionMode() noexcept { _originalState = _state; }
    HtmlTreeBuilderState originalState() const noexcept { return _originalState; }

    // The insertion modes, one member function each, and the steps they share.
#define HTML_INSERTION_MODE(name, function, title) bool function(Tok& t);
#include "html/parser/InsertionModes.def"
#undef HTML_INSERTION_MODE
    // In body and text.
    bool inBodyStartTag(Tok& t);
    // One function per branch of the in-body start tags.
    bool inBodyStartHtml(Tok& t);
    bool inBodyStartBody(Tok& t);
    bool inBodyStartFrameset(Tok& t);
    bool inBodyStartHeading(Tok& t);
    bool inBodyStartPreListing(Tok& t);
    bool inBodyStartForm(Tok& t);
    bool inBodyStartListItem(Tok& t);
    bool inBodyStartPlaintext(Tok& t);
    bool inBodyStartButton(Tok& t);
    bool inBodyStartA(Tok& t);
    bool inBodyStartNobr(Tok& t);
    bool inBodyStartTable(Tok& t);
    bool inBodyStartInput(Tok& t);
    bool inBodyStartHr(Tok& t);
    bool inBodyStartImage(Tok& t);
    bool inBodyStartIsindex(Tok& t);
    bool inBodyStartTextarea(Tok& t);
    bool inBodyStartXmp(Tok& t);
    bool inBodyStartIframe(Tok& t);
    bool inBodyStartNoembed(Tok& t);
    bool inBodyStartSelect(Tok& t);
    bool inBodyStartOption(Tok& t);
    bool inBodyStartRuby(Tok& t);
    bool inBodyStartPCloser(Tok& t);
    bool inBodyStartFormatter(Tok& t);
    bool inBodyStartApplet(Tok& t);
    bool inBodyStartEmptyElement(Tok& t);
    bool inBodyStartParamSourceTrack(Tok& t);
    bool inBodyStartIgnored(Tok& t);
    bool inBodyStartOther(Tok& t);
    bool inBodyEndTag(Tok& t);
    // One function per branch of the in-body end tags that is more than a helper's call.
    bool inBodyEndBody(Tok& t);
    bool inBodyEndHtml(Tok& t);
    bool inBodyEndForm(Tok& t);
    bool inBodyEndP(Tok& t);
    bool inBodyEndHeading(Tok& t);
    bool inBodyEndBr(Tok& t);
    bool inBodyEndApplet(Tok& t);
    bool inBodyAnyOtherEndTag(Tok& t);
    bool closeElementInScope(bool inScopeNow, TagId id, TagId keep = TagId::Other);
    bool adoptionAgency(Tok& t);
    // The new elements the adoption agency's inner loop chained up: the last of them (or the
    // furthest block), and the one that holds the chain until it is in the tree.
    struct AdoptedChain {
        Element* lastNode;
        Ref<Element> hold;
    };
    AdoptedChain adoptionInnerLoop(Element* formatting, std::size_t furthestBlockPos, std::size_t& bookmark);
    // The table family.
    bool inTableAnythingElse(Tok& t);
    bool inTableBodyExitTable(Tok& t);
    void closeCell();
    // Select.
    // After body and the frameset modes.

    // Inserts only the whitespace of a character run (frameset modes drop everything else).
    void insertWhitespaceOnly(std::string_view data);

    // Element insertion.
    Element* insert(Tok& startTag);
    Element* insertStartTag(std::string_view name);
    void insert(Element* element, TagId id);
    Element* insertEmpty(Tok& startTag);
    FormElement* insertForm(Tok& startTag, bool onStack);
    void insertComment(Tok& t);
    void insertCharacters(std::string_view data);
    // The head-ish modes take a character token's leading whitespace and reprocess the rest:
    // these drop (skip) or insert that whitespace and say whether the token is used up.
    static bool skipLeadingWhitespace(Tok& t);
    bool insertLeadingWhitespace(Tok& t);
    void insertNode(Node* node);
    void insertInFosterParent(Node* node);
    Ref<Element> createElement(Tok& startTag);
    Attributes tokenAttributes(const Tok& startTag) const;
    // Copies the token's attributes into attrs, named as the settings ask.
    void fillAttributes(const Tok& startTag, Attributes& attrs) const;
    Ref<Element> cloneFormattingElement(const Element* element) const;
    void insertRawText(Tok& t, int tokeniserState);

    // The stack of open elements.
    // Every change to the stack goes through these, which keep openCount in step.
    void push(Element* element, TagId id) {
        stack.push_back({element, id});
        ++openCount[static_cast<std::size_t>(id)];
    }
    void popEntry() noexcept {
        --openCount[static_cast<std::size_t>(stack.back().id)];
        stack.pop_back();
    }
    void eraseEntry(std::size_t pos);
    void insertEntry(std::size_t pos, OpenElement entry);
    void clearStack() noexcept;
    bool anyOpen(const TagSet& ids) const noexcept;
    Element* pop();
    bool onStack(const Element* element) const noexcept;
    bool removeFromStack(const Element* element);
    void popStackToClose(TagId id, std::string_view name);
    void popStackToClose(const TagSet& ids);
    void popStackToClose(const Element* element);
    void clearStackToContext(const TagSet& ids);
    void clearStackToTableContext() {
        clearStackToContext(TagSet{TagId::Table, TagId::Html});
    }
    void clearStackToTableBodyContext() {
        clearStackToContext(TagSet{TagId::Tbody, TagId::Tfoot, TagId::Thead, TagId::Html});
    }
    void clearStackToTableRowContext() {
        clearStackToContext(TagSet{TagId::Tr, TagId::Html});
    }
    void resetInsertionMode();
    bool currentIs(TagId id) const noexcept {
        return !stack.empty() && stack.back().id == id;
    }
    bool currentIs(TagId id, std::string_view name) const noexcept;
    TagId currentId() const noexcept {
        return stack.empty() ? TagId::Other : stack.back().id;
    }

    // Scopes.
    bool inSpecificScope(TagId id, std::string_view name, const TagSet& base) const;
    bool inSpecificScope(const TagSet& targets, const TagSet& base) const;
    bool inScope(TagId id, std::string_view name = {}) const;
    bool inScope(const TagSet& targets) const;
    bool inListItemScope(TagId id) const;
    bool inButtonScope(TagId id) const;
    bool inTableScope(TagId id) const;
    bool inTableScope(const TagSet& targets) const;
    bool inSelectScope(TagId id) const;
    void generateImpliedEndTags(TagId except = TagId::Other);
    void closePElementIfInButtonScope();

    // The list of active formatting elements.
    void pushActiveFormattingElements(Element* element, TagId id);
    void reconstructFormattingElements();
    void clearFormattingElementsToLastMarker();
    void removeFromActiveFormattingElements(const Element* element);
    bool isInActiveFormattingElements(const Element* element) const noexcept;
    // Where an element is on the stack (searching down from the current node) or in the list of
    // active formatting elements (from its end); the container's size when it is not there.
    std::size_t stackIndexOf(const Element* element) const noexcept;
    std::size_t formattingIndexOf(const Element* element) const noexcept;
    Element* getActiveFormattingElement(TagId id) const noexcept;
    void insertMarkerToFormattingElements() {
        formattingElements.push_back({});
    }

    void maybeSetBaseUri(Element* base);
    void error(HtmlTreeBuilderState mode);

    HtmlTreeBuilderState _state = HtmlTreeBuilderState::Initial;
    HtmlTreeBuilderState _originalState = HtmlTreeBuilderState::Initial;
    bool baseUriSetFromDoc = false;
    Element* headElement = nullptr;
    FormElement* formElement = nullptr;
    Element* contextElement = nullptr;
    std::vector<OpenElement> formattingElements;
    std::string pendingTableCharacters;
    bool pendingTableHasText = false;
    bool _framesetOk = true;
    bool fosterInserts = false;
    bool fragmentParsing = false;

    // Set when a self-closing start tag of a non-void element was inserted: its end tag is
    // processed next, so that <div/> is empty.
    bool emptyEndPending = false;
    std::string emptyEnd;
    // A newline right after <pre>, <listing> or <textarea> is dropped.
    bool skipNextNewline = false;
    Kind currentKind = Kind::EndOfFile;
    Ref<Element> removedBody; // a body that a frameset replaced
    // How many elements of each id are open: a scope test for an element that is not open at
    // all answers at once instead of walking a deep stack (a million nested divs each asking
    // whether a p is in button scope).
    std::array<std::uint32_t, static_cast<std::size_t>(TagId::Count_)> openCount{};
};

} // namespace html
