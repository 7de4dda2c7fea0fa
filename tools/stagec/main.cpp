// zoa_stagec: turns a stage source (text) into a stage file and its tile map
// file, and a stage file (with its tile map) back into a source.

#include <charconv>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "files/le_words.h"
#include "files/utf8_path.h"
#include "platform/program_start.h"
#include "play/stage_file.h"
#include "play/stage_source.h"
#include "stage_overview.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

const char* const kUsage =
    "usage: zoa_stagec compile SOURCE STAGE_FILE TILE_MAP_FILE\n"
    "       zoa_stagec decompile STAGE_FILE [TILE_MAP_FILE] [-o SOURCE]\n"
    "       zoa_stagec render STAGE_FILE TILE_MAP_FILE PNG [--data DIR] [--shrink N]\n"
    "                         [--columns FIRST:COUNT]\n"
    "  compile    writes e.g. data/map/stage3.map and data/map/3.m from a stage source\n"
    "  decompile  prints the source of a stage (to SOURCE with -o); the map comes from\n"
    "             TILE_MAP_FILE when given, as the game plays it, else from the stage file\n"
    "  render     draws the whole stage with its sprites into one PNG, from the sheets\n"
    "             under DIR/data (default: the current folder); --shrink keeps every\n"
    "             N-th pixel, --columns shows COUNT tile columns from FIRST on\n";

int Usage() {
    std::fputs(kUsage, stderr);
    return kExitUsage;
}

int Failed(const std::string& what) {
    std::fprintf(stderr, "zoa_stagec: %s\n", what.c_str());
    return kExitFailed;
}

bool ReadText(const std::string& path, std::string& text) {
    std::ifstream file(zoa::files::FsPath(path), std::ios::binary);
    if (!file) return false;
    text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return !file.bad();
}

int Compile(const std::string& sourcePath, const std::string& stagePath,
            const std::string& mapPath) {
    std::string text;
    if (!ReadText(sourcePath, text)) return Failed("cannot read " + sourcePath);
    zoa::StageFile stage;
    zoa::TileMapFile map;
    std::string error;
    if (!zoa::CompileStageSource(text, stage, map, &error))
        return Failed(sourcePath + ": " + error);
    zoa::WordWriter stageBytes;
    zoa::WriteStageFile(stage, stageBytes);
    if (!stageBytes.WriteFile(stagePath)) return Failed("cannot write " + stagePath);
    zoa::WordWriter mapBytes;
    zoa::WriteTileMapFile(map, mapBytes);
    if (!mapBytes.WriteFile(mapPath)) return Failed("cannot write " + mapPath);
    return kExitOk;
}

int Decompile(const std::string& stagePath, const std::string& mapPath,
              const std::string& outPath) {
    std::vector<uint8_t> bytes;
    if (!zoa::ReadWholeFile(stagePath, bytes)) return Failed("cannot read " + stagePath);
    zoa::StageFile stage;
    std::string error;
    if (zoa::ReadStageFile(bytes, stage, &error) != zoa::StageRead::kOk) {
        return Failed(stagePath + ": " + error);
    }
    zoa::TileMapFile map;
    const bool haveMap = !mapPath.empty();
    if (haveMap) {
        if (!zoa::ReadWholeFile(mapPath, bytes)) return Failed("cannot read " + mapPath);
        if (!zoa::ReadTileMapFile(bytes, map, &error)) return Failed(mapPath + ": " + error);
        if (map.Map_w != stage[zoa::kMap_w] || map.Map_h != stage[zoa::kMap_h] ||
            map.tiles != stage.tiles) {
            std::fprintf(stderr,
                         "zoa_stagec: note: the map stored in %s differs from %s; the source keeps "
                         "the tile map, which is what the game plays\n",
                         stagePath.c_str(), mapPath.c_str());
        }
    }
    const std::string source = zoa::DecompileStage(stage, haveMap ? &map : nullptr);
    if (outPath.empty()) {
        std::fwrite(source.data(), 1, source.size(), stdout);
        return std::fflush(stdout) == 0 ? kExitOk : Failed("cannot write the source");
    }
    std::ofstream out(zoa::files::FsPath(outPath), std::ios::binary | std::ios::trunc);
    out << source;
    if (!out.flush()) return Failed("cannot write " + outPath);
    return kExitOk;
}

// Reads a stage file and its tile map, both checked as the game checks them.
bool ReadStagePair(const std::string& stagePath, const std::string& mapPath, zoa::StageFile& stage,
                   zoa::TileMapFile& map, std::string& error) {
    std::vector<uint8_t> bytes;
    if (!zoa::ReadWholeFile(stagePath, bytes)) {
        error = "cannot read " + stagePath;
        return false;
    }
    if (zoa::ReadStageFile(bytes, stage, &error) != zoa::StageRead::kOk) {
        error = stagePath + ": " + error;
        return false;
    }
    if (!zoa::ReadWholeFile(mapPath, bytes)) {
        error = "cannot read " + mapPath;
        return false;
    }
    if (!zoa::ReadTileMapFile(bytes, map, &error)) {
        error = mapPath + ": " + error;
        return false;
    }
    return true;
}

bool ParseCount(const std::string& text, int32_t& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && value >= 0;
}

int Render(const std::vector<std::string>& args) {
    std::vector<std::string> files;
    zoa::stagec::OverviewOptions options;
    for (size_t i = 1; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == "--data" && hasValue) {
            options.dataRoot = args[++i];
        } else if (args[i] == "--shrink" && hasValue) {
            if (!ParseCount(args[++i], options.shrink) || options.shrink == 0) return Usage();
        } else if (args[i] == "--columns" && hasValue) {
            const std::string range = args[++i];
            const size_t colon = range.find(':');
            if (colon == std::string::npos ||
                !ParseCount(range.substr(0, colon), options.firstColumn) ||
                !ParseCount(range.substr(colon + 1), options.columns) || options.columns == 0)
                return Usage();
        } else if (args[i].rfind("--", 0) == 0) {
            return Usage();
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.size() != 3) return Usage();
    zoa::StageFile stage;
    zoa::TileMapFile map;
    std::string error;
    if (!ReadStagePair(files[0], files[1], stage, map, error)) return Failed(error);
    if (!zoa::stagec::RenderStageOverview(stage, map, options, files[2], &error))
        return Failed(error);
    return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args = zoa::platform::ProgramArguments(argc, argv);
    if (args.empty()) return Usage();
    if (args[0] == "compile") {
        if (args.size() != 4) return Usage();
        return Compile(args[1], args[2], args[3]);
    }
    if (args[0] == "render") return Render(args);
    if (args[0] == "decompile") {
        std::vector<std::string> files;
        std::string outPath;
        for (size_t i = 1; i < args.size(); ++i) {
            if (args[i] == "-o") {
                if (i + 1 == args.size() || !outPath.empty()) return Usage();
                outPath = args[++i];
            } else {
                files.push_back(args[i]);
            }
        }
        if (files.empty() || files.size() > 2) return Usage();
        return Decompile(files[0], files.size() == 2 ? files[1] : std::string(), outPath);
    }
    return Usage();
}
