#include "app/output_file.h"

#include <iostream>

namespace zoa {

void OutputFile::Open(const std::string& path) {
    toStdout_ = path == "-";
    if (!toStdout_) file_.open(path, std::ios::trunc);
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
