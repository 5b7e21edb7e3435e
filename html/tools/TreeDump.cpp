#include "html/tools/TreeDump.h"

#include "html/nodes/Comment.h"
#include "html/nodes/DataNode.h"
#include "html/nodes/DocumentType.h"
#include "html/nodes/Element.h"
#include "html/nodes/TextNode.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace html::tool {

namespace {

// Attribute names sort in UTF-16 code-unit order: code points above U+FFFF (surrogates,
// 0xD800..0xDFFF) sort before U+E000..U+FFFF, unlike in UTF-8 byte order.
std::vector<std::uint16_t> utf16Units(std::string_view s) {
    std::vector<std::uint16_t> units;
    units.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        std::uint32_t cp = b;
        std::size_t len = 1;
        if (b >= 0xF0 && i + 3 < s.size()) {
            len = 4;
            cp = ((b & 0x07u) << 18) | ((static_cast<unsigned char>(s[i + 1]) & 0x3Fu) << 12) |
                 ((static_cast<unsigned char>(s[i + 2]) & 0x3Fu) << 6) |
                 (static_cast<unsigned char>(s[i + 3]) & 0x3Fu);
        } else if (b >= 0xE0 && i + 2 < s.size()) {
            len = 3;
            cp = ((b & 0x0Fu) << 12) | ((static_cast<unsigned char>(s[i + 1]) & 0x3Fu) << 6) |
                 (static_cast<unsigned char>(s[i + 2]) & 0x3Fu);
        } else if (b >= 0xC0 && i + 1 < s.size()) {
            len = 2;
            cp = ((b & 0x1Fu) << 6) | (static_cast<unsigned char>(s[i + 1]) & 0x3Fu);
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            units.push_back(static_cast<std::uint16_t>(0xD800 + (cp >> 10)));
            units.push_back(static_cast<std::uint16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            units.push_back(static_cast<std::uint16_t>(cp));
        }
        i += len;
    }
    return units;
}

bool utf16Less(std::string_view a, std::string_view b) {
    const bool ascii =
        std::all_of(a.begin(), a.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }) &&
        std::all_of(b.begin(), b.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) return a < b;
    return utf16Units(a) < utf16Units(b);
}

void prefix(std::string& out, int depth) {
    out += "| ";
    out.append(static_cast<std::size_t>(depth) * 2, ' ');
}

void dumpElement(const Element& el, int depth, std::string& out) {
    prefix(out, depth);
    out += '<';
    out += el.tagName();
    out += ">\n";
    const Attributes* attrs = el.attributesIfPresent();
    if (!attrs || attrs->isEmpty()) return;
    std::vector<const Attribute*> sorted;
    sorted.reserve(attrs->size());
    for (const Attribute& a : *attrs)
        sorted.push_back(&a);
    std::stable_sort(sorted.begin(), sorted.end(), [](const Attribute* x, const Attribute* y) {
        return utf16Less(x->getKey(), y->getKey());
    });
    for (const Attribute* a : sorted) {
        prefix(out, depth + 1);
        out += a->getKey();
        out += "=\"";
        out += a->getValue();
        out += "\"\n";
    }
}

void dumpDoctype(const DocumentType& d, int depth, std::string& out) {
    prefix(out, depth);
    out += "<!DOCTYPE ";
    out += d.name();
    const std::string_view publicId = d.publicId();
    const std::string_view systemId = d.systemId();
    if (!publicId.empty() || !systemId.empty()) {
        out += " \"";
        out += publicId;
        out += "\" \"";
        out += systemId;
        out += '"';
    }
    out += ">\n";
}

// Text and data nodes: the character data they hold.
bool characterData(const Node& node, std::string_view& data) {
    if (node.isTextNode()) {
        data = static_cast<const TextNode&>(node).getWholeText();
        return true;
    }
    if (node.isDataNode()) {
        data = static_cast<const DataNode&>(node).getWholeData();
        return true;
    }
    return false;
}

} // namespace

void dumpTree(std::span<Node* const> roots, std::string& out) {
    // Iterative pre-order walk; each frame is a sibling list and the next position in it.
    struct Frame {
        std::span<Node* const> nodes;
        std::size_t next;
        int depth;
    };
    std::vector<Frame> frames;
    frames.push_back({roots, 0, 0});
    std::string text;
    while (!frames.empty()) {
        Frame& f = frames.back();
        if (f.next >= f.nodes.size()) {
            frames.pop_back();
            continue;
        }
        const Node& node = *f.nodes[f.next++];
        const int depth = f.depth;
        std::string_view data;
        if (characterData(node, data)) {
            // Merge the run of adjacent text siblings into one line.
            text.assign(data);
            while (f.next < f.nodes.size() && characterData(*f.nodes[f.next], data)) {
                text.append(data);
                ++f.next;
            }
            if (!text.empty()) {
                prefix(out, depth);
                out += '"';
                out += text;
                out += "\"\n";
            }
        } else if (node.isComment()) {
            prefix(out, depth);
            out += "<!-- ";
            out += static_cast<const Comment&>(node).getData();
            out += " -->\n";
        } else if (node.kind() == NodeKind::DocumentType) {
            dumpDoctype(static_cast<const DocumentType&>(node), depth, out);
        } else if (const Element* el = node.asElement()) {
            dumpElement(*el, depth, out);
            if (el->hasChildNodes()) frames.push_back({el->getChildNodes(), 0, depth + 1});
        }
    }
}

} // namespace html::tool
