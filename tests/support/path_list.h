// path_list: pictures' paths in a folder, and the null-terminated path lists
// the toolkit's creations take, for the tests and the benchmarks.
#ifndef ANIM_PATH_LIST_H
#define ANIM_PATH_LIST_H

#include <string>
#include <vector>

// The paths of a null-terminated list of picture names, in `folder` (a path
// ending in "/", or "" for the working folder).
inline std::vector<std::string> in_folder(const std::string& folder, const char* const* names)
{
    std::vector<std::string> paths;
    for (; *names != nullptr; ++names) paths.push_back(folder + *names);
    return paths;
}

// A null-terminated path list pointing into `paths`, which must outlive it.
inline std::vector<const char*> path_list(const std::vector<std::string>& paths)
{
    std::vector<const char*> list;
    list.reserve(paths.size() + 1);
    for (const std::string& path : paths) list.push_back(path.c_str());
    list.push_back(nullptr);
    return list;
}

#endif
