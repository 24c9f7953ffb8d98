// Program entry of the game.
#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("vandermoot %s\n", VANDERMOOT_VERSION);
            return 0;
        }
    }
    std::fprintf(stderr, "vandermoot: the engine driver is not built yet; try --version\n");
    return 1;
}
