#pragma once

#include <cstdint>
#include <string_view>

namespace html {

// Every element name the tree builder's rules mention gets a small number, so that the
// tag-name sets are bit tests and the stack walks compare integers instead of strings.
// Any other name is TagId::Other and is compared by its bytes where it matters.
enum class TagId : std::uint8_t {
    Other = 0,
    A, Address, Applet, Area, Article, Aside, B, Base, Basefont, Bgsound, Big, Blockquote, Body, Br,
    Button, Caption, Center, Code, Col, Colgroup, Command, Dd, Details, Dir, Div, Dl, Dt, Em, Embed,
    Fieldset, Figcaption, Figure, Font, Footer, Form, Frame, Frameset, H1, H2, H3, H4, H5, H6, Head,
    Header, Hgroup, Hr, Html, I, Iframe, Image, Img, Input, Isindex, Keygen, Label, Li, Link, Listing,
    Main, Marquee, Math, Menu, Menuitem, Meta, Nav, Nobr, Noembed, Noframes, Noscript, Object, Ol,
    Optgroup, Option, P, Param, Plaintext, Pre, Rp, Rt, Ruby, S, Script, Section, Select, Small,
    Source, Strike, Strong, Style, Summary, Svg, Table, Tbody, Td, Template, Textarea, Tfoot, Th,
    Thead, Title, Tr, Track, Tt, U, Ul, Wbr, Xmp,
    Count_
};

// The id of a normalised (lower-case) element name; TagId::Other for names the rules never name.
TagId tagIdOf(std::string_view normalName) noexcept;

// The name of a known id ("" for Other).
std::string_view tagIdName(TagId id) noexcept;

} // namespace html
