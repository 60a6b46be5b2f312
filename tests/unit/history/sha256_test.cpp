#include "history/sha256.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "history_test_support.h"

namespace cadrix {
namespace {

namespace fs = std::filesystem;
using testing::HistoryTest;
using testing::kSamples;

TEST(Sha256, KnownVectors) {
    struct Case {
        std::string input;
        const char* digest;
    };
    const Case cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Sha256Hex(c.input), c.digest) << c.input.size() << " bytes";
}

TEST(Sha256, PiecesGiveTheDigestOfTheWhole) {
    std::string text;
    for (int i = 0; i < 300; ++i)
        text.push_back(static_cast<char>(i * 37));
    const std::string whole = Sha256Hex(text);
    for (std::size_t piece : {1u, 3u, 63u, 64u, 65u, 127u}) {
        Sha256 sha;
        for (std::size_t at = 0; at < text.size(); at += piece)
            sha.Update(std::string_view(text).substr(at, piece));
        EXPECT_EQ(HexText(sha.Finish()), whole) << "pieces of " << piece;
    }
}

class Sha256File : public HistoryTest {};

TEST_F(Sha256File, AgreesWithSha256sum) {
    if (std::system("command -v sha256sum >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "sha256sum is missing";
    // Lengths around the block and padding boundaries (55 bytes leave room for
    // the length field, 56 do not), and the sample archive.
    std::vector<fs::path> files = {kSamples / "start.zip"};
    for (std::size_t size : {0u, 55u, 56u, 64u, 119u, 120u, 100000u}) {
        files.push_back(m_root / ("f" + std::to_string(size)));
        std::string bytes;
        for (std::size_t i = 0; i < size; ++i)
            bytes.push_back(static_cast<char>((i * 131) >> 3));
        std::ofstream(files.back(), std::ios::binary) << bytes;
    }
    for (const auto& file : files) {
        const std::string cmd = "sha256sum '" + file.string() + "'";
        FILE* pipe = ::popen(cmd.c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        char expected[65] = {};
        ASSERT_EQ(std::fread(expected, 1, 64, pipe), 64u);
        ::pclose(pipe);
        const FileDigest digest = Sha256OfFile(file);
        ASSERT_TRUE(digest.digest) << digest.error;
        EXPECT_EQ(HexText(*digest.digest), expected) << file;
    }
    EXPECT_FALSE(Sha256OfFile(m_root / "missing").digest);
}

}  // namespace
}  // namespace cadrix
