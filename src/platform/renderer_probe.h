// What SDL makes first for a window on this display, learnt from the renderer
// probe program run in a process of its own: a GL driver loaded only to be
// told it rasterises on the CPU stays resident (its code, some 50 MB, and its
// threads) after its renderer is gone.
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

namespace tr {

struct ProbedRenderer {
  std::string chosen;  // SDL's name for the renderer
  std::string gl;      // the GL's own name for a GL renderer, else empty
};

// A GL driver starting on a slow machine takes well under a second.
inline constexpr std::chrono::milliseconds kProbeTimeout{10000};

// Runs the probe (stdin and stderr closed) and reads its answer; nullopt when
// it is missing, fails or says nothing usable. A probe that has not answered
// within the timeout (a hanging graphics driver) is killed.
std::optional<ProbedRenderer> ProbeRenderer(const std::filesystem::path& program,
                                            std::chrono::milliseconds timeout = kProbeTimeout);

// The probe program beside this process's own executable.
std::filesystem::path ProbeBesideExecutable();

}  // namespace tr
