#pragma once
// What the options screen and the key list share: text rows one under the other, the selected
// one taller by its help line, chosen by the pointer's height or stepped with wrap-around.
namespace menu {

// Row tops from y0 down, for `rows` rows plus a last bound, the screen's bottom. A row for which
// hidden(r) is true takes no space. top must hold rows + 1 values.
void layoutRows(int* top, int rows, int y0, int rowHeight, int helpHeight, int selection, int screenH,
                bool (*hidden)(int row, const void* context) = nullptr, const void* context = nullptr);

// The first row r with top[r] < y < top[r + 1], or -1.
int rowAt(const int* top, int rows, int y);

// One row up from the first row is the last, one down from the last is the first.
inline int rowAbove(int row, int rows) { return row == 0 ? rows - 1 : row - 1; }
inline int rowBelow(int row, int rows) { return (row + 1) % rows; }

}  // namespace menu
