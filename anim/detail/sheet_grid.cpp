// sheet_grid: the cells of a sprite sheet, laid out as editors write them.
#include "anim/detail/sheet_grid.h"

#include "anim/detail/error_text.h"

#include <algorithm>  // Required for: std::max()
#include <cstdio>     // Required for: snprintf()

namespace {

// Largest margin and spacing a refusal suggests.
constexpr int kLargestSuggestion = 16;

// Cells of `cell` pixels that fit `side` pixels with `margin` before the
// first and `spacing` between each two.
int cells_across(int side, int cell, int margin, int spacing)
{
    const long long room = static_cast<long long>(side) - margin;
    if (room < cell) return 0;
    return static_cast<int>((room + spacing) / (static_cast<long long>(cell) + spacing));
}

// The pixels `cells` cells take with the margin before them and the
// spacing between them.
long long extent(int cells, int cell, int margin, int spacing)
{
    return margin + static_cast<long long>(cells) * cell + static_cast<long long>(std::max(cells - 1, 0)) * spacing;
}

// True when the cells that fit `side` leave at most the larger of the
// margin and the spacing after them.
bool fills(int side, int cells, int cell, int margin, int spacing)
{
    return cells > 0 && side - extent(cells, cell, margin, spacing) <= std::max(margin, spacing);
}

}  // namespace

namespace anim::detail {

SDL_Rect SheetGrid::cell(int index) const
{
    const int c = index % columns, r = index / columns;
    return SDL_Rect{static_cast<Sint16>(margin + c * (cell_w + spacing)),
                    static_cast<Sint16>(margin + r * (cell_h + spacing)), static_cast<Uint16>(cell_w),
                    static_cast<Uint16>(cell_h)};
}

SheetGrid lay_out_grid(int width, int height, int cell_w, int cell_h, int margin, int spacing)
{
    SheetGrid grid;
    grid.columns = cells_across(width, cell_w, margin, spacing);
    grid.rows = cells_across(height, cell_h, margin, spacing);
    grid.cell_w = cell_w;
    grid.cell_h = cell_h;
    grid.margin = margin;
    grid.spacing = spacing;
    return grid;
}

bool grid_fills(const SheetGrid& g, int width, int height)
{
    return fills(width, g.columns, g.cell_w, g.margin, g.spacing) &&
           fills(height, g.rows, g.cell_h, g.margin, g.spacing);
}

void refuse_unfilled(const char* path, const SheetGrid& g, int width, int height)
{
    // The smallest margin and spacing (smallest sum, then smallest spacing)
    // that fill the sheet with the margin on all four sides.
    char fit[64] = "no margin and spacing up to 16 fit it";
    bool found = false;
    for (int sum = 0; sum <= 2 * kLargestSuggestion && !found; ++sum)
        for (int spacing = std::max(0, sum - kLargestSuggestion);
             spacing <= std::min(sum, kLargestSuggestion) && !found; ++spacing) {
            const int margin = sum - spacing;
            const SheetGrid t = lay_out_grid(width, height, g.cell_w, g.cell_h, margin, spacing);
            found = t.columns > 0 && t.rows > 0 && extent(t.columns, g.cell_w, margin, spacing) + margin == width &&
                    extent(t.rows, g.cell_h, margin, spacing) + margin == height;
            if (found) snprintf(fit, sizeof fit, "margin %d and spacing %d fit it", margin, spacing);
        }
    char reason[512];
    snprintf(reason, sizeof reason,
             "sheet %s is %d x %d, which cells of %d x %d with margin %d and spacing %d do not fill: %d x %d of them "
             "take %lld x %lld; %s",
             path, width, height, g.cell_w, g.cell_h, g.margin, g.spacing, g.columns, g.rows,
             extent(g.columns, g.cell_w, g.margin, g.spacing), extent(g.rows, g.cell_h, g.margin, g.spacing), fit);
    set_error_text(reason);
}

}  // namespace anim::detail
