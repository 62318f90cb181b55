// file_bytes: whole files read into memory (internal to the toolkit, not
// installed).
//
//   FileBytes  a file's bytes in a malloc'ed buffer
//   read_file  read a file whole
#ifndef ANIM_DETAIL_FILE_BYTES_H
#define ANIM_DETAIL_FILE_BYTES_H

#include <SDL.h>

#include <cstddef>  // Required for: size_t
#include <cstdlib>  // Required for: free()
#include <memory>   // Required for: std::unique_ptr

namespace anim::detail {

// A file's bytes, in a malloc'ed buffer.
struct FileBytes {
    std::unique_ptr<unsigned char, decltype(&free)> data{nullptr, free};
    size_t size = 0;
};

// Reads the file at `path` whole; data is null, with the reason set, when it
// cannot be opened or read (a folder is "not <kind>"), is empty or too large
// for SDL's memory streams.
FileBytes read_file(const char* path, const char* kind);

}  // namespace anim::detail

#endif
