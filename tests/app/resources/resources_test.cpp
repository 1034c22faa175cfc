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

std::vector<unsigned char> ReadAll(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::uint32_t LittleEndian(const std::vector<unsigned char>& bytes, std::size_t at, int width) {
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i) {
        value = (value << 8) | bytes.at(at + static_cast<std::size_t>(i));
    }
    return value;
}

std::uint32_t BigEndian32(const std::vector<unsigned char>& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value = (value << 8) | bytes.at(at + i);
    }
    return value;
}

std::int16_t SampleAt(const std::vector<unsigned char>& wave, std::size_t index) {
    return static_cast<std::int16_t>(LittleEndian(wave, 44 + 2 * index, 2));
}

const fs::path kResources = BRINDLE_RESOURCE_DIR;

TEST(Chime, RegeneratingGivesTheCommittedBytes) {
    const fs::path fresh = fs::temp_directory_path() / "brindle-chime-regenerated.wav";
    const std::string command =
        std::string("\"") + BRINDLE_CHIME_GENERATOR + "\" \"" + fresh.string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::vector<unsigned char> committed = ReadAll(kResources / "S_Timer.wav");
    const std::vector<unsigned char> regenerated = ReadAll(fresh);
    fs::remove(fresh);
    ASSERT_FALSE(committed.empty());
    EXPECT_TRUE(committed == regenerated) << "S_Timer.wav differs from make_chime's output";
}

TEST(Chime, IsAboutOneSecondOfCdQualityMonoPcmThatStartsAndEndsQuietly) {
    const std::vector<unsigned char> wave = ReadAll(kResources / "S_Timer.wav");
    ASSERT_GE(wave.size(), 44u);
    EXPECT_EQ(std::string(wave.begin(), wave.begin() + 4), "RIFF");
    EXPECT_EQ(std::string(wave.begin() + 8, wave.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(LittleEndian(wave, 20, 2), 1u);  // PCM
    EXPECT_EQ(LittleEndian(wave, 22, 2), 1u);  // channels
    EXPECT_EQ(LittleEndian(wave, 24, 4), 44100u);
    EXPECT_EQ(LittleEndian(wave, 34, 2), 16u);
    EXPECT_EQ(std::string(wave.begin() + 36, wave.begin() + 40), "data");
    const std::uint32_t dataBytes = LittleEndian(wave, 40, 4);
    ASSERT_EQ(wave.size(), 44u + dataBytes);
    const std::size_t samples = dataBytes / 2;
    EXPECT_GE(samples, 44100u * 8 / 10);
    EXPECT_LE(samples, 44100u * 12 / 10);

    int peak = 0;
    for (std::size_t i = 0; i < samples; ++i) {
        peak = std::max(peak, std::abs(static_cast<int>(SampleAt(wave, i))));
    }
    // Loud enough to hear, with headroom so it never clips.
    EXPECT_GT(peak, 32767 / 3);
    EXPECT_LT(peak, 32767);
    // No click at either end.
    EXPECT_LT(std::abs(static_cast<int>(SampleAt(wave, 0))), 100);
    EXPECT_LT(std::abs(static_cast<int>(SampleAt(wave, samples - 1))), 100);
}

struct IconCase {
    const char* file;
    std::uint32_t size;
};

class Icon : public testing::TestWithParam<IconCase> {};

TEST_P(Icon, IsASquareRgbaPngOfItsNamedSize) {
    const std::vector<unsigned char> png = ReadAll(kResources / GetParam().file);
    ASSERT_GE(png.size(), 33u);
    const unsigned char signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_TRUE(std::equal(std::begin(signature), std::end(signature), png.begin()));
    EXPECT_EQ(std::string(png.begin() + 12, png.begin() + 16), "IHDR");
    EXPECT_EQ(BigEndian32(png, 16), GetParam().size);
    EXPECT_EQ(BigEndian32(png, 20), GetParam().size);
    EXPECT_EQ(png[24], 8);  // bits per channel
    EXPECT_EQ(png[25], 6);  // colour type 6: RGB with alpha
}

INSTANTIATE_TEST_SUITE_P(Sizes, Icon,
                         testing::Values(IconCase{"brindle-48.png", 48},
                                         IconCase{"brindle-32.png", 32}),
                         [](const testing::TestParamInfo<IconCase>& info) {
                             return "Pixels" + std::to_string(info.param.size);
                         });

}  // namespace
