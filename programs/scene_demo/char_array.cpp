// char_array: string lists on the toolkit's list templates.
#include "char_array.h"

#include "anim/object_list.h"

#include <cstdlib>  // Required for: free()

namespace {

void free_string(char* text)
{
    free(text);
}

}  // namespace

ANIM_DEFINE_LIST_BUILDER(make_char_array, char)

void free_everything_char_array(char** list)
{
    anim::free_object_list(list, free_string);
}

void free_structure_char_array(char** list)
{
    anim::free_object_list<char>(list, nullptr);
}
