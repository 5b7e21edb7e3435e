#pragma once

#include "html/nodes/Attribute.h"

namespace html {

// An attribute given by its key only; its value is empty.
class BooleanAttribute : public Attribute {
public:
    explicit BooleanAttribute(std::string key) : Attribute(std::move(key), std::string()) {}
};

} // namespace html
