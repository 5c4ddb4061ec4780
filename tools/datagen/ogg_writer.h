// Writes a mono sound as an Ogg Vorbis file through FFmpeg's libraries (with
// the Vorbis encoder they are built with), for the music the game streams as
// Ogg. The file's bytes are the same at every build.
#pragma once

#include <filesystem>
#include <span>
#include <string>

namespace tr::sound {

// Samples from -1 to 1 at the rate; false with the reason in *error.
bool WriteOggVorbis(const std::filesystem::path& file, std::span<const float> samples, int rate, std::string* error);

}  // namespace tr::sound
