#include "html/nodes/Validate.h"

#include "html/nodes/Exception.h"

namespace html {

void Validate::notNull(const void* obj) {
    notNull(obj, "Object must not be null");
}

void Validate::notNull(const void* obj, std::string_view msg) {
    if (!obj) fail(msg);
}

void Validate::notEmpty(std::string_view string) {
    notEmpty(string, "String must not be empty");
}

void Validate::notEmpty(std::string_view string, std::string_view msg) {
    if (string.empty()) fail(msg);
}

void Validate::isTrue(bool val) {
    isTrue(val, "Must be true");
}

void Validate::isTrue(bool val, std::string_view msg) {
    if (!val) fail(msg);
}

void Validate::isFalse(bool val) {
    isFalse(val, "Must be false");
}

void Validate::isFalse(bool val, std::string_view msg) {
    if (val) fail(msg);
}

void Validate::noNullElements(std::initializer_list<const void*> objects) {
    noNullElements(objects, "Array must not contain any null objects");
}

void Validate::noNullElements(std::initializer_list<const void*> objects, std::string_view msg) {
    for (const void* o : objects)
        if (!o) fail(msg);
}

void Validate::fail(std::string_view msg) {
    throw Exception(ExceptionType::IllegalArgumentException, std::string(msg));
}

void Validate::exception(std::string_view msg) {
    fail(msg);
}

} // namespace html
