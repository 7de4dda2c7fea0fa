// zoa_databuild: writes the game's default data set, generated entirely by our
// own code, under <out>/data/. The same bytes come out on every run.
//
//   zoa_databuild OUT [--preview DIR]
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "data_set.h"

int main(int argc, char** argv) {
    std::string out, preview;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--preview") == 0 && i + 1 < argc) {
            preview = argv[++i];
        } else if (argv[i][0] != '-' && out.empty()) {
            out = argv[i];
        } else {
            std::fprintf(stderr, "usage: zoa_databuild OUT [--preview DIR]\n");
            return 2;
        }
    }
    if (out.empty()) {
        std::fprintf(stderr, "usage: zoa_databuild OUT [--preview DIR]\n");
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    std::string error;
    if (!zoa::databuild::WriteDataSet(out, preview, &error)) {
        std::fprintf(stderr, "zoa_databuild: %s\n", error.c_str());
        return 1;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("zoa_databuild: data set written to %s/data in %.1f s\n", out.c_str(), seconds);
    return 0;
}
