#include "procedures/pvt/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace pvt {

AtomicTextFile::AtomicTextFile(std::filesystem::path target) : target_(std::move(target)) {
  // A hidden name in the target's own folder, so that the rename stays on
  // one file system and is atomic.
  const std::filesystem::path folder = target_.parent_path();
  std::string hidden(".");
  hidden.append(target_.filename().string()).append(".XXXXXX");
  const std::string pattern = (folder / hidden).string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = ::mkstemp(name.data());
  if (fd < 0) {
    Fail("cannot create a file in the folder", errno);
    return;
  }
  temporary_ = name.data();
  // mkstemp makes the file private; give it the mode a new file would have.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);
  stream_ = ::fdopen(fd, "wb");
  if (stream_ == nullptr) {
    const int error = errno;
    ::close(fd);
    Fail("cannot write", error);
  }
}

AtomicTextFile::~AtomicTextFile() {
  if (!committed_) Discard();
}

void AtomicTextFile::Fail(const char* step, int error) {
  if (reason_.empty()) reason_ = std::string(step) + ": " + std::strerror(error);
  Discard();
}

void AtomicTextFile::Discard() {
  if (stream_ != nullptr) {
    std::fclose(stream_);
    stream_ = nullptr;
  }
  if (!temporary_.empty()) {
    ::unlink(temporary_.c_str());
    temporary_.clear();
  }
}

void AtomicTextFile::WriteLine(std::string_view line) {
  if (Failed() || stream_ == nullptr) return;
  if (std::fwrite(line.data(), 1, line.size(), stream_) != line.size() ||
      std::fputc('\n', stream_) == EOF) {
    Fail("cannot write", errno);
  }
}

bool AtomicTextFile::Commit() {
  if (Failed() || stream_ == nullptr) return false;
  // Everything must be on disk before the name points at it.
  if (std::fflush(stream_) != 0 || ::fsync(::fileno(stream_)) != 0) {
    Fail("cannot write", errno);
    return false;
  }
  const int closed = std::fclose(stream_);
  stream_ = nullptr;
  if (closed != 0) {
    Fail("cannot write", errno);
    return false;
  }
  if (std::rename(temporary_.c_str(), target_.c_str()) != 0) {
    Fail("cannot replace the file", errno);
    return false;
  }
  temporary_.clear();
  committed_ = true;
  return true;
}

}  // namespace pvt
