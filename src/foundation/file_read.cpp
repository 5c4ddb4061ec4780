#include "foundation/file_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <system_error>

namespace tr {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

bool HasNul(const std::filesystem::path& file) {
  return file.native().find('\0') != std::filesystem::path::string_type::npos;
}

}  // namespace

bool IsReadableRegularFile(const std::filesystem::path& file) {
  if (HasNul(file)) return false;
  std::error_code ec;
  return std::filesystem::is_regular_file(std::filesystem::symlink_status(file, ec));
}

sFileBytes ReadRegularFile(const std::filesystem::path& file) {
  sFileBytes result;
  // Checked before opening: opening a pipe for reading would wait for a writer.
  if (!IsReadableRegularFile(file)) return result;
  // A link is not followed: a file of a received save or scenario that links
  // elsewhere would read a file outside the game folder. C streams report
  // read errors by their result; the C++ file streams of this library throw
  // from inside a read instead.
  const int descriptor = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) return result;
  std::unique_ptr<std::FILE, FileCloser> handle(::fdopen(descriptor, "rb"));
  if (!handle) {
    ::close(descriptor);
    return result;
  }
  // The check again on what was opened, in case the name changed in between.
  struct stat info {};
  if (fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) return result;
  result.opened = true;

  char chunk[1 << 16];
  for (;;) {
    const std::size_t got = std::fread(chunk, 1, sizeof chunk, handle.get());
    result.bytes.append(chunk, got);
    if (got < sizeof chunk) break;
  }
  result.complete = !std::ferror(handle.get());
  return result;
}

std::optional<std::string> ReadWholeFile(const std::filesystem::path& file) {
  sFileBytes read = ReadRegularFile(file);
  if (!read.complete) return std::nullopt;
  return std::move(read.bytes);
}

}  // namespace tr
