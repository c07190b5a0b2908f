// cardwright-makefdb FONT.ttf OUT.fdb: makes an .fdb font file from a TrueType or OpenType font.
#include "swf/makefdb/fdb_maker.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: cardwright-makefdb FONT.ttf OUT.fdb\n");
        return 64;
    }
    const std::filesystem::path out_path = argv[2];
    try {
        const auto fdb = swf::makefdb::make_fdb(argv[1]);
        // Written beside the target and renamed, so a failed run never leaves half a font.
        std::filesystem::path temp = out_path;
        temp += ".part";
        {
            std::ofstream out(temp, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(fdb.data()), std::streamsize(fdb.size()));
            out.close();
            if (!out) {
                std::fprintf(stderr, "cardwright-makefdb: cannot write %s\n", temp.c_str());
                std::filesystem::remove(temp);
                return 1;
            }
        }
        std::filesystem::rename(temp, out_path);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "cardwright-makefdb: %s\n", e.what());
        return 1;
    }
    return 0;
}
