// Paints and encodes the game's movies (the intro and the credits) from their
// text source.
// Usage: make_movies <movies.txt> <data folder>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "movie_script.h"

// The caches the font libraries keep for the life of the process are not
// leaks of ours; the sanitizer runtime asks for these before main.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig\nleak:libSDL2\nleak:libfreetype\n";
}

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_movies <movies.txt> <data folder>\n");
    return 1;
  }
  const std::filesystem::path source = argv[1];
  const std::filesystem::path folder = argv[2];
  std::vector<tr::movie::MovieScript> movies;
  std::string error;
  if (!tr::movie::ReadMovieScripts(source, &movies, &error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  std::filesystem::create_directories(folder);
  for (const tr::movie::MovieScript& movie : movies) {
    if (!tr::movie::WriteScriptedMovie(movie, source.parent_path(), folder, &error)) {
      std::fprintf(stderr, "%s: %s\n", movie.file.c_str(), error.c_str());
      std::filesystem::remove(folder / movie.file);
      return 1;
    }
  }
  return 0;
}
