#pragma once

#include "html/nodes/Comment.h"
#include "html/nodes/DataNode.h"
#include "html/nodes/Element.h"
#include "html/nodes/Node.h"
#include "html/nodes/TextNode.h"

#include <string>

namespace html::test {

// A compact, unescaped picture of a subtree for assertions: <p id="x">a<b>c</b></p>, text raw,
// comments as <!--x-->. Attributes in their stored order.
inline void shape(const Node& node, std::string& out) {
    if (node.isTextNode()) {
        out += static_cast<const TextNode&>(node).getWholeText();
    } else if (node.isDataNode()) {
        out += static_cast<const DataNode&>(node).getWholeData();
    } else if (node.isComment()) {
        out += "<!--";
        out += static_cast<const Comment&>(node).getData();
        out += "-->";
    } else if (const Element* el = node.asElement()) {
        out += '<';
        out += el->tagName();
        if (const Attributes* attrs = el->attributesIfPresent()) {
            for (const Attribute& a : *attrs) {
                out += ' ';
                out += a.getKey();
                out += "=\"";
                out += a.getValue();
                out += '"';
            }
        }
        out += '>';
        for (const Node* child : el->getChildNodes())
            shape(*child, out);
        out += "</";
        out += el->tagName();
        out += '>';
    }
}

inline std::string shape(const Node& node) {
    std::string out;
    shape(node, out);
    return out;
}

// The shape of the children only.
inline std::string inner(const Node& node) {
    std::string out;
    for (const Node* child : node.getChildNodes())
        shape(*child, out);
    return out;
}

} // namespace html::test
