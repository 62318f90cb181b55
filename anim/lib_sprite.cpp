// lib_sprite: animated sequences of keyed frames.
#include "anim/lib_sprite.h"

#include "anim/detail/error_text.h"
#include "anim/detail/keyed_image.h"
#include "anim/detail/pace_steps.h"
#include "anim/detail/sheet_grid.h"
#include "anim/detail/sprite_frames.h"
#include "anim/object_list.h"

#include <algorithm>  // Required for: std::copy_n()
#include <cstdio>     // Required for: snprintf()
#include <cstdlib>    // Required for: calloc(), malloc(), free()
#include <memory>     // Required for: std::unique_ptr, std::make_unique()
#include <new>        // Required for: std::bad_alloc
#include <numeric>    // Required for: std::accumulate()

// The shared loaders and drawing helpers of the toolkit.
using namespace anim::detail;

namespace {

// The one blit of every draw form: the current frame through the given
// rectangles.
void draw_frame(const sprite* s, SDL_Surface* target, SDL_Rect* src, SDL_Rect* dst)
{
    blit_image(s->frames[s->frame], src, target, dst);
}

}  // namespace

sprite* anim::detail::make_sprite(SDL_Surface** frames, int frame_count, int frozen, int x, int y)
{
    auto* s = static_cast<sprite*>(calloc(1, sizeof(sprite)));
    if (s == nullptr) {
        SDL_OutOfMemory();
        urgent_free(frames, frame_count);
        return nullptr;
    }
    s->frames = frames;
    s->frozen = frozen;
    s->pos.x = static_cast<Sint16>(x);
    s->pos.y = static_cast<Sint16>(y);
    s->frame = 0;
    s->frame_count = frame_count;
    s->w = frames[0]->w;
    s->h = frames[0]->h;
    s->pace.step_ms = ANIM_DEFAULT_STEP_MS;
    return s;
}

sprite* anim::detail::create_sprite_from_files(PictureFiles& files, const char* const* paths, int frozen, int x, int y,
                                               int r, int g, int b)
{
    const int frame_count = count_paths(paths);
    if (frame_count == 0) {
        SDL_SetError("a sprite needs at least one frame path");
        return nullptr;
    }
    const auto path = [paths](int i) { return paths[i]; };
    SDL_Surface** frames = load_keyed_images(files, frame_count, path, r, g, b);
    return frames != nullptr ? make_sprite(frames, frame_count, frozen, x, y) : nullptr;
}

namespace {

// Opens the sheet at `path` as open_sprite_sheet does; with `must_fill`
// false, a strip of any width may be left over (the rule of
// create_sprite_from_sheet, which takes cells from the corner alone).
sprite_sheet* open_sheet(const char* path, int cell_w, int cell_h, int margin, int spacing, int r, int g, int b,
                         bool must_fill)
{
    if (cell_w <= 0 || cell_h <= 0 || margin < 0 || spacing < 0) {
        SDL_SetError(
            "a sheet needs cells of a positive size and no negative margin or spacing, not cells of %d x %d "
            "with margin %d and spacing %d",
            cell_w, cell_h, margin, spacing);
        return nullptr;
    }
    if (path == nullptr) {
        SDL_SetError("no sheet path given");
        return nullptr;
    }
    std::unique_ptr<sprite_sheet_picture> picture;
    try {
        picture = std::make_unique<sprite_sheet_picture>();
        picture->path = path;
    } catch (const std::bad_alloc&) {
        SDL_OutOfMemory();
        return nullptr;
    }
    picture->r = r;
    picture->g = g;
    picture->b = b;
    int width = 0, height = 0;
    if (!picture->files.size_of(path, key_colour(r, g, b), &width, &height)) return nullptr;
    const SheetGrid grid = lay_out_grid(width, height, cell_w, cell_h, margin, spacing);
    if (must_fill && !grid_fills(grid, width, height)) {
        refuse_unfilled(path, grid, width, height);
        return nullptr;
    }
    auto* sheet = static_cast<sprite_sheet*>(calloc(1, sizeof(sprite_sheet)));
    if (sheet == nullptr) {
        SDL_OutOfMemory();
        return nullptr;
    }
    *sheet = sprite_sheet{grid.columns, grid.rows, cell_w, cell_h, margin, spacing, picture.release()};
    return sheet;
}

}  // namespace

sprite_sheet* open_sprite_sheet(const char* path, int cell_w, int cell_h, int margin, int spacing, int r, int g, int b)
{
    sprite_sheet* sheet = open_sheet(path, cell_w, cell_h, margin, spacing, r, g, b, true);
    // A sheet that cannot be cut (a compressed BMP) is refused now, not at
    // its first sprite.
    sprite* first = sheet != nullptr ? create_sprite_from_cells(sheet, 0, 1, 0, 0, 0) : nullptr;
    if (first == nullptr) {
        close_sprite_sheet(sheet);
        return nullptr;
    }
    free_sprite(first);
    return sheet;
}

sprite* create_sprite_from_cells(const sprite_sheet* sheet, int first, int count, int frozen, int x, int y)
{
    if (sheet == nullptr) {
        SDL_SetError("no sprite sheet given");
        return nullptr;
    }
    sprite_sheet_picture& picture = *sheet->picture;
    const SheetGrid grid{sheet->columns, sheet->rows, sheet->cell_w, sheet->cell_h, sheet->margin, sheet->spacing};
    if (first < 0 || count <= 0 || count > grid.cells() - first) {
        char reason[512];
        snprintf(reason, sizeof reason, "sheet %s has %d cells (%d x %d of %d x %d), not %d from cell %d on",
                 picture.path.c_str(), grid.cells(), grid.columns, grid.rows, grid.cell_w, grid.cell_h, count, first);
        set_error_text(reason);
        return nullptr;
    }
    return cut_sprite(
        picture.files, picture.path.c_str(), count, [&](int i) { return grid.cell(first + i); }, picture.r, picture.g,
        picture.b, frozen, x, y);
}

sprite* create_sprite_from_row(const sprite_sheet* sheet, int row, int frozen, int x, int y)
{
    if (sheet == nullptr) return create_sprite_from_cells(sheet, 0, 1, frozen, x, y);
    if (row < 0 || row >= sheet->rows) {
        SDL_SetError("sheet %s has %d rows, not row %d", sheet->picture->path.c_str(), sheet->rows, row);
        return nullptr;
    }
    return create_sprite_from_cells(sheet, row * sheet->columns, sheet->columns, frozen, x, y);
}

void close_sprite_sheet(sprite_sheet* sheet)
{
    if (sheet == nullptr) return;
    delete sheet->picture;
    free(sheet);
}

sprite* create_sprite_from_sheet(const char* path, int frame_w, int frame_h, int count, int frozen, int x, int y, int r,
                                 int g, int b)
{
    if (count <= 0) {
        SDL_SetError("a sheet needs a positive count of cells, not %d", count);
        return nullptr;
    }
    sprite_sheet* sheet = open_sheet(path, frame_w, frame_h, 0, 0, r, g, b, false);
    sprite* s = sheet != nullptr ? create_sprite_from_cells(sheet, 0, count, frozen, x, y) : nullptr;
    close_sprite_sheet(sheet);
    return s;
}

sprite* create_sprite(const char* const* paths, int frozen, int x, int y, int r, int g, int b)
{
    PictureFiles files;
    return create_sprite_from_files(files, paths, frozen, x, y, r, g, b);
}

void free_sprite(sprite* s)
{
    if (s == nullptr) return;
    urgent_free(s->frames, s->frame_count);
    free(s->durations);
    free(s);
}

void blit_sprite(sprite* s, SDL_Surface* target)
{
    draw_frame(s, target, nullptr, &s->pos);
}

void blit_sprite_from(sprite* s, SDL_Surface* target, SDL_Rect src)
{
    draw_frame(s, target, &src, &s->pos);
}

void blit_sprite_from_to(sprite* s, SDL_Surface* target, SDL_Rect src, SDL_Rect dst)
{
    draw_frame(s, target, &src, &dst);
}

void update_sprite(sprite* s)
{
    if (s->frozen != 0) return;
    // An equality test against the last index: a one-frame sprite stays on 0.
    s->frame = s->frame == s->frame_count - 1 ? 0 : s->frame + 1;
}

void set_sprite_frame_time(sprite* s, int ms)
{
    s->pace = anim_pace{ms, 0};
}

int set_sprite_frame_durations(sprite* s, const int* durations)
{
    int* own = nullptr;
    if (durations != nullptr) {
        for (int i = 0; i < s->frame_count; ++i)
            if (durations[i] <= 0) {
                SDL_SetError("frame %d of a sprite cannot show for %d ms", i, durations[i]);
                return -1;
            }
        own = static_cast<int*>(malloc(static_cast<size_t>(s->frame_count) * sizeof(int)));
        if (own == nullptr) {
            SDL_OutOfMemory();
            return -1;
        }
        std::copy_n(durations, s->frame_count, own);
    }
    free(s->durations);
    s->durations = own;
    s->pace.elapsed_ms = 0;
    return 0;
}

void advance_sprite(sprite* s, int ms)
{
    if (s->frozen != 0) return;
    if (s->durations == nullptr) {
        take_steps(due_steps(s->pace, ms), s->frame_count, [s] { update_sprite(s); });
        return;
    }
    // Each frame for its own time: whole cycles at once, then frame by frame.
    const long long cycle = std::accumulate(s->durations, s->durations + s->frame_count, 0LL);
    if (cycle <= 0) return;  // durations written into the record that add up to no time
    long long spent = spent_ms(s->pace, ms) % cycle;
    while (spent >= s->durations[s->frame]) {
        spent -= s->durations[s->frame];
        update_sprite(s);
    }
    s->pace.elapsed_ms = static_cast<int>(spent);
}

ANIM_DEFINE_LIST_BUILDER(make_sprite_array, sprite)

sprite** make_sprite_array_from(int count, sprite* const* members)
{
    return anim::copy_object_list(count, members);
}

void free_sprite_array(sprite** list)
{
    anim::free_object_list(list, free_sprite);
}

void free_structure_sprite_array(sprite** list)
{
    anim::free_object_list<sprite>(list, nullptr);
}
