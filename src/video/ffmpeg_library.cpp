#include "video/ffmpeg_library.h"

#include <dlfcn.h>

#include <array>

namespace zoa {

namespace {

constexpr std::array<const char*, kFfmpegLibraryCount> kSonames = {
    "libavutil.so." AV_STRINGIFY(LIBAVUTIL_VERSION_MAJOR),
    "libswresample.so." AV_STRINGIFY(LIBSWRESAMPLE_VERSION_MAJOR),
    "libswscale.so." AV_STRINGIFY(LIBSWSCALE_VERSION_MAJOR),
    "libavcodec.so." AV_STRINGIFY(LIBAVCODEC_VERSION_MAJOR),
    "libavformat.so." AV_STRINGIFY(LIBAVFORMAT_VERSION_MAJOR),
};

// The loaded functions. Plain pointers, never destroyed, so that a logo or a
// recording still open while the program ends can close.
Ffmpeg loadedFunctions;

// Whether loading was tried and how it went; filled on first use from the main
// thread, the only one that plays or records video.
struct LoadState {
    bool tried = false;
    bool loaded = false;
    std::string error;
    std::array<std::string, kFfmpegLibraryCount> fileNames;  // tests' replacements
};

LoadState& State() {
    static LoadState state;
    return state;
}

#ifdef __EMSCRIPTEN__
// In the browser nothing can be loaded at run time (dlopen ends the program):
// the page links in the few parts of FFmpeg the logo needs, and the table
// points at them.
bool LoadAll(const LoadState&, Ffmpeg* functions, std::string*) {
#define ZOA_FFMPEG_LINKED(library, name) functions->name = &::name;
    ZOA_FFMPEG_FUNCTIONS(ZOA_FFMPEG_LINKED)
#undef ZOA_FFMPEG_LINKED
    return true;
}
#else
std::string FileName(const LoadState& state, int library) {
    const std::string& replacement = state.fileNames[static_cast<size_t>(library)];
    return replacement.empty() ? kSonames[static_cast<size_t>(library)] : replacement;
}

using Handles = std::array<void*, kFfmpegLibraryCount>;

// Puts the address of `name` in `library` into *function; false, with the
// reason, when the library has no such function.
template <typename Function>
bool Find(const LoadState& state, const Handles& handles, FfmpegLibrary library, const char* name,
          Function* function, std::string* error) {
    const int index = static_cast<int>(library);
    void* address = dlsym(handles[static_cast<size_t>(index)], name);
    if (!address) {
        *error = FileName(state, index) + " has no function " + name;
        return false;
    }
    *function = reinterpret_cast<Function>(address);
    return true;
}

// Opens every library and looks up every function; false with the reason.
// The handles are never closed: the functions stay in use until the end.
bool LoadAll(const LoadState& state, Ffmpeg* functions, std::string* error) {
    Handles handles{};
    for (int i = 0; i < kFfmpegLibraryCount; ++i) {
        const std::string name = FileName(state, i);
        handles[static_cast<size_t>(i)] = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handles[static_cast<size_t>(i)]) {
            const char* why = dlerror();
            *error = "cannot load " + name + " (" + (why ? why : "unknown error") + ")";
            return false;
        }
    }
#define ZOA_FFMPEG_LOOKUP(library, name) \
    if (!Find(state, handles, FfmpegLibrary::library, #name, &functions->name, error)) return false;
    ZOA_FFMPEG_FUNCTIONS(ZOA_FFMPEG_LOOKUP)
#undef ZOA_FFMPEG_LOOKUP
    return true;
}
#endif

}  // namespace

const char* FfmpegSoname(FfmpegLibrary library) {
    return kSonames[static_cast<size_t>(library)];
}

const Ffmpeg* LoadFfmpeg(std::string* error) {
    LoadState& state = State();
    if (!state.tried) {
        state.tried = true;
        Ffmpeg functions;
        state.loaded = LoadAll(state, &functions, &state.error);
        if (state.loaded) loadedFunctions = functions;
    }
    if (!state.loaded) {
        if (error) *error = state.error;
        return nullptr;
    }
    return &loadedFunctions;
}

namespace ffmpeg_testing {

void ReplaceLibrary(FfmpegLibrary library, const std::string& fileName) {
    LoadState& state = State();
    state.fileNames[static_cast<size_t>(library)] = fileName;
    state.tried = false;
}

void Restore() {
    LoadState& state = State();
    state.fileNames = {};
    state.tried = false;
}

}  // namespace ffmpeg_testing

}  // namespace zoa
