// Writes the warning chime: two decaying sine partials, about one second of 44.1 kHz 16-bit mono
// PCM. The output depends only on this file, so the committed WAV can be checked against a fresh
// run of this program.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kSampleRate = 44100;
constexpr int kSampleCount = kSampleRate;  // one second
constexpr double kPi = 3.14159265358979323846;

struct Partial {
    double frequency;
    double amplitude;
    double decaySeconds;  // time for the partial to fall to 1/e
};

// A bright fundamental and a quieter, faster-fading fifth above it read as a small bell.
constexpr Partial kPartials[] = {
    {987.77, 0.50, 0.32},
    {1479.98, 0.28, 0.18},
};

// A short attack avoids the click of a step at the start; a short release ends exactly on zero.
constexpr double kAttackSeconds = 0.004;
constexpr double kReleaseSeconds = 0.030;

std::int16_t Sample(int index) {
    const double t = static_cast<double>(index) / kSampleRate;
    double value = 0.0;
    for (const Partial& p : kPartials) {
        value +=
            p.amplitude * std::exp(-t / p.decaySeconds) * std::sin(2.0 * kPi * p.frequency * t);
    }
    const double end = static_cast<double>(kSampleCount - 1) / kSampleRate;
    double envelope = 1.0;
    if (t < kAttackSeconds) {
        envelope = t / kAttackSeconds;
    } else if (end - t < kReleaseSeconds) {
        envelope = (end - t) / kReleaseSeconds;
    }
    return static_cast<std::int16_t>(std::lround(value * envelope * 32767.0));
}

void PutLittleEndian(std::vector<unsigned char>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<unsigned char>((value >> (8 * i)) & 0xFF));
    }
}

void PutTag(std::vector<unsigned char>& out, const char* tag) {
    out.insert(out.end(), tag, tag + 4);
}

std::vector<unsigned char> Wave() {
    constexpr std::uint32_t kChannels = 1;
    constexpr std::uint32_t kBitsPerSample = 16;
    constexpr std::uint32_t kBlockAlign = kChannels * kBitsPerSample / 8;
    constexpr std::uint32_t kDataBytes = kSampleCount * kBlockAlign;

    std::vector<unsigned char> out;
    PutTag(out, "RIFF");
    PutLittleEndian(out, 36 + kDataBytes, 4);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    PutLittleEndian(out, 16, 4);
    PutLittleEndian(out, 1, 2);  // PCM
    PutLittleEndian(out, kChannels, 2);
    PutLittleEndian(out, kSampleRate, 4);
    PutLittleEndian(out, kSampleRate * kBlockAlign, 4);
    PutLittleEndian(out, kBlockAlign, 2);
    PutLittleEndian(out, kBitsPerSample, 2);
    PutTag(out, "data");
    PutLittleEndian(out, kDataBytes, 4);
    for (int i = 0; i < kSampleCount; ++i) {
        PutLittleEndian(out, static_cast<std::uint16_t>(Sample(i)), 2);
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.wav\n", argv[0]);
        return 2;
    }
    const std::vector<unsigned char> wave = Wave();
    std::ofstream file(argv[1], std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(wave.data()),
               static_cast<std::streamsize>(wave.size()));
    file.close();
    if (!file) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
