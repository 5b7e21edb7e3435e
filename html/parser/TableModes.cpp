// The table family of insertion modes: in table, in table text, in caption, in column group,
// in table body, in row and in cell.
#include "html/nodes/Element.h"
#include "html/parser/HtmlTreeBuilder.h"
#include "html/parser/HtmlWhitespace.h"
#include "html/parser/Token.h"
#include "html/parser/Tokeniser.h"
#include "html/parser/TreeBuilderSets.h"

namespace html {

using State = HtmlTreeBuilderState;

// The "in table" insertion mode
bool HtmlTreeBuilder::inTable(Tok& t) {
    switch (t.kind) {
    case Kind::Char:
        if (sets::tableFamily.contains(currentId())) {
            pendingTableCharacters.clear();
            pendingTableHasText = false;
            markInsertionMode();
            transition(State::InTableText);
            return process(t);
        }
        break;
    case Kind::Comment: insertComment(t); return true;
    case Kind::Doctype: error(State::InTable); return false;
    case Kind::StartTag:
        switch (t.id) {
        case TagId::Caption:
            clearStackToTableContext();
            insertMarkerToFormattingElements();
            insert(t);
            transition(State::InCaption);
            return true;
        case TagId::Colgroup:
            clearStackToTableContext();
            insert(t);
            transition(State::InColumnGroup);
            return true;
        case TagId::Col: processStartTag("colgroup"); return process(t);
        case TagId::Tbody:
        case TagId::Tfoot:
        case TagId::Thead:
            clearStackToTableContext();
            insert(t);
            transition(State::InTableBody);
            return true;
        case TagId::Td:
        case TagId::Th:
        case TagId::Tr: processStartTag("tbody"); return process(t);
        case TagId::Table:
            error(State::InTable);
            if (processEndTag("table")) return process(t);
            return false;
        case TagId::Style:
        case TagId::Script: return inHead(t);
        case TagId::Input: {
            if (!StringUtil::equalsIgnoreCase(tokenAttributes(t).getIgnoreCase("type"), "hidden")) break;
            error(State::InTable);
            insertEmpty(t);
            return true;
        }
        case TagId::Form:
            error(State::InTable);
            if (formElement) return false;
            insertForm(t, false);
            return true;
        default: break;
        }
        break;
    case Kind::EndTag:
        if (t.id == TagId::Table) {
            if (!inTableScope(TagId::Table)) {
                error(State::InTable);
                return false;
            }
            popStackToClose(TagId::Table, {});
            resetInsertionMode();
            return true;
        }
        if (sets::inTableEndIgnore.contains(t.id)) {
            error(State::InTable);
            return false;
        }
        break;
    case Kind::EndOfFile:
        if (!currentIs(TagId::Html)) error(State::InTable);
        return true;
    }
    return inTableAnythingElse(t);
}

bool HtmlTreeBuilder::inTableAnythingElse(Tok& t) {
    error(State::InTable);
    // Restored, not cleared: the body rules may come back here through a token they act out.
    const bool wasFostering = fosterInserts;
    fosterInserts = true;
    const bool processed = inBody(t);
    fosterInserts = wasFostering;
    return processed;
}

// The "in table text" insertion mode
bool HtmlTreeBuilder::inTableText(Tok& t) {
    if (t.kind == Kind::Char) {
        for (char c : t.data) {
            if (c == '\0') {
                error(State::InTableText);
                continue;
            }
            if (!isHtmlWhitespace(c)) pendingTableHasText = true;
            pendingTableCharacters.push_back(c);
        }
        return true;
    }
    if (!pendingTableCharacters.empty()) {
        if (pendingTableHasText) {
            // Text that does not belong in a table goes before it, with the body's rules.
            Tok chars;
            chars.kind = Kind::Char;
            chars.data = pendingTableCharacters;
            const Kind saved = currentKind;
            currentKind = Kind::Char;
            inTableAnythingElse(chars);
            currentKind = saved;
        } else {
            insertCharacters(pendingTableCharacters);
        }
        pendingTableCharacters.clear();
        pendingTableHasText = false;
    }
    transition(originalState());
    return process(t);
}

// The "in caption" insertion mode
bool HtmlTreeBuilder::inCaption(Tok& t) {
    if (t.isEnd(TagId::Caption)) {
        if (!inTableScope(TagId::Caption)) {
            error(State::InCaption);
            return false;
        }
        generateImpliedEndTags();
        if (!currentIs(TagId::Caption)) error(State::InCaption);
        popStackToClose(TagId::Caption, {});
        clearFormattingElementsToLastMarker();
        transition(State::InTable);
        return true;
    }
    if (t.isStartIn(sets::inCellStartCloser) || t.isEnd(TagId::Table)) {
        error(State::InCaption);
        if (processEndTag("caption")) return process(t);
        return false;
    }
    if (t.isEndIn(sets::inCaptionIgnore)) {
        error(State::InCaption);
        return false;
    }
    return inBody(t);
}

// The "in column group" insertion mode
bool HtmlTreeBuilder::inColumnGroup(Tok& t) {
    switch (t.kind) {
    case Kind::Char:
        if (insertLeadingWhitespace(t)) return true;
        break;
    case Kind::Comment: insertComment(t); return true;
    case Kind::Doctype: error(State::InColumnGroup); return false;
    case Kind::StartTag:
        if (t.id == TagId::Html) return inBody(t);
        if (t.id == TagId::Col) {
            insertEmpty(t);
            return true;
        }
        break;
    case Kind::EndTag:
        if (t.id == TagId::Colgroup) {
            if (currentIs(TagId::Html)) {
                error(State::InColumnGroup);
                return false;
            }
            pop();
            transition(State::InTable);
            return true;
        }
        if (t.id == TagId::Col) {
            error(State::InColumnGroup);
            return false;
        }
        break;
    case Kind::EndOfFile:
        if (currentIs(TagId::Html)) return true;
        break;
    }
    if (processEndTag("colgroup")) return process(t);
    return false;
}

// The "in table body" insertion mode
bool HtmlTreeBuilder::inTableBody(Tok& t) {
    if (t.kind == Kind::StartTag) {
        switch (t.id) {
        case TagId::Tr:
            clearStackToTableBodyContext();
            insert(t);
            transition(State::InRow);
            return true;
        case TagId::Th:
        case TagId::Td:
            error(State::InTableBody);
            processStartTag("tr");
            return process(t);
        default:
            if (sets::inTableBodyExit.contains(t.id)) return inTableBodyExitTable(t);
            break;
        }
    } else if (t.kind == Kind::EndTag) {
        if (sets::inTableSections.contains(t.id)) {
            if (!inTableScope(t.id)) {
                error(State::InTableBody);
                return false;
            }
            clearStackToTableBodyContext();
            pop();
            transition(State::InTable);
            return true;
        }
        if (t.id == TagId::Table) return inTableBodyExitTable(t);
        if (sets::inTableBodyEndIgnore.contains(t.id)) {
            error(State::InTableBody);
            return false;
        }
    }
    return inTable(t);
}

bool HtmlTreeBuilder::inTableBodyExitTable(Tok& t) {
    if (!inTableScope(sets::inTableSections)) {
        error(State::InTableBody);
        return false;
    }
    clearStackToTableBodyContext();
    processEndTag(tagIdName(currentId()));
    return process(t);
}

// The "in row" insertion mode
bool HtmlTreeBuilder::inRow(Tok& t) {
    if (t.kind == Kind::StartTag) {
        if (sets::cells.contains(t.id)) {
            clearStackToTableRowContext();
            insert(t);
            transition(State::InCell);
            insertMarkerToFormattingElements();
            return true;
        }
        if (sets::inRowMissing.contains(t.id)) {
            if (processEndTag("tr")) return process(t);
            return false;
        }
    } else if (t.kind == Kind::EndTag) {
        switch (t.id) {
        case TagId::Tr:
            if (!inTableScope(TagId::Tr)) {
                error(State::InRow);
                return false;
            }
            clearStackToTableRowContext();
            pop();
            transition(State::InTableBody);
            return true;
        case TagId::Table:
            if (processEndTag("tr")) return process(t);
            return false;
        case TagId::Tbody:
        case TagId::Tfoot:
        case TagId::Thead:
            if (!inTableScope(t.id)) {
                error(State::InRow);
                return false;
            }
            processEndTag("tr");
            return process(t);
        default:
            if (sets::inRowIgnore.contains(t.id)) {
                error(State::InRow);
                return false;
            }
            break;
        }
    }
    return inTable(t);
}

void HtmlTreeBuilder::closeCell() {
    if (inTableScope(TagId::Td))
        processEndTag("td");
    else
        processEndTag("th");
}

// The "in cell" insertion mode
bool HtmlTreeBuilder::inCell(Tok& t) {
    if (t.kind == Kind::EndTag) {
        if (sets::cells.contains(t.id)) {
            if (!inTableScope(t.id)) {
                error(State::InCell);
                return false;
            }
            generateImpliedEndTags();
            if (!currentIs(t.id)) error(State::InCell);
            popStackToClose(t.id, {});
            clearFormattingElementsToLastMarker();
            transition(State::InRow);
            return true;
        }
        if (sets::inCellIgnore.contains(t.id)) {
            error(State::InCell);
            return false;
        }
        if (sets::inCellEndTableish.contains(t.id)) {
            if (!inTableScope(t.id)) {
                error(State::InCell);
                return false;
            }
            closeCell();
            return process(t);
        }
    } else if (t.isStartIn(sets::inCellStartCloser)) {
        if (!inTableScope(sets::cells)) {
            error(State::InCell);
            return false;
        }
        closeCell();
        return process(t);
    }
    return inBody(t);
}

} // namespace html
