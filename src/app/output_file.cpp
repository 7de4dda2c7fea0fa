#include "app/output_file.h"

#include <iostream>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "files/utf8_path.h"

namespace zoa {

// Binary, so that the bytes are the same on every system (no CR before LF).
void OutputFile::Open(const std::string& path) {
    toStdout_ = path == "-";
    if (!toStdout_) {
        file_.open(files::FsPath(path), std::ios::binary | std::ios::trunc);
        return;
    }
#ifdef _WIN32
    std::cout.flush();
    _setmode(_fileno(stdout), _O_BINARY);
#endif
}

std::ostream& OutputFile::Stream() {
    return toStdout_ ? std::cout : file_;
}

bool OutputFile::Close() {
    if (toStdout_) {
        toStdout_ = false;
        return static_cast<bool>(std::cout.flush());
    }
    file_.close();
    return static_cast<bool>(file_);
}

}  // namespace zoa
