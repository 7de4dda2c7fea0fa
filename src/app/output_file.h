#pragma once
#include <fstream>
#include <ostream>
#include <string>

namespace zoa {

// The file of --dump or --trace. "-" names standard output, so a run can be
// read from a pipe, and in the browser, where there are no files to look in,
// from the console.
class OutputFile {
  public:
    // Starts the file empty (standard output is taken as it is).
    void Open(const std::string& path);
    bool IsOpen() const { return toStdout_ || file_.is_open(); }
    std::ostream& Stream();
    // Flushes and lets go; false when anything could not be written.
    bool Close();

  private:
    std::ofstream file_;
    bool toStdout_ = false;
};

}  // namespace zoa
