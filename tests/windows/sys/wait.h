#pragma once
// Windows has no wait(); what the tests take from here is in posix_on_windows.h.
