#include "platform/renderer_probe.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <string_view>
#include <system_error>

extern char** environ;

namespace tr {
namespace {

// Reads the child's answer until it closes its output or the time is up.
bool ReadAll(int fd, std::string& out, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  char buffer[512];
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd p{fd, POLLIN, 0};
    const int ready = poll(&p, 1, static_cast<int>(left.count()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return false;
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    // The answer is two short lines; more is no answer.
    if (out.size() + static_cast<std::size_t>(n) > 4096) return false;
    out.append(buffer, static_cast<std::size_t>(n));
  }
}

}  // namespace

std::filesystem::path ProbeBesideExecutable() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : self.parent_path() / "renderer_probe";
}

std::optional<ProbedRenderer> ProbeRenderer(const std::filesystem::path& program,
                                            std::chrono::milliseconds timeout) {
  std::error_code error;
  if (program.empty() || !std::filesystem::is_regular_file(program, error) || access(program.c_str(), X_OK) != 0) {
    return std::nullopt;
  }
  int pipe_fds[2];
  if (pipe2(pipe_fds, O_CLOEXEC) != 0) return std::nullopt;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], 1);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  // Nothing else of the game's (its log, its sockets) reaches the probe.
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);
  const std::string path = program.string();
  char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipe_fds[1]);
  if (spawned != 0) {
    close(pipe_fds[0]);
    return std::nullopt;
  }
  std::string answer;
  const bool read_all = ReadAll(pipe_fds[0], answer, timeout);
  close(pipe_fds[0]);
  if (!read_all) kill(pid, SIGKILL);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (!read_all || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  const std::size_t first = answer.find('\n');
  if (first == std::string::npos || first == 0) return std::nullopt;
  const std::size_t second = answer.find('\n', first + 1);
  if (second == std::string::npos || second + 1 != answer.size()) return std::nullopt;
  return ProbedRenderer{answer.substr(0, first), answer.substr(first + 1, second - first - 1)};
}

}  // namespace tr
