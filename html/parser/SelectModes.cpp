// The select insertion modes: in select and in select in table.
#include "html/nodes/Element.h"
#include "html/parser/HtmlTreeBuilder.h"
#include "html/parser/Token.h"
#include "html/parser/TreeBuilderSets.h"

#include <string>

namespace html {

using State = HtmlTreeBuilderState;

// The "in select" insertion mode
bool HtmlTreeBuilder::inSelect(Tok& t) {
    switch (t.kind) {
    case Kind::Char: {
        if (t.data.find('\0') == std::string_view::npos) {
            insertCharacters(t.data);
            return true;
        }
        error(State::InSelect);
        std::string kept;
        for (char c : t.data)
            if (c != '\0') kept.push_back(c);
        insertCharacters(kept);
        return true;
    }
    case Kind::Comment: insertComment(t); return true;
    case Kind::Doctype: error(State::InSelect); return false;
    case Kind::StartTag:
        switch (t.id) {
        case TagId::Html: return inBody(t);
        case TagId::Option:
            if (currentIs(TagId::Option)) processEndTag("option");
            insert(t);
            return true;
        case TagId::Optgroup:
            if (currentIs(TagId::Option)) processEndTag("option");
            if (currentIs(TagId::Optgroup)) processEndTag("optgroup");
            insert(t);
            return true;
        case TagId::Select: error(State::InSelect); return processEndTag("select");
        case TagId::Input:
        case TagId::Keygen:
        case TagId::Textarea:
            error(State::InSelect);
            if (!inSelectScope(TagId::Select)) return false;
            processEndTag("select");
            return process(t);
        case TagId::Script: return inHead(t);
        default: break;
        }
        break;
    case Kind::EndTag:
        switch (t.id) {
        case TagId::Optgroup:
            if (currentIs(TagId::Option) && stack.size() > 1 && stack[stack.size() - 2].id == TagId::Optgroup)
                processEndTag("option");
            if (currentIs(TagId::Optgroup))
                pop();
            else
                error(State::InSelect);
            return true;
        case TagId::Option:
            if (currentIs(TagId::Option))
                pop();
            else
                error(State::InSelect);
            return true;
        case TagId::Select:
            if (!inSelectScope(TagId::Select)) {
                error(State::InSelect);
                return false;
            }
            popStackToClose(TagId::Select, {});
            resetInsertionMode();
            return true;
        default: break;
        }
        break;
    case Kind::EndOfFile:
        if (!currentIs(TagId::Html)) error(State::InSelect);
        return true;
    }
    error(State::InSelect);
    return false;
}

// The "in select in table" insertion mode
bool HtmlTreeBuilder::inSelectInTable(Tok& t) {
    if (t.isStartIn(sets::inSelectTableEnd)) {
        error(State::InSelectInTable);
        processEndTag("select");
        return process(t);
    }
    if (t.isEndIn(sets::inSelectTableEnd)) {
        error(State::InSelectInTable);
        if (!inTableScope(t.id)) return false;
        processEndTag("select");
        return process(t);
    }
    return inSelect(t);
}

} // namespace html
