#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace html {

// Argument checks; each failure throws Exception(IllegalArgumentException, fixed message).
class Validate {
public:
    static void notNull(const void* obj);
    static void notNull(const void* obj, std::string_view msg);
    static void notEmpty(std::string_view string);
    static void notEmpty(std::string_view string, std::string_view msg);
    static void isTrue(bool val);
    static void isTrue(bool val, std::string_view msg);
    static void isFalse(bool val);
    static void isFalse(bool val, std::string_view msg);
    static void noNullElements(std::initializer_list<const void*> objects);
    static void noNullElements(std::initializer_list<const void*> objects, std::string_view msg);
    template <class Range> static void noNullElementsIn(const Range& objects) {
        for (const auto& o : objects)
            if (!o) fail("Array must not contain any null objects");
    }
    [[noreturn]] static void fail(std::string_view msg);
    [[noreturn]] static void exception(std::string_view msg);
};

} // namespace html
