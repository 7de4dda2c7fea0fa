#pragma once
#include <string>

namespace zoa {

// How long start-up took, step by step, up to the moment the title is first on
// the screen; `--timings` prints it once as one line of name=value pairs:
//   startup main_unix_us=... title_unix_us=... window_ms=... logo_ms=...
//           sheets_ms=... sounds_ms=... title_ms=...
// The *_unix_us values are wall-clock times (microseconds since 1970), so a
// script that noted when it launched the program can tell the whole start-up,
// linking of the shared libraries included; the *_ms values are the steps
// (title_ms: from the start of the run to the title on the screen).
class StartupTimings {
  public:
    enum Step { kWindow, kLogo, kSheets, kSounds, kStepCount };

    // Starts the clock afresh; each run of the game calls it first thing.
    static void Begin();
    // The step just finished (each step runs from the end of the one before).
    static void Finished(Step step);
    // Called after every picture the game may have shown: the first one while
    // the title is up ends the measurement, and only that call answers true.
    static bool TitleMayBeShown(bool titleUp);
    // The line --timings prints; empty until the title has been shown.
    static std::string Line();
};

}  // namespace zoa
