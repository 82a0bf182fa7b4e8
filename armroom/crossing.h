// How each parameter and result of a bound host function crosses the
// boundary, chosen by its type in the function's own prototype:
//   a number              zero- or sign-extended as its type is signed;
//   a handle (HWND, HDC, void * as HANDLE and HGDIOBJ ...)
//                         sign-extended in, checked on the way out;
//   HINSTANCE             the module's guest base and host bytes;
//   HRSRC                 a place in a mapped image, translated;
//   a string (const WCHAR *)  translated, checked to end in guest memory;
//   a pointer to data of one layout on both sides (RECT, DWORD, WCHAR,
//   LOGFONTW, const void * ...)  translated through the memory map;
//   a pointer to a structure whose layout differs (Layout32<S>)
//                         converted into a host copy, written back after
//                         the call unless it is const;
//   HKEY *                a host key written back truncated, as a handle;
//   GuestWord             the guest's word itself (a guest address the
//                         room's own functions interpret).
// A parameter type none of these covers does not compile.
#pragma once
#include <windows.h>
#include <stdint.h>
#include <string.h>
#include <string>
#include <type_traits>

#include "armroom/boundary.h"
#include "armroom/layouts32.h"

// One argument word on its way to the host: Arg<T> is made from it.
struct Crossing {
    Boundary &b;
    uint32_t word;
    const char *what;
};

// A word the guest passes or gets as it is: a guest address or a value the
// room's function reads itself.
struct GuestWord {
    uint32_t value;
};

template <class T>
struct IsHandle : std::false_type {};
#define ARM_HANDLE_TYPE(T) \
    template <>            \
    struct IsHandle<T> : std::true_type {};
ARM_HANDLE_TYPE(HWND)
ARM_HANDLE_TYPE(HDC)
ARM_HANDLE_TYPE(HMENU)
ARM_HANDLE_TYPE(HICON)
ARM_HANDLE_TYPE(HBITMAP)
ARM_HANDLE_TYPE(HBRUSH)
ARM_HANDLE_TYPE(HFONT)
ARM_HANDLE_TYPE(HKEY)
ARM_HANDLE_TYPE(HACCEL)
ARM_HANDLE_TYPE(HRGN)
ARM_HANDLE_TYPE(HPEN)
ARM_HANDLE_TYPE(void *)   // HANDLE, HGDIOBJ, HLOCAL, HDWP, an opaque LPVOID
#undef ARM_HANDLE_TYPE

// Data of one layout on both sides, reached through a translated pointer.
template <class T>
struct SameLayout : std::integral_constant<bool, std::is_arithmetic<T>::value> {};
#define ARM_SAME_LAYOUT(T) \
    template <>            \
    struct SameLayout<T> : std::true_type {};
ARM_SAME_LAYOUT(void)
ARM_SAME_LAYOUT(RECT)
ARM_SAME_LAYOUT(POINT)
ARM_SAME_LAYOUT(SIZE)
ARM_SAME_LAYOUT(LOGFONTW)
ARM_SAME_LAYOUT(DLGTEMPLATE)
#undef ARM_SAME_LAYOUT

template <class S, class = void>
struct HasLayout32 : std::false_type {};
template <class S>
struct HasLayout32<S, std::void_t<typename Layout32<S>::Guest>> : std::true_type {};

template <class T, class Enable = void>
struct Arg {
    static_assert(sizeof(T) == 0, "say how this parameter type crosses the boundary (armroom/crossing.h)");
};

// Numbers and enumerations.
template <class T>
struct Arg<T, std::enable_if_t<std::is_arithmetic<T>::value || std::is_enum<T>::value>> {
    T value;
    Arg(const Crossing &c) : value(std::is_signed<T>::value ? (T)(int32_t)c.word : (T)c.word) {}
    T Get() const { return value; }
};

template <>
struct Arg<GuestWord> {
    GuestWord value;
    Arg(const Crossing &c) : value{c.word} {}
    GuestWord Get() const { return value; }
};

template <class T>
struct Arg<T, std::enable_if_t<IsHandle<T>::value>> {
    T value;
    Arg(const Crossing &c) : value((T)Boundary::HostHandle(c.word)) {}
    T Get() const { return value; }
};

template <>
struct Arg<HINSTANCE> {
    HINSTANCE value;
    Arg(const Crossing &c) : value(c.b.HostInstance(c.word)) {}
    HINSTANCE Get() const { return value; }
};

template <>
struct Arg<HRSRC> {
    HRSRC value;
    Arg(const Crossing &c) : value((HRSRC)c.b.Host(c.word, 1, false, c.what)) {}
    HRSRC Get() const { return value; }
};

template <>
struct Arg<const wchar_t *> {
    const wchar_t *value;
    Arg(const Crossing &c) : value(c.word ? c.b.HostString(c.word, c.what) : NULL) {}
    const wchar_t *Get() const { return value; }
};

// Data pointers of one layout: the host bytes behind the guest's.
template <class T>
struct Arg<T *, std::enable_if_t<SameLayout<std::remove_const_t<T>>::value && !std::is_same<T, const wchar_t>::value &&
                                 !std::is_same<T, void>::value>> {
    T *value;
    Arg(const Crossing &c)
        : value((T *)c.b.Host(c.word, sizeof(std::conditional_t<std::is_void<T>::value, char, T>),
                              !std::is_const<T>::value, c.what)) {}
    T *Get() const { return value; }
};

// Structures whose layouts differ: a host copy, written back unless const.
template <class S>
struct Arg<S *, std::enable_if_t<HasLayout32<std::remove_const_t<S>>::value>> {
    typedef std::remove_const_t<S> Host;
    typedef typename Layout32<Host>::Guest Guest;
    Boundary &b;
    uint32_t word;
    const char *what;
    Host copy;
    Arg(const Crossing &c) : b(c.b), word(c.word), what(c.what)
    {
        if (word)
            ToHost(b, *b.HostObject<Guest>(word, what), copy, what);
    }
    ~Arg()
    {
        if (word && !std::is_const<S>::value)
            ToGuest(b, copy, *(Guest *)b.Host(word, sizeof(Guest), true, what), what);
    }
    S *Get() { return word ? &copy : NULL; }
};

// A key the host opens, handed back as a guest handle.
template <>
struct Arg<HKEY *> {
    Boundary &b;
    uint32_t word;
    const char *what;
    HKEY key = NULL;
    Arg(const Crossing &c) : b(c.b), word(c.word), what(c.what) {}
    ~Arg()
    {
        if (word && key) {
            uint32_t handle = b.GuestHandle(key, what);
            memcpy(b.Host(word, 4, true, what), &handle, 4);
        }
    }
    HKEY *Get() { return word ? &key : NULL; }
};

// Structures the item and editor never pass: only NULL crosses.
inline const char *WhyNullOnly(LPSECURITY_ATTRIBUTES) { return "security attributes do not cross"; }
inline const char *WhyNullOnly(LPOVERLAPPED) { return "overlapped input and output does not cross"; }

template <class T>
struct Arg<T, std::enable_if_t<std::is_same<T, LPSECURITY_ATTRIBUTES>::value || std::is_same<T, LPOVERLAPPED>::value>> {
    Arg(const Crossing &c)
    {
        if (c.word)
            c.b.Refuse(std::string(c.what) + ": " + WhyNullOnly(T()));
    }
    T Get() const { return NULL; }
};

// --- results ---
template <class T, class Enable = void>
struct Result {
    static_assert(sizeof(T) == 0, "say how this result type crosses the boundary (armroom/crossing.h)");
};
template <class T>
struct Result<T, std::enable_if_t<std::is_arithmetic<T>::value || std::is_enum<T>::value>> {
    static uint32_t Word(Boundary &b, T value, const char *what)
    {
        if (sizeof(T) <= 4)
            return (uint32_t)value;
        return std::is_signed<T>::value ? b.GuestSigned((intptr_t)value, what) : b.GuestUnsigned((uintptr_t)value, what);
    }
};
template <>
struct Result<GuestWord> {
    static uint32_t Word(Boundary &, GuestWord value, const char *) { return value.value; }
};
template <class T>
struct Result<T, std::enable_if_t<IsHandle<T>::value>> {
    static uint32_t Word(Boundary &b, T value, const char *what) { return b.GuestHandle((const void *)value, what); }
};
template <>
struct Result<HINSTANCE> {
    static uint32_t Word(Boundary &b, HINSTANCE value, const char *what) { return b.GuestInstance(value, what); }
};
// A place in guest memory the host function found (a resource in a mapped
// image, a character in a guest string).
template <class T>
struct Result<T *, std::enable_if_t<!IsHandle<T *>::value>> {
    static uint32_t Word(Boundary &b, T *value, const char *what) { return b.Guest((const void *)value, what); }
};
