#pragma once

#include "html/parser/Entities.h"

#include <string>
#include <string_view>

namespace html {

// How a document is written out as HTML.
class OutputSettings {
public:
    enum class Syntax { html, xml };

    bool prettyPrint() const noexcept { return prettyPrint_; }
    OutputSettings& prettyPrint(bool pretty) noexcept {
        prettyPrint_ = pretty;
        return *this;
    }
    bool outline() const noexcept { return outline_; }
    OutputSettings& outline(bool outline) noexcept {
        outline_ = outline;
        return *this;
    }
    unsigned indentAmount() const noexcept { return indentAmount_; }
    OutputSettings& indentAmount(unsigned amount) noexcept {
        indentAmount_ = amount;
        return *this;
    }
    Syntax syntax() const noexcept { return syntax_; }
    OutputSettings& syntax(Syntax syntax) noexcept {
        syntax_ = syntax;
        return *this;
    }
    // Which named references the escaper may use.
    const Entities::EscapeMode& escapeMode() const noexcept { return *escapeMode_; }
    OutputSettings& escapeMode(const Entities::EscapeMode& mode) noexcept {
        escapeMode_ = &mode;
        return *this;
    }
    // The output charset; characters it cannot encode are escaped.
    const std::string& charset() const noexcept { return charset_; }
    OutputSettings& charset(std::string_view name) {
        charset_ = name;
        return *this;
    }

    OutputSettings copy() const { return *this; }

private:
    const Entities::EscapeMode* escapeMode_ = &Entities::EscapeMode::base();
    std::string charset_ = "UTF-8";
    unsigned indentAmount_ = 1;
    Syntax syntax_ = Syntax::html;
    bool prettyPrint_ = true;
    bool outline_ = false;
};

} // namespace html
