#include "sim/demo_input.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <vector>

#include "files/le_words.h"
#include "files/replace_file.h"
#include "files/utf8_path.h"
#include "platform/data_path.h"

namespace zoa {

DemoInput demoInput;

bool ReadDemoFile(const std::string& path, DemoInput& out, std::string* error, DemoLength length) {
    std::ifstream file(files::FsPath(path), std::ios::binary);
    if (!file) {
        if (error) *error = "cannot open " + path;
        return false;
    }
    std::vector<uint8_t> bytes(kDemoFileSize + 1);
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return ReadDemoBytes(bytes.data(), static_cast<size_t>(file.gcount()), out, error, path,
                         length);
}

bool ReadDemoBytes(const uint8_t* bytes, size_t size, DemoInput& out, std::string* error,
                   const std::string& name, DemoLength length) {
    if (length == DemoLength::kExact && size != kDemoFileSize) {
        if (error) *error = name + " is not a demo input file of 32004 bytes";
        return false;
    }
    // Bytes past the end of a short file read as 0, as into a cleared table.
    std::array<uint8_t, kDemoFileSize> whole{};
    std::copy_n(bytes, std::min(size, kDemoFileSize), whole.begin());
    WordReader in(whole.data(), kDemoFileSize);
    out.RecordEndFrame = in.Unsigned();
    for (InputRecord& r : out.records) {
        r.frame = in.Unsigned();
        r.keyDown = in.Unsigned();
        r.keyUp = in.Unsigned();
        r.kind = in.Unsigned();
    }
    return true;
}

bool WriteDemoFile(const std::string& path, const DemoInput& in, std::string* error) {
    WordWriter out;
    out.Unsigned(in.RecordEndFrame);
    for (const InputRecord& r : in.records) {
        out.Unsigned(r.frame);
        out.Unsigned(r.keyDown);
        out.Unsigned(r.keyUp);
        out.Unsigned(r.kind);
    }
    return files::ReplaceFile(path, out.Data(), error);
}

void LoadDemoInput() {
    demoInput = DemoInput{};
    std::string error;
    DemoInput loaded;
    const std::string path = DataPath("data\\map\\DEMO.AV");
    if (ReadDemoFile(path, loaded, &error, DemoLength::kAnyLength)) {
        demoInput = loaded;
    } else {
        std::fprintf(stderr, "zoa_noli: demo input not loaded: %s\n", error.c_str());
    }
}

}  // namespace zoa
