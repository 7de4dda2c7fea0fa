#include "files/le_words.h"

#include <exception>
#include <fstream>
#include <iterator>

#include "files/read_buffer.h"
#include "files/utf8_path.h"

namespace zoa {

bool WordWriter::WriteFile(const std::string& path) const {
    std::ofstream file(files::FsPath(path), std::ios::binary | std::ios::trunc);
    if (!file) return false;
    file.write(reinterpret_cast<const char*>(bytes_.data()),
               static_cast<std::streamsize>(bytes_.size()));
    return static_cast<bool>(file.flush());
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& out) {
    std::ifstream file;
    std::streamoff size = -1;
    if (!files::OpenWholeFile(path, file, size)) return false;
    try {
        // One read of the size the file has; what cannot tell its size (a
        // pipe) is read to its end piece by piece.
        if (size < 0) {
            out.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
            return !file.bad();
        }
        out.resize(static_cast<size_t>(size));
        file.read(reinterpret_cast<char*>(out.data()), size);
        return file.gcount() == size;
    } catch (const std::exception&) {
        // A read error, or a size no memory can hold.
        out.clear();
        return false;
    }
}

}  // namespace zoa
