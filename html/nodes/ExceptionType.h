#pragma once

namespace html {

enum class ExceptionType {
    IllegalArgumentException,
    IOException,
    XmlDeclaration,
    MalformedURLException,
    CloneNotSupportedException,
    SelectorParseException,
};

} // namespace html
