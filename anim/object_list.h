// object_list: the null-terminated lists of scene objects, on which every
// list builder and destroyer of the toolkit is written; programs may build
// lists of their own on it.
//
// A list is an array of count + 1 pointers whose last entry is null. Its
// members are counted from 0, as the array indexes them, in the reasons its
// builders give too.
// anim::build_object_list_by, anim::build_object_list (variadic members),
// anim::copy_object_list (an array of members), anim::for_each_member and
// anim::free_object_list are applied to an element type;
// ANIM_DEFINE_LIST_BUILDER gives a builder its variadic public form.
#ifndef ANIM_OBJECT_LIST_H
#define ANIM_OBJECT_LIST_H

#include <SDL.h>

#include <cstdarg>  // Required for: va_list, va_arg()
#include <cstdlib>  // Required for: calloc(), free()

namespace anim {

// Builds a list of `count` members, member i the T* that the i-th call of
// next() returns. The list owns nothing. Returns a calloc'ed list, or null
// when `count` is negative, a member is null (next() is not called again;
// no member is touched) or memory runs out.
template <typename T, typename Next>
T** build_object_list_by(int count, Next next)
{
    if (count < 0) {
        SDL_SetError("a list cannot have %d members", count);
        return nullptr;
    }
    auto** list = static_cast<T**>(calloc(static_cast<size_t>(count) + 1, sizeof(T*)));
    if (list == nullptr) {
        SDL_OutOfMemory();
        return nullptr;
    }
    for (int i = 0; i < count; ++i) {
        list[i] = next();
        if (list[i] == nullptr) {
            SDL_SetError("member %d of a list of %d is null", i, count);
            free(list);
            return nullptr;
        }
    }
    return list;
}

// build_object_list_by of the variadic arguments `members`, each a T*.
template <typename T>
T** build_object_list(int count, va_list members)
{
    // The caller started `members`; the analyzer cannot follow it here.
    return build_object_list_by<T>(
        count, [&members] { return va_arg(members, T*); });  // NOLINT(clang-analyzer-valist.Uninitialized)
}

// build_object_list_by of the first `count` entries of the array `members`,
// which may be null only when `count` is not positive.
template <typename T>
T** copy_object_list(int count, T* const* members)
{
    if (members == nullptr && count > 0) {
        SDL_SetError("no member array given for a list of %d", count);
        return nullptr;
    }
    int i = 0;
    return build_object_list_by<T>(count, [&] { return members[i++]; });
}

// Calls each(member) for every member of `list`, in order, up to the
// terminator; a null list has none.
template <typename T, typename Each>
void for_each_member(T** list, Each each)
{
    for (T** member = list; member != nullptr && *member != nullptr; ++member) each(*member);
}

// Releases each member up to the terminator with `release` (when given),
// then the list itself. A null list is ignored.
template <typename T>
void free_object_list(T** list, void (*release)(T*))
{
    if (release != nullptr) for_each_member(list, release);
    free(list);
}

}  // namespace anim

// Defines the list builder `T** name(int count, ...)` on build_object_list:
// C variadic arguments can only be read in the function that received them.
// T names a type, which cannot be parenthesised.
// NOLINTBEGIN(bugprone-macro-parentheses)
#define ANIM_DEFINE_LIST_BUILDER(name, T)                      \
    T** name(int count, ...)                                   \
    {                                                          \
        va_list members;                                       \
        va_start(members, count);                              \
        T** list = anim::build_object_list<T>(count, members); \
        va_end(members);                                       \
        return list;                                           \
    }
// NOLINTEND(bugprone-macro-parentheses)

#endif
