#include "menu/rowList.h"

namespace menu {

void layoutRows(int* top, int rows, int y0, int rowHeight, int helpHeight, int selection, int screenH,
                bool (*hidden)(int row, const void* context), const void* context) {
    int y = y0;
    for (int r = 0; r < rows; ++r) {
        top[r] = y;
        if (hidden && hidden(r, context)) continue;
        y += rowHeight + (r == selection ? helpHeight : 0);
    }
    top[rows] = screenH;
}

int rowAt(const int* top, int rows, int y) {
    for (int r = 0; r < rows; ++r)
        if (top[r] < y && y < top[r + 1]) return r;
    return -1;
}

}  // namespace menu
