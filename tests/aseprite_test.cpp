// Personnages from Aseprite's sprite sheet exports: each tag a sprite of the
// frames it plays, in both forms of the JSON file; every fault of a file
// refused with the field at fault, leaving nothing.
#include "anim/lib_aseprite.h"
#include "anim/owned.h"

#include "support/aseprite_exports.h"
#include "support/ledger_test.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <utility>
#include <vector>

using namespace test_support;

namespace {

class AsepriteTest : public LedgerTest {
protected:
    // The sheet: cell i (5 x 4, in rows of 4) solid in colour(i).
    void SetUp() override
    {
        LedgerTest::SetUp();
        write_bmp(dir.file("sheet.bmp"), 20, 8, [](int x, int y) { return colour(x / 5 + y / 4 * 4); });
    }
    static Rgb colour(int cell) { return {Uint8(30 * cell), 100, Uint8(200 - 20 * cell)}; }
    // Writes `json` as hero.json beside the sheet; its path.
    std::string write_export(const std::string& json) const
    {
        std::string path = dir.file("hero.json");
        std::ofstream(path, std::ios::binary) << json;
        return path;
    }
};

TEST_F(AsepriteTest, EachTagIsASpriteOfItsFramesInItsDirectionInBothForms)
{
    const std::pair<const char*, std::vector<int>> kTags[] = {
        {"walk", {0, 1, 2, 3}}, {"idle", {5, 4}}, {"bob", {5, 6, 7, 6}}, {"sway", {3, 2, 1, 2}}};
    for (const bool hash : {false, true}) {
        SCOPED_TRACE(hash ? "hash" : "array");
        SDL_SetError("the caller's own");
        const anim::owned_personnage p(
            create_personnage_from_aseprite(write_export(aseprite_export(hash, "sheet.bmp")).c_str(), 3, 4, 0, 0, 0));
        ASSERT_TRUE(p) << SDL_GetError();
        EXPECT_STREQ(SDL_GetError(), "the caller's own");
        ASSERT_EQ(p->sprite_count, 4);
        EXPECT_EQ(std::make_tuple(p->x, p->y, p->hidden), std::make_tuple(3, 4, 1));
        for (int t = 0; t < 4; ++t) {
            const auto& [name, frames] = kTags[t];
            EXPECT_EQ(find_sprite_personnage(p.get(), name), t);
            const sprite* s = p->sprites[t];
            ASSERT_EQ(s->frame_count, static_cast<int>(frames.size())) << name;
            for (size_t k = 0; k < frames.size(); ++k) {
                EXPECT_EQ(pixel_at(s->frames[k], 4, 3), colour(frames[k])) << name << " frame " << k;
                EXPECT_EQ(s->durations[k], 10 * (frames[k] + 1)) << name << " frame " << k;
            }
        }
        EXPECT_EQ(find_sprite_personnage(p.get(), "run"), -1);
        EXPECT_STREQ(SDL_GetError(), "no sprite of the personnage is named \"run\"");
    }
    const anim::owned_personnage untagged(create_personnage_from_aseprite(
        write_export(aseprite_export(false, "sheet.bmp", "[]", 3)).c_str(), 0, 0, 0, 0, 0));
    ASSERT_TRUE(untagged) << SDL_GetError();
    EXPECT_EQ(std::make_tuple(untagged->sprite_count, untagged->sprites[0]->frame_count,
                              find_sprite_personnage(untagged.get(), "")),
              std::make_tuple(1, 3, 0));
}

TEST_F(AsepriteTest, EveryFaultOfAnExportIsRefusedNamingItsField)
{
    const std::string array = aseprite_export(false, "sheet.bmp"), hash = aseprite_export(true, "sheet.bmp");
    std::string crowd = "[";
    for (int i = 0; i < 4097; ++i) crowd += std::string(i > 0 ? "," : "") + R"({"name":"t","from":0,"to":3})";
    crowd += "]";
    // Each row: the export, a piece of it, what replaces the piece, and what
    // the reason says after "cannot read <path>: ".
    const struct {
        const std::string& json;
        std::string piece, by, reason;
    } kRefused[] = {
        {array, R"(,"meta")", "", "is not JSON: parse error at line 1, column"},
        {array, array, "[1, 2]", "the file is not a JSON object"},
        {array, array, std::string(40, '[') + std::string(40, ']'), "the file nests arrays and objects deeper than 32"},
        {array, R"("meta":{)", R"("atem":{)", "meta is missing"},
        {array, R"({"frames":[)", R"({"frames":7,"x":[)", "frames is neither an array nor an object"},
        {array, R"("frame":{"x":0,"y":0,"w":5)", R"("frame":{"x":0,"y":0,"w":-5)",
         "frames[0].frame.w is -5, not from 1 to 32767"},
        {array, R"("duration":20)", R"("duration":1e30)", "frames[1].duration is not a whole number"},
        {array, R"("duration":20)", R"("duration":99999999999)",
         "frames[1].duration is 99999999999, not from 1 to "
         "2147483647"},
        {array, R"("duration":10)", R"("duration":0)", "frames[0].duration is 0, not from 1 to 2147483647"},
        {array, R"({"x":5,"y":0)", R"({"x":"5","y":0)", "frames[1].frame.x is not a whole number"},
        {hash, R"("duration":20)", R"("during":20)", R"(frames["hero 1.aseprite"].duration is missing)"},
        {hash, R"("rotated":false)", R"("rotated":true)", R"(frames["hero 0.aseprite"].rotated is true)"},
        {array,
         R"("trimmed":false,"spriteSourceSize":{"x":0,"y":0,"w":5,"h":4},"sourceSize":{"w":5,"h":4},"duration":80)",
         R"("trimmed":true,"duration":80)", "frames[7].trimmed is true"},
        {array, R"({"x":15,"y":4,"w":5)", R"({"x":16,"y":4,"w":5)",
         "frame 7 (16, 4, 5 x 4) runs past the sheet's 20 x 8"},
        {array, R"("from":4,"to":5)", R"("from":4,"to":8)", "meta.frameTags[1].to is 8, not from 4 to 7"},
        {array, R"("from":4,"to":5)", R"("from":4,"to":3)", "meta.frameTags[1].to is 3, not from 4 to 7"},
        {array, R"("name":"bob")", R"("name":5)", "meta.frameTags[2].name is not a string"},
        {array, R"("pingpong_reverse")", R"("sideways")",
         R"(meta.frameTags[3].direction is "sideways", not forward, reverse, pingpong or pingpong_reverse)"},
        {array, kExportTags, "{}", "meta.frameTags is not an array"},
        {array, kExportTags, crowd, "meta.frameTags play more than 16384 frames in all"},
        {array, R"("image":"sheet.bmp")", R"("image":"")", "meta.image is empty"},
        {array, R"("image":"sheet.bmp")", R"("image":["sheet.bmp"])", "meta.image is not a string"},
        {array, R"("image":"sheet.bmp")", R"("image":"none.png")", "none.png: No such file or directory"},
    };
    for (const auto& [json, piece, by, reason] : kRefused) {
        std::string broken = json;
        ASSERT_NE(broken.find(piece), std::string::npos) << piece;
        broken.replace(broken.find(piece), piece.size(), by);
        SDL_ClearError();
        EXPECT_EQ(create_personnage_from_aseprite(write_export(broken).c_str(), 0, 0, 0, 0, 0), nullptr) << reason;
        EXPECT_NE(std::string(SDL_GetError()).find(reason), std::string::npos) << SDL_GetError();
        EXPECT_EQ(live_now(), 0) << reason;
    }
    EXPECT_EQ(create_personnage_from_aseprite(nullptr, 0, 0, 0, 0, 0), nullptr);
    EXPECT_STREQ(SDL_GetError(), "no sprite sheet export path given");
    const std::string missing = dir.file("none.json");
    EXPECT_EQ(create_personnage_from_aseprite(missing.c_str(), 0, 0, 0, 0, 0), nullptr);
    EXPECT_EQ(SDL_GetError(), "cannot read " + missing + ": No such file or directory");
}

}  // namespace
