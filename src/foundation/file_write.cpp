#include "foundation/file_write.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace tr {

namespace {
thread_local cWrittenFilesRecord* tRecord = nullptr;
thread_local int tWriteFailure = 0;
}  // namespace

int LastWriteFailure() { return tWriteFailure; }
void NoteWriteFailure(int error) { tWriteFailure = error != 0 ? error : EIO; }
void ClearWriteFailure() { tWriteFailure = 0; }

cWrittenFilesRecord::cWrittenFilesRecord() : outer_(tRecord) { tRecord = this; }
cWrittenFilesRecord::~cWrittenFilesRecord() { tRecord = outer_; }

int CreateNewFile(const std::filesystem::path& file) {
  if (file.native().find('\0') != std::string::npos) {
    errno = EINVAL;
    return -1;
  }
  // O_EXCL fails on any existing name, a dangling link too, so nothing that
  // was there before is ever opened.
  return ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
}

cReplacingFile::cReplacingFile(std::filesystem::path file) : file_(std::move(file)), record_(tRecord) {
  temp_ = file_;
  temp_ += ".tmp";
  // Removing a link removes the link, not what it names.
  std::error_code ec;
  std::filesystem::remove(temp_, ec);
  descriptor_ = CreateNewFile(temp_);
  if (descriptor_ < 0) NoteWriteFailure(errno);
}

cReplacingFile::~cReplacingFile() {
  if (descriptor_ >= 0) ::close(descriptor_);
  if (committed_ || descriptor_ < 0) return;
  std::error_code ec;
  std::filesystem::remove(temp_, ec);
}

void cReplacingFile::Write(std::string_view bytes) {
  if (descriptor_ < 0 || failed_) return;
  if (record_ != nullptr) {
    digest_.Update(bytes);
    size_ += bytes.size();
  }
  while (!bytes.empty()) {
    const ssize_t written = ::write(descriptor_, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      // A write that takes nothing has found no room.
      NoteWriteFailure(written < 0 ? errno : ENOSPC);
      failed_ = true;
      return;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
}

bool cReplacingFile::Commit() {
  if (descriptor_ < 0) return false;
  const int closed = ::close(descriptor_);
  if (closed != 0) NoteWriteFailure(errno);
  descriptor_ = -1;
  std::error_code ec;
  if (failed_ || closed != 0) {
    std::filesystem::remove(temp_, ec);
    return false;
  }
  // A rename replaces a link standing under the file's name; it never writes through it.
  std::filesystem::rename(temp_, file_, ec);
  if (ec) {
    NoteWriteFailure(ec.value());
    std::filesystem::remove(temp_, ec);
    return false;
  }
  committed_ = true;
  if (record_ != nullptr) record_->entries_.push_back({file_, size_, digest_.Value()});
  return true;
}

bool WriteFileReplacing(const std::filesystem::path& file, std::string_view bytes) {
  cReplacingFile out(file);
  if (!out.IsOpen()) return false;
  out.Write(bytes);
  return out.Commit();
}

}  // namespace tr
