// What SDL makes first for a window on this display, learnt from the renderer
// probe program run in a process of its own: a GL driver loaded only to be
// told it rasterises on the CPU stays resident (its code, some 50 MB, and its
// threads) after its renderer is gone.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace tr {

struct ProbedRenderer {
  std::string chosen;  // SDL's name for the renderer
  std::string gl;      // the GL's own name for a GL renderer, else empty
};

// Runs the probe (stdin and stderr closed, at most a few seconds) and reads
// its answer; nullopt when it is missing, fails or says nothing usable.
std::optional<ProbedRenderer> ProbeRenderer(const std::filesystem::path& program);

// The probe program beside this process's own executable.
std::filesystem::path ProbeBesideExecutable();

}  // namespace tr
