#pragma once

#include <cstdint>
#include <string_view>

namespace html {

// The states of the tokeniser, with the names the HTML standard gives them.
enum class TokeniserState : std::uint8_t {
    Data,
    CharacterReferenceInData,
    Rcdata,
    CharacterReferenceInRcdata,
    Rawtext,
    ScriptData,
    PLAINTEXT,
    TagOpen,
    EndTagOpen,
    TagName,
    RcdataLessthanSign,
    RCDATAEndTagOpen,
    RCDATAEndTagName,
    RawtextLessthanSign,
    RawtextEndTagOpen,
    RawtextEndTagName,
    ScriptDataLessthanSign,
    ScriptDataEndTagOpen,
    ScriptDataEndTagName,
    ScriptDataEscapeStart,
    ScriptDataEscapeStartDash,
    ScriptDataEscaped,
    ScriptDataEscapedDash,
    ScriptDataEscapedDashDash,
    ScriptDataEscapedLessthanSign,
    ScriptDataEscapedEndTagOpen,
    ScriptDataEscapedEndTagName,
    ScriptDataDoubleEscapeStart,
    ScriptDataDoubleEscaped,
    ScriptDataDoubleEscapedDash,
    ScriptDataDoubleEscapedDashDash,
    ScriptDataDoubleEscapedLessthanSign,
    ScriptDataDoubleEscapeEnd,
    BeforeAttributeName,
    AttributeName,
    AfterAttributeName,
    BeforeAttributeValue,
    AttributeValue_doubleQuoted,
    AttributeValue_singleQuoted,
    AttributeValue_unquoted,
    AfterAttributeValue_quoted,
    SelfClosingStartTag,
    BogusComment,
    MarkupDeclarationOpen,
    CommentStart,
    CommentStartDash,
    Comment,
    CommentEndDash,
    CommentEnd,
    CommentEndBang,
    Doctype,
    BeforeDoctypeName,
    DoctypeName,
    AfterDoctypeName,
    AfterDoctypePublicKeyword,
    BeforeDoctypePublicIdentifier,
    DoctypePublicIdentifier_doubleQuoted,
    DoctypePublicIdentifier_singleQuoted,
    AfterDoctypePublicIdentifier,
    BetweenDoctypePublicAndSystemIdentifiers,
    AfterDoctypeSystemKeyword,
    BeforeDoctypeSystemIdentifier,
    DoctypeSystemIdentifier_doubleQuoted,
    DoctypeSystemIdentifier_singleQuoted,
    AfterDoctypeSystemIdentifier,
    BogusDoctype,
    CdataSection,
};

inline constexpr int tokeniserStateCount = 67;

// The state's name, as parse error messages show it.
constexpr std::string_view tokeniserStateName(TokeniserState state) {
    switch (state) {
    case TokeniserState::Data: return "Data";
    case TokeniserState::CharacterReferenceInData: return "CharacterReferenceInData";
    case TokeniserState::Rcdata: return "Rcdata";
    case TokeniserState::CharacterReferenceInRcdata: return "CharacterReferenceInRcdata";
    case TokeniserState::Rawtext: return "Rawtext";
    case TokeniserState::ScriptData: return "ScriptData";
    case TokeniserState::PLAINTEXT: return "PLAINTEXT";
    case TokeniserState::TagOpen: return "TagOpen";
    case TokeniserState::EndTagOpen: return "EndTagOpen";
    case TokeniserState::TagName: return "TagName";
    case TokeniserState::RcdataLessthanSign: return "RcdataLessthanSign";
    case TokeniserState::RCDATAEndTagOpen: return "RCDATAEndTagOpen";
    case TokeniserState::RCDATAEndTagName: return "RCDATAEndTagName";
    case TokeniserState::RawtextLessthanSign: return "RawtextLessthanSign";
    case TokeniserState::RawtextEndTagOpen: return "RawtextEndTagOpen";
    case TokeniserState::RawtextEndTagName: return "RawtextEndTagName";
    case TokeniserState::ScriptDataLessthanSign: return "ScriptDataLessthanSign";
    case TokeniserState::ScriptDataEndTagOpen: return "ScriptDataEndTagOpen";
    case TokeniserState::ScriptDataEndTagName: return "ScriptDataEndTagName";
    case TokeniserState::ScriptDataEscapeStart: return "ScriptDataEscapeStart";
    case TokeniserState::ScriptDataEscapeStartDash: return "ScriptDataEscapeStartDash";
    case TokeniserState::ScriptDataEscaped: return "ScriptDataEscaped";
    case TokeniserState::ScriptDataEscapedDash: return "ScriptDataEscapedDash";
    case TokeniserState::ScriptDataEscapedDashDash: return "ScriptDataEscapedDashDash";
    case TokeniserState::ScriptDataEscapedLessthanSign: return "ScriptDataEscapedLessthanSign";
    case TokeniserState::ScriptDataEscapedEndTagOpen: return "ScriptDataEscapedEndTagOpen";
    case TokeniserState::ScriptDataEscapedEndTagName: return "ScriptDataEscapedEndTagName";
    case TokeniserState::ScriptDataDoubleEscapeStart: return "ScriptDataDoubleEscapeStart";
    case TokeniserState::ScriptDataDoubleEscaped: return "ScriptDataDoubleEscaped";
    case TokeniserState::ScriptDataDoubleEscapedDash: return "ScriptDataDoubleEscapedDash";
    case TokeniserState::ScriptDataDoubleEscapedDashDash: return "ScriptDataDoubleEscapedDashDash";
    case TokeniserState::ScriptDataDoubleEscapedLessthanSign: return "ScriptDataDoubleEscapedLessthanSign";
    case TokeniserState::ScriptDataDoubleEscapeEnd: return "ScriptDataDoubleEscapeEnd";
    case TokeniserState::BeforeAttributeName: return "BeforeAttributeName";
    case TokeniserState::AttributeName: return "AttributeName";
    case TokeniserState::AfterAttributeName: return "AfterAttributeName";
    case TokeniserState::BeforeAttributeValue: return "BeforeAttributeValue";
    case TokeniserState::AttributeValue_doubleQuoted: return "AttributeValue_doubleQuoted";
    case TokeniserState::AttributeValue_singleQuoted: return "AttributeValue_singleQuoted";
    case TokeniserState::AttributeValue_unquoted: return "AttributeValue_unquoted";
    case TokeniserState::AfterAttributeValue_quoted: return "AfterAttributeValue_quoted";
    case TokeniserState::SelfClosingStartTag: return "SelfClosingStartTag";
    case TokeniserState::BogusComment: return "BogusComment";
    case TokeniserState::MarkupDeclarationOpen: return "MarkupDeclarationOpen";
    case TokeniserState::CommentStart: return "CommentStart";
    case TokeniserState::CommentStartDash: return "CommentStartDash";
    case TokeniserState::Comment: return "Comment";
    case TokeniserState::CommentEndDash: return "CommentEndDash";
    case TokeniserState::CommentEnd: return "CommentEnd";
    case TokeniserState::CommentEndBang: return "CommentEndBang";
    case TokeniserState::Doctype: return "Doctype";
    case TokeniserState::BeforeDoctypeName: return "BeforeDoctypeName";
    case TokeniserState::DoctypeName: return "DoctypeName";
    case TokeniserState::AfterDoctypeName: return "AfterDoctypeName";
    case TokeniserState::AfterDoctypePublicKeyword: return "AfterDoctypePublicKeyword";
    case TokeniserState::BeforeDoctypePublicIdentifier: return "BeforeDoctypePublicIdentifier";
    case TokeniserState::DoctypePublicIdentifier_doubleQuoted: return "DoctypePublicIdentifier_doubleQuoted";
    case TokeniserState::DoctypePublicIdentifier_singleQuoted: return "DoctypePublicIdentifier_singleQuoted";
    case TokeniserState::AfterDoctypePublicIdentifier: return "AfterDoctypePublicIdentifier";
    case TokeniserState::BetweenDoctypePublicAndSystemIdentifiers:
        return "BetweenDoctypePublicAndSystemIdentifiers";
    case TokeniserState::AfterDoctypeSystemKeyword: return "AfterDoctypeSystemKeyword";
    case TokeniserState::BeforeDoctypeSystemIdentifier: return "BeforeDoctypeSystemIdentifier";
    case TokeniserState::DoctypeSystemIdentifier_doubleQuoted: return "DoctypeSystemIdentifier_doubleQuoted";
    case TokeniserState::DoctypeSystemIdentifier_singleQuoted: return "DoctypeSystemIdentifier_singleQuoted";
    case TokeniserState::AfterDoctypeSystemIdentifier: return "AfterDoctypeSystemIdentifier";
    case TokeniserState::BogusDoctype: return "BogusDoctype";
    case TokeniserState::CdataSection: return "CdataSection";
    }
    return "";
}

} // namespace html
