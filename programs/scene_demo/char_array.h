// char_array: null-terminated lists of strings, the form of a path list.
//
//   make_char_array             build a list from strings given as arguments
//   free_everything_char_array  release each string (with free) and the list
//   free_structure_char_array   release the list alone
#ifndef ANIM_SCENE_DEMO_CHAR_ARRAY_H
#define ANIM_SCENE_DEMO_CHAR_ARRAY_H

// Builds a null-terminated list of `count` strings (char*) passed as further
// arguments, in order; it can be handed to create_sprite as a path list. The
// list owns nothing until it is handed to free_everything_char_array.
// Returns null when `count` is negative, a string is null (the ones after it
// are not read) or memory runs out.
char** make_char_array(int count, ...);

// Releases every string of the list with free(), then the list: for strings
// allocated one by one. A null list is ignored.
void free_everything_char_array(char** list);

// Releases the list alone: for strings that live elsewhere, such as
// literals. A null list is ignored.
void free_structure_char_array(char** list);

#endif
