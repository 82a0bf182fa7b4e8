// Two macros of the device's dialect (C++98, which every compiler of the
// device accepts): the element count of an array, and a check made while
// compiling, whose failure names what it checks.
#pragma once
#include <stddef.h>

#define COUNT_OF(array) (sizeof(array) / sizeof((array)[0]))

// A typedef of a char array of size -1 when the condition is false: the
// compiler's message is about an array named after the check, such as
// "size of array 'TODAYLISTITEM_is_628_bytes_on_the_device' is negative".
#define COMPILE_CHECK(name, condition) typedef char name[(condition) ? 1 : -1]

#define CHECK_SIZE(type, size) \
    COMPILE_CHECK(type##_is_##size##_bytes_on_the_device, sizeof(type) == (size))
#define CHECK_OFFSET(type, field, offset) \
    COMPILE_CHECK(type##_##field##_is_at_offset_##offset, offsetof(type, field) == (offset))
