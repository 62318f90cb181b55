// file_bytes: whole files read into memory.
#include "anim/detail/file_bytes.h"

#include <sys/stat.h>  // Required for: fstat(), S_ISDIR()

#include <cerrno>   // Required for: errno
#include <climits>  // Required for: INT_MAX
#include <cstdio>   // Required for: fopen(), fread(), fseek(), ftell()
#include <cstring>  // Required for: strerror()

namespace {

// Closes a file opened by read_file (a type, since the C library's fclose may
// carry attributes that a function pointer type would drop).
struct CloseFile {
    void operator()(FILE* file) const { fclose(file); }
};

}  // namespace

namespace anim::detail {

FileBytes read_file(const char* path, const char* kind)
{
    FileBytes bytes;
    const std::unique_ptr<FILE, CloseFile> file(fopen(path, "rb"));
    if (!file) {
        SDL_SetError("%s", strerror(errno));
        return bytes;
    }
    struct stat status;
    if (fstat(fileno(file.get()), &status) == 0 && S_ISDIR(status.st_mode)) {
        SDL_SetError("is a folder, not %s", kind);
        return bytes;
    }
    long size = -1;
    if (fseek(file.get(), 0, SEEK_END) == 0) size = ftell(file.get());
    if (size <= 0 || size > INT_MAX || fseek(file.get(), 0, SEEK_SET) != 0) {
        SDL_SetError(size == 0 ? "empty file" : "cannot be read");
        return bytes;
    }
    bytes.data.reset(static_cast<unsigned char*>(malloc(static_cast<size_t>(size))));
    if (!bytes.data) {
        SDL_OutOfMemory();
        return bytes;
    }
    if (fread(bytes.data.get(), 1, static_cast<size_t>(size), file.get()) != static_cast<size_t>(size)) {
        SDL_SetError("cannot be read");
        bytes.data.reset();
        return bytes;
    }
    bytes.size = static_cast<size_t>(size);
    return bytes;
}

}  // namespace anim::detail
