// datagen OUTDIR: writes the show's default data set. For now it lays out the run directory only.
#include <cstdio>
#include <filesystem>
#include <system_error>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: datagen OUTDIR\n");
        return 2;
    }
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(argv[1]) / "data", error);
    if (error) {
        std::fprintf(stderr, "datagen: cannot create %s/data: %s\n", argv[1], error.message().c_str());
        return 1;
    }
    return 0;
}
