#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/game_app.h"
#include "app/run_folders.h"
#include "platform/program_start.h"

int main(int argc, char** argv) {
    zoa::platform::UseParentConsole();
    const std::vector<std::string> args = zoa::platform::ProgramArguments(argc, argv);
    std::string error;
    const auto options = zoa::ParseCommandLine(args, &error);
    if (!options) {
        std::fprintf(stderr, "zoa_noli: %s\n%s", error.c_str(), zoa::UsageText());
        return zoa::kExitUsage;
    }
    if (options->help) {
        std::fputs(zoa::UsageText(), stdout);
        return zoa::kExitOk;
    }
    if (options->version) {
        std::printf("zoa_noli %s\n", ZOA_VERSION);
        return zoa::kExitOk;
    }
    if (options->paths) {
        std::fputs(zoa::DescribePaths(zoa::ResolveRunPaths(*options)).c_str(), stdout);
        return zoa::kExitOk;
    }
    const int code = zoa::RunGame(*options);
#ifdef __EMSCRIPTEN__
    // In the page main is resumed after each wait: once a wait has come from
    // the browser's storage (a save written through), nothing would see this
    // return. Ending the program here tells the page how the run ended.
    std::exit(code);
#endif
    return code;
}
