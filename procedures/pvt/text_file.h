// A text file written whole or not at all: the lines go through one stream
// into a temporary file beside the target, which is renamed over the target
// only when everything was written. A failure leaves an older target intact
// and no temporary file behind.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace pvt {

class AtomicTextFile {
 public:
  // Creates the temporary file; Failed() tells whether that worked.
  explicit AtomicTextFile(std::filesystem::path target);
  ~AtomicTextFile();
  AtomicTextFile(const AtomicTextFile&) = delete;
  AtomicTextFile& operator=(const AtomicTextFile&) = delete;

  // Writes the bytes of `line` and a line feed. Does nothing once failed.
  void WriteLine(std::string_view line);
  // Closes the temporary file and renames it over the target; false (and
  // Reason()) when any step, or an earlier write, failed.
  bool Commit();

  bool Failed() const { return !reason_.empty(); }
  // What went wrong, in the system's words.
  const std::string& Reason() const { return reason_; }

 private:
  void Fail(const char* step, int error);
  void Discard();

  std::filesystem::path target_;
  std::string temporary_;
  std::FILE* stream_ = nullptr;
  std::string reason_;
  bool committed_ = false;
};

}  // namespace pvt
