#include "platform/backend/posix/posix_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using tavren::backend::posix::PosixFiles;

namespace {

class PosixFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("tavren_files_" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string write(const std::string& name, const std::string& bytes) {
        const fs::path path = dir_ / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

    fs::path dir_;
    PosixFiles files_;
};

TEST_F(PosixFilesTest, ReadsWholeFilesAndCutsAtTheLimit) {
    std::string big(200 * 1024, 'x');
    big[0] = '\0'; // bytes, not text: a zero byte is content like any other
    big.back() = 'E';
    const std::string path = write("big.txt", big);

    EXPECT_EQ(files_.readPrefix(path, big.size() + 10), big);
    EXPECT_EQ(files_.readPrefix(path, big.size()), big);
    EXPECT_EQ(files_.readPrefix(path, 70000), big.substr(0, 70000));
    EXPECT_EQ(files_.readPrefix(path, 0), std::string());
    EXPECT_EQ(files_.readPrefix(write("empty.txt", ""), 100), std::string());
}

TEST_F(PosixFilesTest, ReadsNothingFromWhatIsNotAReadableFile) {
    EXPECT_EQ(files_.readPrefix((dir_ / "missing.txt").string(), 100), std::nullopt);
    EXPECT_EQ(files_.readPrefix(dir_.string(), 100), std::nullopt);

    // A FIFO without a writer would block a plain open for ever.
    const fs::path fifo = dir_ / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(files_.readPrefix(fifo.string(), 100), std::nullopt);
}

TEST_F(PosixFilesTest, ReadsNothingWithoutPermission) {
    if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
    const std::string path = write("secret.txt", "abc");
    fs::permissions(path, fs::perms::none);
    EXPECT_EQ(files_.readPrefix(path, 100), std::nullopt);
}

} // namespace
