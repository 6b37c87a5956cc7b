// make_click_wav OUTPUT: writes the keyboard click, a 10 ms burst of a 3 kHz tone that dies
// away within a few milliseconds, as a mono 16-bit PCM WAV file at 44.1 kHz. The sound is
// generated rather than kept in git so that only its recipe is kept.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr std::uint32_t kSampleRate = 44100;
constexpr std::uint32_t kSamples = kSampleRate / 100;  // 10 ms
constexpr double kFrequency = 3000;
constexpr double kDecaySeconds = 0.0015;
constexpr double kPeak = 0.5;

void put16(std::vector<unsigned char>& out, std::uint16_t value) {
    out.push_back(value & 0xff);
    out.push_back(value >> 8);
}

void put32(std::vector<unsigned char>& out, std::uint32_t value) {
    put16(out, value & 0xffff);
    put16(out, value >> 16);
}

void putTag(std::vector<unsigned char>& out, const char* tag) {
    out.insert(out.end(), tag, tag + 4);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.wav\n", argv[0]);
        return 2;
    }
    const std::uint32_t dataBytes = kSamples * 2;
    std::vector<unsigned char> wav;
    putTag(wav, "RIFF");
    put32(wav, 36 + dataBytes);
    putTag(wav, "WAVE");
    putTag(wav, "fmt ");
    put32(wav, 16);  // size of the PCM format block
    put16(wav, 1);   // PCM
    put16(wav, 1);   // mono
    put32(wav, kSampleRate);
    put32(wav, kSampleRate * 2);  // bytes per second
    put16(wav, 2);                // bytes per frame
    put16(wav, 16);               // bits per sample
    putTag(wav, "data");
    put32(wav, dataBytes);
    const double pi = std::acos(-1.0);
    for (std::uint32_t i = 0; i < kSamples; ++i) {
        const double t = double(i) / kSampleRate;
        const double value =
            kPeak * std::exp(-t / kDecaySeconds) * std::sin(2 * pi * kFrequency * t);
        put16(wav,
              static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(value * 32767))));
    }
    std::FILE* file = std::fopen(argv[1], "wb");
    if (!file) {
        std::perror(argv[1]);
        return 1;
    }
    const bool written = std::fwrite(wav.data(), 1, wav.size(), file) == wav.size();
    if (std::fclose(file) != 0 || !written) {
        std::perror(argv[1]);
        std::remove(argv[1]);
        return 1;
    }
    return 0;
}
