#include "movie_script.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <numbers>

#include "movie_encoder.h"

namespace tr::movie {
namespace {

std::vector<std::string> ReadLines(const std::filesystem::path& file, bool* ok) {
  std::ifstream in(file, std::ios::binary);
  *ok = static_cast<bool>(in);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

bool Numbers(const std::vector<std::string>& f, std::size_t count, std::vector<double>* out) {
  if (f.size() != count + 1) return false;
  out->clear();
  try {
    for (std::size_t i = 1; i < f.size(); ++i) out->push_back(std::stod(f[i]));
  } catch (const std::exception&) {
    return false;
  }
  return true;
}

// credits;<text file>;<face>;<height>;<colour>;<heading colour>;<spacing>
// Lines starting "## " are headings, a third larger and bold; blank lines leave a gap.
bool PaintCredits(menuart::Canvas& canvas, const std::vector<std::string>& f, const std::filesystem::path& folder,
                  std::string* error) {
  bool ok = false;
  const std::vector<std::string> lines = ReadLines(folder / f[1], &ok);
  if (!ok) {
    *error = f[1] + " cannot be read";
    return false;
  }
  const int height = std::stoi(f[3]);
  const auto colour = static_cast<std::uint32_t>(std::stoul(f[4], nullptr, 16));
  const auto heading = static_cast<std::uint32_t>(std::stoul(f[5], nullptr, 16));
  const int spacing = std::stoi(f[6]);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].empty()) continue;
    const bool is_heading = lines[i].rfind("## ", 0) == 0;
    const std::string text = is_heading ? lines[i].substr(3) : lines[i];
    const float y = static_cast<float>(i) * spacing;
    if (!menuart::DrawText(canvas, f[2], is_heading ? 700 : 400, is_heading ? height * 4 / 3 : height,
                           canvas.width() / 2.0f, y, true, is_heading ? heading : colour, text, error)) {
      return false;
    }
  }
  return true;
}

int CreditLines(const std::vector<std::string>& f, const std::filesystem::path& folder) {
  bool ok = false;
  return static_cast<int>(ReadLines(folder / f[1], &ok).size());
}

std::uint32_t Over(std::uint32_t dst, std::uint32_t src) {
  const std::uint32_t a = src >> 24;
  if (a == 0) return dst;
  if (a == 255) return src | 0xFF000000u;
  std::uint32_t out = 0xFF000000u;
  for (int shift : {0, 8, 16}) {
    const std::uint32_t s = (src >> shift) & 0xFF, d = (dst >> shift) & 0xFF;
    out |= ((s * a + d * (255 - a) + 127) / 255) << shift;
  }
  return out;
}

}  // namespace

bool ReadMovieScripts(const std::filesystem::path& source, std::vector<MovieScript>* movies, std::string* error) {
  bool ok = false;
  const std::vector<std::string> lines = ReadLines(source, &ok);
  if (!ok) {
    *error = source.string() + ": cannot be read";
    return false;
  }
  MovieScript* movie = nullptr;
  bool in_layer = false;
  for (std::size_t n = 0; n < lines.size(); ++n) {
    const std::string& line = lines[n];
    if (line.empty() || line[0] == '#') continue;
    const std::vector<std::string> f = menuart::SplitFields(line);
    const std::string where = source.string() + ":" + std::to_string(n + 1) + ": ";
    std::vector<double> v;
    if (f[0] == "movie") {
      MovieScript next;
      if (f.size() != 6 || f[1].find_first_of("/\\") != std::string::npos || f[1].find("..") != std::string::npos) {
        *error = where + "expected movie;<file>;<width>;<height>;<fps>;<seconds>";
        return false;
      }
      next.file = f[1];
      try {
        next.width = std::stoi(f[2]);
        next.height = std::stoi(f[3]);
        next.fps = std::stoi(f[4]);
        next.seconds = std::stod(f[5]);
      } catch (const std::exception&) {
        next.width = 0;
      }
      if (next.width <= 0 || next.height <= 0 || next.fps <= 0 || next.fps > 60 || next.seconds <= 0 ||
          next.seconds > 60) {
        *error = where + "a movie needs a size, 1-60 frames per second and 1-60 seconds";
        return false;
      }
      movies->push_back(std::move(next));
      movie = &movies->back();
      in_layer = false;
      continue;
    }
    if (movie == nullptr) {
      *error = where + "a line before any movie line";
      return false;
    }
    if (f[0] == "layer") {
      if (!Numbers(f, 2, &v) || v[0] <= 0 || v[1] < 0) {
        *error = where + "expected layer;<width>;<height> (height 0: as tall as its credits)";
        return false;
      }
      movie->layer_width = static_cast<int>(v[0]);
      movie->layer_height = static_cast<int>(v[1]);
      in_layer = true;
    } else if (f[0] == "move") {
      if (!Numbers(f, 4, &v)) {
        *error = where + "expected move;<x0>;<y0>;<x1>;<y1>";
        return false;
      }
      movie->from = {static_cast<float>(v[0]), static_cast<float>(v[1])};
      movie->to = {static_cast<float>(v[2]), static_cast<float>(v[3])};
    } else if (f[0] == "fade") {
      if (!Numbers(f, 2, &v) || v[0] < 0 || v[1] < 0) {
        *error = where + "expected fade;<seconds in>;<seconds out>";
        return false;
      }
      movie->fade_in = v[0];
      movie->fade_out = v[1];
    } else if (f[0] == "tone") {
      if (!Numbers(f, 3, &v) || v[0] <= 0 || v[1] < 0 || v[1] > 1 || v[2] < 8000 || v[2] > 48000) {
        *error = where + "expected tone;<hertz>;<level 0-1>;<samples per second 8000-48000>";
        return false;
      }
      movie->tone_hz = v[0];
      movie->tone_level = v[1];
      movie->sample_rate = static_cast<int>(v[2]);
    } else if (f[0] == "credits") {
      if (!in_layer || f.size() != 7) {
        *error = where + "expected credits;<file>;<face>;<height>;<colour>;<heading colour>;<spacing> in a layer";
        return false;
      }
      movie->layer.push_back(f);
    } else {
      (in_layer ? movie->layer : movie->background).push_back(f);
    }
  }
  return true;
}

bool MovieFrames::Prepare(const MovieScript& script, const std::filesystem::path& source_folder, std::string* error) {
  script_ = script;
  background_ = std::make_unique<menuart::Canvas>(script.width, script.height);
  for (const auto& line : script.background) {
    if (!menuart::PaintLine(*background_, line, error)) return false;
  }
  layer_.reset();
  if (script.layer_width > 0) {
    int height = script.layer_height;
    if (height == 0) {
      for (const auto& line : script.layer) {
        if (line[0] == "credits") height = std::max(height, CreditLines(line, source_folder) * std::stoi(line[6]));
      }
    }
    layer_ = std::make_unique<menuart::Canvas>(script.layer_width, std::max(height, 1));
    for (const auto& line : script.layer) {
      const bool painted = line[0] == "credits" ? PaintCredits(*layer_, line, source_folder, error)
                                                : menuart::PaintLine(*layer_, line, error);
      if (!painted) return false;
    }
  }
  frame_.resize(static_cast<std::size_t>(script.width) * script.height);
  return true;
}

const std::vector<std::uint32_t>& MovieFrames::Frame(int i) {
  const int w = script_.width, h = script_.height;
  std::copy(background_->pixels().begin(), background_->pixels().end(), frame_.begin());
  const double t = static_cast<double>(i) / script_.fps;
  const double share = script_.frames() > 1 ? static_cast<double>(i) / (script_.frames() - 1) : 0;
  if (layer_) {
    const int left = static_cast<int>(std::lround(script_.from.x + (script_.to.x - script_.from.x) * share));
    const int top = static_cast<int>(std::lround(script_.from.y + (script_.to.y - script_.from.y) * share));
    for (int y = std::max(0, top); y < std::min(h, top + layer_->height()); ++y) {
      for (int x = std::max(0, left); x < std::min(w, left + layer_->width()); ++x) {
        std::uint32_t& dst = frame_[static_cast<std::size_t>(y) * w + x];
        dst = Over(dst, layer_->Pixel(x - left, y - top));
      }
    }
  }
  // From black and back to black; the last frame is the darkest.
  double light = 1;
  if (script_.fade_in > 0) light = std::min(light, t / script_.fade_in);
  if (script_.fade_out > 0) light = std::min(light, (script_.seconds - t) / script_.fade_out);
  light = std::clamp(light, 0.0, 1.0);
  if (light < 1) {
    const auto scale = static_cast<std::uint32_t>(light * 256);
    for (std::uint32_t& p : frame_) {
      p = 0xFF000000u | (((p >> 16 & 0xFF) * scale >> 8) << 16) | (((p >> 8 & 0xFF) * scale >> 8) << 8) |
          ((p & 0xFF) * scale >> 8);
    }
  }
  return frame_;
}

std::vector<std::int16_t> MovieFrames::Samples(int i) const {
  if (script_.sample_rate <= 0) return {};
  const std::int64_t first = static_cast<std::int64_t>(i) * script_.sample_rate / script_.fps;
  const std::int64_t last = static_cast<std::int64_t>(i + 1) * script_.sample_rate / script_.fps;
  std::vector<std::int16_t> samples(static_cast<std::size_t>(last - first));
  const double total = script_.seconds * script_.sample_rate;
  for (std::int64_t n = first; n < last; ++n) {
    // A short ramp at both ends keeps the tone from clicking.
    const double edge = std::min({1.0, n / 400.0, (total - n) / 400.0});
    const double v = std::sin(2 * std::numbers::pi * script_.tone_hz * n / script_.sample_rate);
    samples[static_cast<std::size_t>(n - first)] =
        static_cast<std::int16_t>(std::lround(32767 * script_.tone_level * std::max(edge, 0.0) * v));
  }
  return samples;
}

bool WriteScriptedMovie(const MovieScript& script, const std::filesystem::path& source_folder,
                        const std::filesystem::path& folder, std::string* error) {
  MovieFrames frames;
  if (!frames.Prepare(script, source_folder, error)) return false;
  MovieWriter writer;
  const MovieParams params{script.width, script.height, script.fps, script.sample_rate, 4};
  if (!writer.Open(folder / script.file, params, error)) return false;
  for (int i = 0; i < script.frames(); ++i) {
    if (!writer.AddFrame(frames.Frame(i).data(), script.width, error)) return false;
    if (!writer.AddSamples(frames.Samples(i), error)) return false;
  }
  return writer.Finish(error);
}

}  // namespace tr::movie
