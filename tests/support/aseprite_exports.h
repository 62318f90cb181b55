// aseprite_exports: JSON files of sprite sheet exports, laid out as the
// editor writes them, for the tests and the fuzzer's seeds.
#ifndef ANIM_TESTS_ASEPRITE_EXPORTS_H
#define ANIM_TESTS_ASEPRITE_EXPORTS_H

#include <string>

namespace test_support {

// A tag in each direction, and the frames each plays: walk 0 1 2 3, idle 5
// 4, bob 5 6 7 6, sway 3 2 1 2.
constexpr const char* kExportTags =
    R"([{"name":"walk","from":0,"to":3,"direction":"forward","color":"#000000ff"},)"
    R"({"name":"idle","from":4,"to":5,"direction":"reverse","color":"#000000ff"},)"
    R"({"name":"bob","from":5,"to":7,"direction":"pingpong","color":"#000000ff"},)"
    R"({"name":"sway","from":1,"to":3,"direction":"pingpong_reverse","color":"#000000ff"}])";

// The export of the sheet `image` (as meta.image names it) of `frames`
// cells of 5 x 4 in rows of 4, frame i shown for 10 * (i + 1) ms: frames an
// object keyed by file name (`hash`) or an array, and the tags `tags`.
inline std::string aseprite_export(bool hash, const std::string& image, const std::string& tags = kExportTags,
                                   int frames = 8)
{
    std::string out = std::string(R"({"frames":)") + (hash ? "{" : "[");
    for (int i = 0; i < frames; ++i) {
        const std::string name = "\"hero " + std::to_string(i) + ".aseprite\"";
        out += std::string(i > 0 ? "," : "") + (hash ? name + ":{" : "{\"filename\":" + name + ",") +
               R"("frame":{"x":)" + std::to_string(i % 4 * 5) + R"(,"y":)" + std::to_string(i / 4 * 4) +
               R"(,"w":5,"h":4},"rotated":false,"trimmed":false,"spriteSourceSize":{"x":0,"y":0,"w":5,"h":4},)" +
               R"("sourceSize":{"w":5,"h":4},"duration":)" + std::to_string(10 * (i + 1)) + "}";
    }
    return out + (hash ? "}" : "]") + R"(,"meta":{"version":"1.3","image":")" + image +
           R"(","format":"RGBA8888","size":{"w":20,"h":8},"scale":"1","frameTags":)" + tags + "}}";
}

}  // namespace test_support

#endif
