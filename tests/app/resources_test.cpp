#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
const fs::path kResources = BRINDLE_RESOURCE_DIR;

std::vector<unsigned char> ReadAll(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}
// An unsigned number of `width` bytes at `at`, little-endian unless told otherwise.
std::uint32_t Number(const std::vector<unsigned char>& bytes, std::size_t at, int width,
                     bool bigEndian = false) {
    std::uint32_t value = 0;
    for (int i = 0; i < width; ++i) {
        value =
            (value << 8) | bytes.at(at + static_cast<std::size_t>(bigEndian ? i : width - 1 - i));
    }
    return value;
}

TEST(Resources, TheChimeIsItsGeneratorsOutputLoudWithoutClippingOrClicks) {
    const fs::path fresh = fs::temp_directory_path() / "brindle-chime-regenerated.wav";
    ASSERT_EQ(std::system(("\"" BRINDLE_CHIME_GENERATOR "\" \"" + fresh.string() + "\"").c_str()),
              0);
    const std::vector<unsigned char> wave = ReadAll(kResources / "S_Timer.wav");
    EXPECT_TRUE(wave == ReadAll(fresh)) << "S_Timer.wav differs from make_chime's output";
    fs::remove(fresh);
    // 16-bit PCM: the data's length in bytes at 40, the samples from 44.
    ASSERT_GE(wave.size(), 44u);
    EXPECT_EQ(Number(wave, 34, 2), 16u);
    const std::size_t samples = Number(wave, 40, 4) / 2;
    ASSERT_EQ(wave.size(), 44 + 2 * samples);
    int peak = 0;
    for (std::size_t i = 0; i < samples; ++i) {
        peak =
            std::max(peak, std::abs(int(static_cast<std::int16_t>(Number(wave, 44 + 2 * i, 2)))));
    }
    // Loud enough to hear without clipping, and no click at either end.
    EXPECT_TRUE(peak > 32767 / 3 && peak < 32767) << peak;
    EXPECT_LT(std::abs(int(static_cast<std::int16_t>(Number(wave, 44, 2)))), 100);
    EXPECT_LT(std::abs(int(static_cast<std::int16_t>(Number(wave, 42 + 2 * samples, 2)))), 100);
}

TEST(Resources, IconsAreSquareRgbaPngsOfTheirNamedSize) {
    for (const std::uint32_t size : {32u, 48u}) {
        const std::vector<unsigned char> png =
            ReadAll(kResources / ("brindle-" + std::to_string(size) + ".png"));
        ASSERT_GE(png.size(), 33u);
        EXPECT_EQ(std::string(png.begin(), png.begin() + 16),
                  std::string("\x89PNG\r\n\x1a\n") +
                      std::string(png.begin() + 8, png.begin() + 12) + "IHDR");
        EXPECT_EQ(Number(png, 16, 4, true), size);
        EXPECT_EQ(Number(png, 20, 4, true), size);
        EXPECT_EQ(png[24], 8);  // bits per channel
        EXPECT_EQ(png[25], 6);  // RGB with alpha
    }
}

}  // namespace
