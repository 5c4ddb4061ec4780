// Draws the game's sound effects and music tracks from their text sources:
//   make_sounds effects.txt music.txt sound_folder data_folder
// Effects go into the sound folder, music into its path under the data folder.
// Every sound is 22050 Hz mono: 16-bit PCM WAV, or Ogg Vorbis for a track
// named ".ogg". The noise generator is seeded per file, so a build always
// writes the same bytes.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "ogg_writer.h"

namespace {

constexpr int kRate = 22050;
constexpr double kTau = 2.0 * std::numbers::pi;

using Samples = std::vector<double>;

std::vector<std::string> Split(const std::string& line, char sep) {
  std::vector<std::string> fields;
  std::stringstream in(line);
  std::string field;
  while (std::getline(in, field, sep)) fields.push_back(field);
  return fields;
}

// A small deterministic noise source.
class Noise {
 public:
  explicit Noise(const std::string& seed) {
    for (char c : seed) state_ = state_ * 31u + static_cast<unsigned char>(c);
  }
  double Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<double>(state_ >> 8) / static_cast<double>(1u << 24) * 2.0 - 1.0;
  }

 private:
  std::uint32_t state_ = 2166136261u;
};

// One-pole low-pass filter at the cutoff.
class LowPass {
 public:
  explicit LowPass(double cutoff) : k_(1.0 - std::exp(-kTau * cutoff / kRate)) {}
  double operator()(double x) { return y_ += k_ * (x - y_); }

 private:
  double k_;
  double y_ = 0;
};

double Fade(std::size_t i, std::size_t n) {
  // A short attack and an exponential tail, so nothing clicks.
  const double t = static_cast<double>(i) / static_cast<double>(n);
  const double attack = std::min(1.0, static_cast<double>(i) / (kRate * 0.004));
  return attack * std::exp(-4.0 * t) * (1.0 - t);
}

Samples Effect(const std::string& file, const std::string& kind, int ms, double a, double b) {
  const std::size_t n = static_cast<std::size_t>(kRate) * static_cast<std::size_t>(ms) / 1000;
  Samples s(n, 0.0);
  Noise noise(file);
  if (kind == "tone") {
    for (std::size_t i = 0; i < n; ++i) {
      const double t = static_cast<double>(i) / kRate;
      double v = std::sin(kTau * a * t);
      if (b > 0) v = 0.7 * v + 0.3 * std::sin(kTau * 2 * a * t);
      s[i] = v * Fade(i, n);
    }
  } else if (kind == "sweep") {
    double phase = 0;
    for (std::size_t i = 0; i < n; ++i) {
      const double f = a + (b - a) * static_cast<double>(i) / static_cast<double>(n);
      phase += kTau * f / kRate;
      const double t = static_cast<double>(i) / static_cast<double>(n);
      s[i] = std::sin(phase) * std::min(1.0, static_cast<double>(i) / (kRate * 0.01)) * (1.0 - t);
    }
  } else if (kind == "noise") {
    LowPass filter(a);
    const double attack = std::max(1.0, b * kRate / 1000.0);
    for (std::size_t i = 0; i < n; ++i) {
      const double t = static_cast<double>(i) / static_cast<double>(n);
      s[i] = filter(noise.Next()) * std::min(1.0, static_cast<double>(i) / attack) * std::exp(-3.0 * t) * (1.0 - t);
    }
  } else if (kind == "rumble") {
    LowPass filter(a);
    for (std::size_t i = 0; i < n; ++i) {
      const double t = static_cast<double>(i) / kRate;
      const double edge = std::min({1.0, t / 0.05, (static_cast<double>(n - i) / kRate) / 0.05});
      s[i] = filter(noise.Next()) * (0.7 + 0.3 * std::sin(kTau * b * t)) * edge;
    }
  } else if (kind == "pulses") {
    LowPass filter(a);
    const std::size_t every = std::max<std::size_t>(1, static_cast<std::size_t>(b * kRate / 1000.0));
    const std::size_t length = std::min(every, static_cast<std::size_t>(kRate * 0.12));
    for (std::size_t i = 0; i < n; ++i) {
      const std::size_t in = i % every;
      const double hit = in < length ? std::exp(-6.0 * static_cast<double>(in) / static_cast<double>(length)) : 0.0;
      const double tail = 1.0 - 0.5 * static_cast<double>(i) / static_cast<double>(n);
      s[i] = filter(noise.Next()) * hit * tail;
    }
  } else {
    throw std::runtime_error("unknown kind " + kind);
  }
  return s;
}

double NoteFrequency(const std::string& name) {
  static const std::string kNames[] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
  const std::size_t digit = name.find_first_of("0123456789");
  if (digit == std::string::npos) throw std::runtime_error("note without octave: " + name);
  const std::string pitch = name.substr(0, digit);
  const int octave = std::stoi(name.substr(digit));
  for (int k = 0; k < 12; ++k) {
    if (kNames[k] == pitch) return 440.0 * std::pow(2.0, (octave - 4) + (k - 9) / 12.0);
  }
  throw std::runtime_error("unknown note " + name);
}

Samples Track(double bpm, const std::string& notes) {
  Samples s;
  const double beat = 60.0 / bpm;
  for (const std::string& token : Split(notes, ' ')) {
    if (token.empty()) continue;
    const std::vector<std::string> parts = Split(token, ':');
    const double beats = parts.size() > 1 ? std::stod(parts[1]) : 1.0;
    const std::size_t n = static_cast<std::size_t>(beats * beat * kRate);
    if (parts[0] == "R") {
      s.insert(s.end(), n, 0.0);
      continue;
    }
    const double f = NoteFrequency(parts[0]);
    for (std::size_t i = 0; i < n; ++i) {
      const double t = static_cast<double>(i) / kRate;
      // A soft brass-like voice over a bass an octave and a fifth below.
      const double voice = std::sin(kTau * f * t) + 0.35 * std::sin(kTau * 2 * f * t) + 0.15 * std::sin(kTau * 3 * f * t);
      const double bass = 0.5 * std::sin(kTau * f / 3.0 * t);
      const double env = std::min(1.0, t / 0.02) * std::exp(-1.5 * t / (beats * beat)) *
                         std::min(1.0, static_cast<double>(n - i) / (kRate * 0.02));
      s.push_back((voice + bass) * env * 0.5);
    }
  }
  return s;
}

void Put16(std::ofstream& out, std::uint16_t v) {
  const char b[2] = {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
  out.write(b, 2);
}
void Put32(std::ofstream& out, std::uint32_t v) {
  for (int k = 0; k < 4; ++k) out.put(static_cast<char>((v >> (8 * k)) & 0xFF));
}

void WriteWav(const std::filesystem::path& file, const Samples& samples, double gain) {
  double peak = 1e-9;
  for (double v : samples) peak = std::max(peak, std::abs(v));
  const double scale = 32767.0 * gain / peak;
  const auto bytes = static_cast<std::uint32_t>(samples.size() * 2);
  std::ofstream out(file, std::ios::binary);
  if (!out) throw std::runtime_error("cannot write " + file.string());
  out.write("RIFF", 4);
  Put32(out, 36 + bytes);
  out.write("WAVEfmt ", 8);
  Put32(out, 16);
  Put16(out, 1);  // PCM
  Put16(out, 1);  // mono
  Put32(out, kRate);
  Put32(out, kRate * 2);
  Put16(out, 2);
  Put16(out, 16);
  out.write("data", 4);
  Put32(out, bytes);
  for (double v : samples) Put16(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(v * scale))));
}

void WriteOgg(const std::filesystem::path& file, const Samples& samples, double gain) {
  double peak = 1e-9;
  for (double v : samples) peak = std::max(peak, std::abs(v));
  std::vector<float> scaled;
  scaled.reserve(samples.size());
  for (double v : samples) scaled.push_back(static_cast<float>(v * gain / peak));
  std::string error;
  if (!tr::sound::WriteOggVorbis(file, scaled, kRate, &error)) {
    std::filesystem::remove(file);
    throw std::runtime_error(file.string() + ": " + error);
  }
}

// Calls each data line of a source (comments and blank lines skipped) with its fields.
template <typename Fn>
void ForEachLine(const std::filesystem::path& source, Fn fn) {
  std::ifstream in(source, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + source.string());
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    try {
      fn(Split(line, ';'));
    } catch (const std::exception& e) {
      throw std::runtime_error(source.string() + ":" + std::to_string(number) + ": " + e.what());
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::cerr << "usage: make_sounds effects.txt music.txt sound_folder data_folder\n";
    return 2;
  }
  try {
    const std::filesystem::path soundDir = argv[3];
    const std::filesystem::path dataDir = argv[4];
    std::filesystem::create_directories(soundDir);
    ForEachLine(argv[1], [&](const std::vector<std::string>& f) {
      if (f.size() != 6) throw std::runtime_error("expected file;kind;ms;a;b;gain");
      WriteWav(soundDir / f[0], Effect(f[0], f[1], std::stoi(f[2]), std::stod(f[3]), std::stod(f[4])),
               std::stod(f[5]) / 100.0);
    });
    ForEachLine(argv[2], [&](const std::vector<std::string>& f) {
      if (f.size() != 3) throw std::runtime_error("expected file;bpm;notes");
      const std::filesystem::path file = dataDir / f[0];
      if (file.lexically_normal().string().find("..") != std::string::npos) {
        throw std::runtime_error("a track stays inside the data folder: " + f[0]);
      }
      std::filesystem::create_directories(file.parent_path());
      const Samples track = Track(std::stod(f[1]), f[2]);
      if (file.extension() == ".ogg") {
        WriteOgg(file, track, 0.6);
      } else {
        WriteWav(file, track, 0.6);
      }
    });
  } catch (const std::exception& e) {
    std::cerr << "make_sounds: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
