// Draws the desktop icon at every size the menus ask for.
//   brawnwick-icons OUTDIR
// writes OUTDIR/<N>x<N>/apps/brawnwick.png, the layout of the hicolor icon theme.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "assets/gen/icon.h"
#include "assets/gen/png.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: brawnwick-icons OUTDIR\n");
        return 2;
    }
    for (int size : {16, 22, 32, 48, 64, 128, 256}) {
        const std::string n = std::to_string(size);
        const std::filesystem::path dir = std::filesystem::path(argv[1]) / (n + "x" + n) / "apps";
        std::error_code ec;
        std::filesystem::create_directories(dir, ec);
        const std::string path = (dir / "brawnwick.png").string();
        if (ec || !gen::savePng(gen::gameIcon(size), path)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
