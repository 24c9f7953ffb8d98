// mvecfont FONT OUTPUT [RANGES]: writes the face's glyphs as a ".mvec" font.
#include <cstdio>
#include <fstream>

#include "tools/mvecfont/fontconverter.h"

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: %s FONT OUTPUT.mvec [RANGES, e.g. 32-126,160-255,0x20ac]\n", argv[0]);
        return 2;
    }
    mvecfont::ConvertOptions options;
    if (argc == 4 && !mvecfont::ParseRanges(argv[3], options.ranges)) {
        std::fprintf(stderr, "mvecfont: cannot read the ranges \"%s\"\n", argv[3]);
        return 2;
    }
    options.report = [](const std::string& note) { std::fprintf(stderr, "mvecfont: %s\n", note.c_str()); };
    std::vector<uint8_t> bytes;
    std::string error;
    if (!mvecfont::ConvertFont(argv[1], options, bytes, error)) {
        std::fprintf(stderr, "mvecfont: %s: %s\n", argv[1], error.c_str());
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
        std::fprintf(stderr, "mvecfont: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
