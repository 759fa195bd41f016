#include "platform/backend/ini/ini_profile_store.h"
#include "platform/backend/posix/posix_settings_file.h"
#include "platform/backend/posix/xdg_profile_path.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using tavren::backend::ini::IniProfileStore;
using tavren::services::ProfileEntry;

constexpr const char* kMissing = "not";

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void spit(const fs::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
}

// Runs `check` without the right to override file permissions: as root, in a
// child that has become "nobody"; otherwise in this process. True when it passed.
bool withoutPrivileges(const std::function<bool()>& check) {
    if (::geteuid() != 0) return check();
    const pid_t child = ::fork();
    if (child == 0) {
        const bool ok = ::setgid(65534) == 0 && ::setuid(65534) == 0 && check();
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

class IniProfileStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string templ = (fs::temp_directory_path() / "tavren-ini-XXXXXX").string();
        ASSERT_NE(::mkdtemp(templ.data()), nullptr);
        dir_ = templ;
        fs::permissions(dir_, fs::perms::all); // reachable for the unprivileged checks
        file_ = dir_ / "QVRL2.ini";
    }
    void TearDown() override {
        std::error_code ec;
        for (auto& e : fs::recursive_directory_iterator(dir_, ec))
            fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(dir_, ec);
    }
    std::vector<fs::path> leftovers() const {
        std::vector<fs::path> out;
        for (auto& e : fs::directory_iterator(file_.parent_path()))
            if (e.path() != file_) out.push_back(e.path());
        return out;
    }

    fs::path dir_;
    fs::path file_;
    tavren::backend::posix::PosixSettingsFile files_;
};

TEST_F(IniProfileStoreTest, AMissingFileReadsAsTheFallbackAndIsCreatedWithItsDirectories) {
    file_ = dir_ / "config" / "tavren" / "QVRL2.ini";
    IniProfileStore store(file_.string(), files_);
    EXPECT_EQ(store.read("Option", "chk_uo", kMissing), "not");
    ASSERT_TRUE(store.write({{"Option", "chk_enter", "2"},
                             {"Option", "ButtonGap", "3"},
                             {"Form", "top", "-15"},
                             {"nick", "txt", "\xE3\x81\x82 Taro"}}));
    EXPECT_EQ(slurp(file_), "[Option]\nchk_enter=2\nButtonGap=3\n\n[Form]\ntop=-15\n\n"
                            "[nick]\ntxt=\xE3\x81\x82 Taro\n");
    EXPECT_EQ(store.read("OPTION", "ButtonGAP", kMissing), "3");
    EXPECT_EQ(store.read("nick", "txt", kMissing), "\xE3\x81\x82 Taro");
    EXPECT_EQ(store.read("nick", "other", kMissing), "not");
    EXPECT_TRUE(leftovers().empty());
}

TEST_F(IniProfileStoreTest, AHandEditedFileKeepsEverythingButTheWrittenValues) {
    spit(file_, "; mine\r\n[option]\r\nbuttongap = 9\r\nCHK_UO=1\r\n[Extra]\r\nx=y\r\n; end\r\n");
    IniProfileStore store(file_.string(), files_);
    EXPECT_EQ(store.read("Option", "ButtonGAP", kMissing), "9");
    EXPECT_EQ(store.read("Option", "chk_uo", kMissing), "1");
    ASSERT_TRUE(store.write({{"Option", "ButtonGap", "4"}, {"Form", "top", "0"}}));
    EXPECT_EQ(slurp(file_), "; mine\r\n[option]\r\nbuttongap = 4\r\nCHK_UO=1\r\n[Extra]\r\nx=y\r\n"
                            "; end\r\n\r\n[Form]\r\ntop=0\r\n");
}

TEST_F(IniProfileStoreTest, ValuesLoseSurroundingBlanksAndAreCutTo254Bytes) {
    const std::string a = "\xE3\x81\x82"; // three bytes
    std::string hundredAs;
    for (int i = 0; i < 100; ++i)
        hundredAs += a;
    struct Case {
        std::string written;
        std::string read;
    };
    const std::vector<Case> cases = {
        {"Taro   ", "Taro"},
        {"Taro \t", "Taro"},
        {" \tTaro", "Taro"}, // blanks before a value go too
        {"  Taro  Jiro  ", "Taro  Jiro"},
        {std::string(300, 'x'), std::string(254, 'x')},
        {std::string(254, 'x'), std::string(254, 'x')},
        {hundredAs, hundredAs.substr(0, 252)},                     // 84 whole characters
        {std::string(250, 'x') + "     y", std::string(250, 'x')}, // blanks bared by the cut
    };
    IniProfileStore store(file_.string(), files_);
    for (const auto& c : cases) {
        ASSERT_TRUE(store.write({{"nick", "txt", c.written}}));
        EXPECT_EQ(store.read("nick", "txt", kMissing), c.read) << c.written;
    }
}

TEST_F(IniProfileStoreTest, ANulByteDamagesOnlyItsOwnLine) {
    using namespace std::string_literals;
    const std::string before = "; mine\n[Option]\nchk_uo=1\nchk_enter=2\0junk\nButtonT=5\n"
                               "[Fo\0rm]\ntop=9\n[Extra]\nx=y\0\x01\xFF\n[nick]\ntxt=Taro\n"s;
    spit(file_, before);
    IniProfileStore store(file_.string(), files_);
    EXPECT_EQ(store.read("Option", "chk_uo", kMissing), "1");
    EXPECT_EQ(store.read("Option", "ButtonT", kMissing), "5");
    EXPECT_EQ(store.read("nick", "txt", kMissing), "Taro");
    // Nothing in a damaged line is read, and keys after a damaged header belong
    // to no section that can be named.
    EXPECT_EQ(store.read("Option", "chk_enter", kMissing), "not");
    EXPECT_EQ(store.read("Option", "top", kMissing), "not");
    EXPECT_EQ(store.read("Extra", "x", kMissing), "not");

    ASSERT_TRUE(store.write({{"Option", "chk_uo", "0"},
                             {"Option", "chk_enter", "1"},
                             {"nick", "txt", "Jiro"},
                             {"Form", "top", "15"}}));
    EXPECT_EQ(slurp(file_), "; mine\n[Option]\nchk_uo=0\nchk_enter=2\0junk\nButtonT=5\n"
                            "chk_enter=1\n[Fo\0rm]\ntop=9\n[Extra]\nx=y\0\x01\xFF\n[nick]\n"
                            "txt=Jiro\n\n[Form]\ntop=15\n"s);
    EXPECT_EQ(store.read("Option", "chk_enter", kMissing), "1");
    EXPECT_EQ(store.read("Form", "top", kMissing), "15");
}

TEST_F(IniProfileStoreTest, ADirectoryInPlaceOfTheFileReadsAsEmptyAndIsNotReplaced) {
    fs::create_directory(file_);
    IniProfileStore store(file_.string(), files_);
    EXPECT_EQ(store.read("Option", "chk_uo", kMissing), "not");
    EXPECT_FALSE(store.write({{"Option", "chk_uo", "0"}}));
    EXPECT_TRUE(fs::is_directory(file_));
    EXPECT_TRUE(leftovers().empty());
}

TEST_F(IniProfileStoreTest, AFileWithoutReadPermissionIsNeitherReadNorReplaced) {
    spit(file_, "[Option]\nchk_uo=1\n");
    fs::permissions(file_, fs::perms::none);
    const bool passed = withoutPrivileges([&] {
        IniProfileStore store(file_.string(), files_);
        return store.read("Option", "chk_uo", kMissing) == "not" &&
               !store.write({{"Option", "chk_uo", "0"}});
    });
    EXPECT_TRUE(passed);
    fs::permissions(file_, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(slurp(file_), "[Option]\nchk_uo=1\n");
    EXPECT_TRUE(leftovers().empty());
}

TEST_F(IniProfileStoreTest, AnUnwritableDirectoryFailsTheSaveAndKeepsTheOldFile) {
    spit(file_, "[Option]\nchk_uo=1\n");
    fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                              fs::perms::group_exec | fs::perms::others_read |
                              fs::perms::others_exec);
    fs::permissions(file_, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const bool passed = withoutPrivileges([&] {
        IniProfileStore store(file_.string(), files_);
        return store.read("Option", "chk_uo", kMissing) == "1" &&
               !store.write({{"Option", "chk_uo", "0"}});
    });
    EXPECT_TRUE(passed);
    EXPECT_EQ(slurp(file_), "[Option]\nchk_uo=1\n");
    EXPECT_TRUE(leftovers().empty());
}

// A settings file made read-only is frozen: saving leaves it as it is, whatever
// the directory would allow (the test directory is writable by everyone).
TEST_F(IniProfileStoreTest, AReadOnlyFileIsNeverReplaced) {
    const std::string frozen = "[Option]\nchk_uo=1\n";
    spit(file_, frozen);
    const auto readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    fs::permissions(file_, readOnly);
    {
        // Even root, who may write any file, leaves a file without write bits.
        IniProfileStore store(file_.string(), files_);
        EXPECT_FALSE(store.write({{"Option", "chk_uo", "0"}}));
        EXPECT_EQ(store.read("Option", "chk_uo", kMissing), "1");
    }
    EXPECT_EQ(slurp(file_), frozen);
    EXPECT_EQ(fs::status(file_).permissions() & fs::perms::all, readOnly);
    EXPECT_TRUE(leftovers().empty());

    // The same through a link to the frozen file.
    const fs::path link = dir_ / "link.ini";
    fs::create_symlink(file_, link);
    EXPECT_FALSE(IniProfileStore(link.string(), files_).write({{"Option", "chk_uo", "0"}}));
    EXPECT_EQ(slurp(file_), frozen);
    fs::remove(link);

    // A file that only its owner may write is frozen for everybody else.
    fs::permissions(file_, fs::perms::owner_write, fs::perm_options::add);
    const bool passed = withoutPrivileges([&] {
        IniProfileStore store(file_.string(), files_);
        return store.read("Option", "chk_uo", kMissing) == "1" &&
               !store.write({{"Option", "chk_uo", "0"}});
    });
    EXPECT_TRUE(passed);
    EXPECT_EQ(slurp(file_), frozen);
    EXPECT_TRUE(leftovers().empty());

    // Writable again, it is saved as usual.
    ASSERT_TRUE(IniProfileStore(file_.string(), files_).write({{"Option", "chk_uo", "0"}}));
    EXPECT_EQ(slurp(file_), "[Option]\nchk_uo=0\n");
}

TEST_F(IniProfileStoreTest, KeepsTheFilesPermissionsAndALinkToIt) {
    const fs::path target = dir_ / "elsewhere.ini";
    spit(target, "[Option]\nchk_uo=1\n");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink(target, file_);
    IniProfileStore store(file_.string(), files_);
    ASSERT_TRUE(store.write({{"Option", "chk_uo", "0"}}));
    EXPECT_TRUE(fs::is_symlink(file_));
    EXPECT_EQ(slurp(target), "[Option]\nchk_uo=0\n");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

// A writer killed after its temporary file is complete but before the rename
// leaves the old file whole.
TEST_F(IniProfileStoreTest, AWriterKilledBeforeTheRenameLeavesTheOldFile) {
    const std::string old = "[Option]\nchk_uo=1\n";
    spit(file_, old);
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        IniProfileStore store(file_.string(), files_, {[&] {
                                  const char c = 'r';
                                  (void)!::write(ready[1], &c, 1);
                                  for (;;)
                                      ::pause();
                              }});
        store.write({{"Option", "chk_uo", "0"}, {"nick", "txt", std::string(100000, 'n')}});
        ::_exit(0);
    }
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(slurp(file_), old);

    // The next save is not disturbed by what the killed writer left behind.
    IniProfileStore store(file_.string(), files_);
    ASSERT_TRUE(store.write({{"Option", "chk_uo", "2"}}));
    EXPECT_EQ(store.read("Option", "chk_uo", kMissing), "2");
    EXPECT_TRUE(leftovers().empty());
}

// Killed at arbitrary moments, a writer alternating two contents leaves one of
// them whole every time.
TEST_F(IniProfileStoreTest, AWriterKilledAnywhereLeavesAWholeFile) {
    const std::vector<ProfileEntry> first = {{"nick", "txt", std::string(200, 'a')},
                                             {"Extra", "pad", std::string(200000, 'p')}};
    const std::vector<ProfileEntry> second = {{"nick", "txt", std::string(200, 'b')},
                                              {"Extra", "pad", std::string(200000, 'q')}};
    IniProfileStore store(file_.string(), files_);
    ASSERT_TRUE(store.write(first));
    const std::string firstText = slurp(file_);
    ASSERT_TRUE(store.write(second));
    const std::string secondText = slurp(file_);
    std::mt19937 random(12345);
    for (int round = 0; round < 30; ++round) {
        const pid_t child = ::fork();
        if (child == 0) {
            for (int i = 0;; ++i)
                store.write(i % 2 ? first : second);
        }
        ::usleep(std::uniform_int_distribution<useconds_t>(0, 20000)(random));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const std::string now = slurp(file_);
        ASSERT_TRUE(now == firstText || now == secondText) << "round " << round;
    }
}

TEST(ProfilePathTest, FollowsTheConfigurationDirectoryConvention) {
    using tavren::backend::posix::profilePath;
    EXPECT_EQ(profilePath("/cfg", "/home/u"), "/cfg/tavren/QVRL2.ini");
    EXPECT_EQ(profilePath(nullptr, "/home/u"), "/home/u/.config/tavren/QVRL2.ini");
    EXPECT_EQ(profilePath("", "/home/u"), "/home/u/.config/tavren/QVRL2.ini");
    EXPECT_EQ(profilePath("relative/dir", "/home/u"), "/home/u/.config/tavren/QVRL2.ini");
    const std::string fallback = profilePath(nullptr, nullptr);
    EXPECT_EQ(fallback.front(), '/');
    EXPECT_EQ(fallback.substr(fallback.size() - 16), "tavren/QVRL2.ini");
}

} // namespace
