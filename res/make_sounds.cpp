// Writes the skin's two button sounds into the folder given: "Di.wav", a soft high tick
// when the mouse enters a button, and "Du.wav", a lower, rounder click when one is
// pressed. Built and run on the build host, so no binary sound is kept in the sources.
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 22050;

// A sine sweeping from `from` to `to` hertz, with a quick attack and an exponential decay.
std::vector<int16_t> Tone(double from, double to, double seconds, double decay, double level) {
  const int count = static_cast<int>(seconds * kRate);
  std::vector<int16_t> samples(count);
  double phase = 0;
  for (int i = 0; i < count; ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double frequency = from + (to - from) * i / count;
    phase += 2 * std::numbers::pi * frequency / kRate;
    const double attack = std::min(1.0, t / 0.003);
    const double envelope = attack * std::exp(-t / decay);
    samples[i] = static_cast<int16_t>(32767 * level * envelope * std::sin(phase));
  }
  return samples;
}

void Put(std::ofstream& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i)
    out.put(static_cast<char>(value >> (8 * i) & 0xFF));
}

bool WriteWave(const std::string& path, const std::vector<int16_t>& samples) {
  std::ofstream out(path, std::ios::binary);
  const uint32_t data = static_cast<uint32_t>(samples.size() * 2);
  out.write("RIFF", 4);
  Put(out, 36 + data, 4);
  out.write("WAVEfmt ", 8);
  Put(out, 16, 4);         // the format chunk's size
  Put(out, 1, 2);          // PCM
  Put(out, 1, 2);          // mono
  Put(out, kRate, 4);      // samples per second
  Put(out, kRate * 2, 4);  // bytes per second
  Put(out, 2, 2);          // bytes per sample frame
  Put(out, 16, 2);         // bits per sample
  out.write("data", 4);
  Put(out, data, 4);
  for (int16_t sample : samples)
    Put(out, static_cast<uint16_t>(sample), 2);
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_sounds FOLDER\n";
    return 2;
  }
  const std::string folder = std::string(argv[1]) + "/";
  const bool ok = WriteWave(folder + "Di.wav", Tone(2400, 2000, 0.06, 0.015, 0.25)) &&
                  WriteWave(folder + "Du.wav", Tone(900, 600, 0.09, 0.025, 0.45));
  if (!ok)
    std::cerr << "make_sounds: cannot write into " << folder << "\n";
  return ok ? 0 : 1;
}
