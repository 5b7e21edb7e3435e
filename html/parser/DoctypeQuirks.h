#pragma once

#include "html/nodes/Document.h"

#include <string_view>

namespace html {

// The document mode a doctype selects: quirks for legacy doctypes (and for a document without
// one), limited quirks for the transitional XHTML and HTML 4.01 ones, no quirks otherwise.
// Identifiers that are empty count as missing.
Document::QuirksMode quirksModeOf(std::string_view name, std::string_view publicId, std::string_view systemId,
                                  bool forceQuirks);

} // namespace html
