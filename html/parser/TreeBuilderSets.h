#pragma once

#include "html/parser/ElementFlags.h"
#include "html/parser/TagSet.h"

// The constant tag-name sets of the tree builder, each the list the standard names at that step.
namespace html::sets {

using enum TagId;

// Scopes.
inline constexpr TagSet defaultScope{Applet, Caption, Html, Table, Td, Th, Marquee, Object};
inline constexpr TagSet listItemScope = defaultScope | TagSet{Ol, Ul};
inline constexpr TagSet buttonScope = defaultScope | TagSet{Button};
inline constexpr TagSet tableScope{Html, Table};
inline constexpr TagSet selectScope{Optgroup, Option};
inline constexpr TagSet impliedEndTags{Dd, Dt, Li, Option, Optgroup, P, Rp, Rt};

// The standard's "special" category: the rows of the element table marked Special.
inline constexpr TagSet special = [] {
    using namespace element_table;
    TagSet s;
#define HTML_ELEMENT(id, name, kind, flags)                                                                  \
    if (((flags)&Special) != 0) s.add(TagId::id);
#include "html/parser/ElementTable.def"
#undef HTML_ELEMENT
    return s;
}();

// Steps of the insertion modes.
inline constexpr TagSet beforeHtmlToHead{Head, Body, Html, Br};
inline constexpr TagSet inHeadEnd{Body, Html, Br};
inline constexpr TagSet afterHeadEnd{Body, Html};
inline constexpr TagSet inHeadNoscriptHead{Basefont, Bgsound, Link, Meta, Noframes, Style};
inline constexpr TagSet afterHeadReopen{Base, Basefont, Bgsound, Link, Meta, Noframes, Script, Style, Title};
inline constexpr TagSet inHeadNoscriptIgnore{Head, Noscript};
inline constexpr TagSet inBodyStartToHead{Base, Basefont, Bgsound, Command, Link,
                                          Meta, Noframes, Script,  Style,   Title};
inline constexpr TagSet inBodyStartPClosers{
    Address, Article, Aside,  Blockquote, Center, Details, Dir, Div, Dl,      Fieldset, Figcaption,
    Figure,  Footer,  Header, Hgroup,     Menu,   Nav,     Ol,  P,   Section, Summary,  Ul};
inline constexpr TagSet headings{H1, H2, H3, H4, H5, H6};
inline constexpr TagSet inBodyStartLiBreakers{Address, Div, P};
inline constexpr TagSet ddDt{Dd, Dt};
inline constexpr TagSet formatters{B, Big, Code, Em, Font, I, S, Small, Strike, Strong, Tt, U};
inline constexpr TagSet inBodyStartApplets{Applet, Marquee, Object};
inline constexpr TagSet inBodyStartEmptyFormatters{Area, Br, Embed, Img, Keygen, Wbr};
inline constexpr TagSet inBodyStartMedia{Param, Source, Track};
inline constexpr TagSet inBodyStartDrop{Caption, Col, Colgroup, Frame, Head, Tbody, Td, Tfoot, Th, Thead, Tr};
inline constexpr TagSet inBodyEndClosers{
    Address, Article, Aside,  Blockquote, Button,  Center, Details, Dir, Div, Dl,      Fieldset, Figcaption,
    Figure,  Footer,  Header, Hgroup,     Listing, Menu,   Nav,     Ol,  Pre, Section, Summary,  Ul};
inline constexpr TagSet inBodyEndAdoptionFormatters{A,    B, Big,   Code,   Em,     Font, I,
                                                    Nobr, S, Small, Strike, Strong, Tt,   U};
inline constexpr TagSet tableFamily{Table, Tbody, Tfoot, Thead, Tr};
inline constexpr TagSet inTableSections{Tbody, Tfoot, Thead};
inline constexpr TagSet inTableEndIgnore{Body, Caption, Col, Colgroup, Html, Tbody, Td, Tfoot, Th, Thead, Tr};
inline constexpr TagSet inCaptionIgnore{Body, Col, Colgroup, Html, Tbody, Td, Tfoot, Th, Thead, Tr};
inline constexpr TagSet inTableBodyExit{Caption, Col, Colgroup, Tbody, Tfoot, Thead};
inline constexpr TagSet inTableBodyEndIgnore{Body, Caption, Col, Colgroup, Html, Td, Th, Tr};
inline constexpr TagSet inRowMissing{Caption, Col, Colgroup, Tbody, Tfoot, Thead, Tr};
inline constexpr TagSet inRowIgnore{Body, Caption, Col, Colgroup, Html, Td, Th};
inline constexpr TagSet inCellIgnore{Body, Caption, Col, Colgroup, Html};
inline constexpr TagSet inCellEndTableish{Table, Tbody, Tfoot, Thead, Tr};
inline constexpr TagSet inSelectTableEnd{Caption, Table, Tbody, Tfoot, Thead, Tr, Td, Th};
inline constexpr TagSet inCellStartCloser{Caption, Col, Colgroup, Tbody, Td, Tfoot, Th, Thead, Tr};
inline constexpr TagSet cells{Th, Td};

} // namespace html::sets
