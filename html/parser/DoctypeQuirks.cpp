#include "html/parser/DoctypeQuirks.h"

#include "html/parser/HtmlWhitespace.h"

#include <array>

namespace html {

namespace {

// Public identifiers of legacy doctypes, matched as prefixes ignoring ASCII case.
constexpr std::array<std::string_view, 55> kQuirkyPublicPrefixes = {
    "+//silmaril//dtd html pro v0r11 19970101//",
    "-//as//dtd html 3.0 aswedit + extensions//",
    "-//advasoft ltd//dtd html 3.0 aswedit + extensions//",
    "-//ietf//dtd html 2.0 level 1//",
    "-//ietf//dtd html 2.0 level 2//",
    "-//ietf//dtd html 2.0 strict level 1//",
    "-//ietf//dtd html 2.0 strict level 2//",
    "-//ietf//dtd html 2.0 strict//",
    "-//ietf//dtd html 2.0//",
    "-//ietf//dtd html 2.1e//",
    "-//ietf//dtd html 3.0//",
    "-//ietf//dtd html 3.2 final//",
    "-//ietf//dtd html 3.2//",
    "-//ietf//dtd html 3//",
    "-//ietf//dtd html level 0//",
    "-//ietf//dtd html level 1//",
    "-//ietf//dtd html level 2//",
    "-//ietf//dtd html level 3//",
    "-//ietf//dtd html strict level 0//",
    "-//ietf//dtd html strict level 1//",
    "-//ietf//dtd html strict level 2//",
    "-//ietf//dtd html strict level 3//",
    "-//ietf//dtd html strict//",
    "-//ietf//dtd html//",
    "-//metrius//dtd metrius presentational//",
    "-//microsoft//dtd internet explorer 2.0 html strict//",
    "-//microsoft//dtd internet explorer 2.0 html//",
    "-//microsoft//dtd internet explorer 2.0 tables//",
    "-//microsoft//dtd internet explorer 3.0 html strict//",
    "-//microsoft//dtd internet explorer 3.0 html//",
    "-//microsoft//dtd internet explorer 3.0 tables//",
    "-//netscape comm. corp.//dtd html//",
    "-//netscape comm. corp.//dtd strict html//",
    "-//o'reilly and associates//dtd html 2.0//",
    "-//o'reilly and associates//dtd html extended 1.0//",
    "-//o'reilly and associates//dtd html extended relaxed 1.0//",
    "-//sq//dtd html 2.0 hotmetal + extensions//",
    "-//softquad software//dtd hotmetal pro 6.0::19990601::extensions to html 4.0//",
    "-//softquad//dtd hotmetal pro 4.0::19971010::extensions to html 4.0//",
    "-//spyglass//dtd html 2.0 extended//",
    "-//sun microsystems corp.//dtd hotjava html//",
    "-//sun microsystems corp.//dtd hotjava strict html//",
    "-//w3c//dtd html 3 1995-03-24//",
    "-//w3c//dtd html 3.2 draft//",
    "-//w3c//dtd html 3.2 final//",
    "-//w3c//dtd html 3.2//",
    "-//w3c//dtd html 3.2s draft//",
    "-//w3c//dtd html 4.0 frameset//",
    "-//w3c//dtd html 4.0 transitional//",
    "-//w3c//dtd html experimental 19960712//",
    "-//w3c//dtd html experimental 970421//",
    "-//w3c//dtd w3 html//",
    "-//w3o//dtd w3 html 3.0//",
    "-//webtechs//dtd mozilla html 2.0//",
    "-//webtechs//dtd mozilla html//",
};

bool startsWithIgnoreCase(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && StringUtil::equalsIgnoreCase(s.substr(0, prefix.size()), prefix);
}

} // namespace

Document::QuirksMode quirksModeOf(std::string_view name, std::string_view publicId, std::string_view systemId,
                                  bool forceQuirks) {
    using Mode = Document::QuirksMode;
    if (forceQuirks || name != "html") return Mode::quirks;
    if (StringUtil::equalsIgnoreCase(publicId, "-//W3O//DTD W3 HTML Strict 3.0//EN//") ||
        StringUtil::equalsIgnoreCase(publicId, "-/W3C/DTD HTML 4.0 Transitional/EN") ||
        StringUtil::equalsIgnoreCase(publicId, "HTML") ||
        StringUtil::equalsIgnoreCase(systemId, "http://www.ibm.com/data/dtd/v11/ibmxhtml1-transitional.dtd"))
        return Mode::quirks;
    for (std::string_view prefix : kQuirkyPublicPrefixes)
        if (startsWithIgnoreCase(publicId, prefix)) return Mode::quirks;
    const bool html401 = startsWithIgnoreCase(publicId, "-//W3C//DTD HTML 4.01 Frameset//") ||
                         startsWithIgnoreCase(publicId, "-//W3C//DTD HTML 4.01 Transitional//");
    if (html401) return systemId.empty() ? Mode::quirks : Mode::limitedQuirks;
    if (startsWithIgnoreCase(publicId, "-//W3C//DTD XHTML 1.0 Frameset//") ||
        startsWithIgnoreCase(publicId, "-//W3C//DTD XHTML 1.0 Transitional//"))
        return Mode::limitedQuirks;
    return Mode::noQuirks;
}

} // namespace html
