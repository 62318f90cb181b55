// sheet_grid: where the cells of a sprite sheet lie (internal to the
// toolkit, not installed).
//
//   SheetGrid          a sheet's grid of cells, and the rectangle of each
//   lay_out_grid       as many cells as fit a picture of a given size
//   grid_fills         whether the grid leaves no strip that is no cell
//   refuse_unfilled    the reason a sheet the grid does not fill is refused
//
// The layout is the one sheet editors write: cell (c, r) has its top left
// corner at (margin + c * (cell_w + spacing), margin + r * (cell_h +
// spacing)), and cells are numbered left to right, then top to bottom.
#ifndef ANIM_DETAIL_SHEET_GRID_H
#define ANIM_DETAIL_SHEET_GRID_H

#include <SDL.h>

namespace anim::detail {

// A grid of columns x rows cells of cell_w x cell_h.
struct SheetGrid {
    int columns = 0, rows = 0;
    int cell_w = 0, cell_h = 0, margin = 0, spacing = 0;

    // Number of cells: at most 32767 x 32767, since a picture is no larger.
    int cells() const { return columns * rows; }
    // The rectangle of cell `index`, 0 .. cells()-1.
    SDL_Rect cell(int index) const;
};

// The grid of as many cell_w x cell_h cells (positive sizes) as fit a
// width x height picture with `margin` and `spacing` (not negative): none
// across or down when not even one fits.
SheetGrid lay_out_grid(int width, int height, int cell_w, int cell_h, int margin, int spacing);

// True when the grid has a cell and the pixels after its last column, and
// below its last row, number at most the larger of its margin and spacing:
// editors write the margin on all four sides or only before the first cell,
// and some write a gap after every cell, but a wider strip means cells of
// another size or layout.
bool grid_fills(const SheetGrid& grid, int width, int height);

// Sets the reason why the sheet at `path`, width x height, which `grid`
// does not fill, is refused: its size, the cells and what they take, and a
// margin and spacing (of up to 16 each) that would fit it, if any does.
void refuse_unfilled(const char* path, const SheetGrid& grid, int width, int height);

}  // namespace anim::detail

#endif
