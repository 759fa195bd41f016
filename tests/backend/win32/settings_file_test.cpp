#include "platform/backend/ini/ini_profile_store.h"
#include "platform/backend/win32/unique_handle.h"
#include "platform/backend/win32/wide_text.h"
#include "platform/backend/win32/win32_settings_file.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <thread>

namespace tavren::backend::win32 {
namespace {

// A directory of its own under %TEMP%, removed with what it holds.
class Scratch {
public:
    Scratch() {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        static int counter = 0;
        root_ =
            wideToUtf8(std::wstring(temp) + L"tavren-settings-" +
                       std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter));
        CreateDirectoryW(utf8ToWide(root_).c_str(), nullptr);
    }
    ~Scratch() { removeTree(utf8ToWide(root_)); }
    std::string path(const std::string& relative) const { return root_ + "\\" + relative; }
    void write(const std::string& relative, const std::string& bytes) const {
        ASSERT_TRUE(replaceSettingsFile(path(relative), bytes));
    }
    std::vector<std::wstring> names(const std::string& relative) const {
        std::vector<std::wstring> found;
        WIN32_FIND_DATAW data;
        const HANDLE h = FindFirstFileW(utf8ToWide(path(relative) + "\\*").c_str(), &data);
        if (h == INVALID_HANDLE_VALUE) return found;
        do {
            const std::wstring name = data.cFileName;
            if (name != L"." && name != L"..") found.push_back(name);
        } while (FindNextFileW(h, &data));
        FindClose(h);
        return found;
    }

private:
    static void removeTree(const std::wstring& dir) {
        WIN32_FIND_DATAW data;
        const HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &data);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = data.cFileName;
                if (name == L"." || name == L"..") continue;
                const std::wstring full = dir + L"\\" + name;
                SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    removeTree(full);
                else
                    DeleteFileW(full.c_str());
            } while (FindNextFileW(h, &data));
            FindClose(h);
        }
        RemoveDirectoryW(dir.c_str());
    }
    std::string root_;
};

// Another program that holds a file open without sharing it, as an antivirus
// scanner holds a file just written while it reads it, on a thread of its own.
class FileHolder {
public:
    explicit FileHolder(const std::string& path)
        : thread_([this, wide = utf8ToWide(path)] {
              const UniqueHandle file(CreateFileW(wide.c_str(), GENERIC_READ, 0, nullptr,
                                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
              std::unique_lock lock(mutex_);
              holding_ = file.valid();
              opened_ = true;
              changed_.notify_all();
              changed_.wait(lock, [this] { return letGo_; });
          }) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return opened_; });
    }
    ~FileHolder() { letGo(); }
    FileHolder(const FileHolder&) = delete;
    FileHolder& operator=(const FileHolder&) = delete;

    bool holding() const { return holding_; }
    // Closes the file and returns once it is closed.
    void letGo() {
        {
            const std::lock_guard lock(mutex_);
            letGo_ = true;
        }
        changed_.notify_all();
        if (thread_.joinable()) thread_.join();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool opened_ = false;
    bool holding_ = false;
    bool letGo_ = false;
    std::thread thread_;
};

std::string contents(const std::string& path) {
    const auto file = readSettingsFile(path, 1 << 20);
    EXPECT_EQ(file.status, backend::ini::FileContent::Read) << path;
    return file.bytes;
}

TEST(Win32SettingsFile, RoundTripCreatesTheFolder) {
    Scratch scratch;
    const std::string path = scratch.path("AppData\\Tavren\\QVRL2.ini");
    const std::string text = "[Option]\r\nchk_uo=1\r\n[nick]\r\ntxt=山田\r\n";
    ASSERT_TRUE(replaceSettingsFile(path, text));
    EXPECT_EQ(contents(path), text);
    ASSERT_TRUE(replaceSettingsFile(path, "[Option]\r\nchk_uo=0\r\n"));
    EXPECT_EQ(contents(path), "[Option]\r\nchk_uo=0\r\n");
    // No temporary file stays behind.
    EXPECT_EQ(scratch.names("AppData\\Tavren"), std::vector<std::wstring>{L"QVRL2.ini"});
}

TEST(Win32SettingsFile, MissingFileIsMissingNotUnreadable) {
    Scratch scratch;
    EXPECT_EQ(readSettingsFile(scratch.path("nothing.ini"), 100).status,
              backend::ini::FileContent::Missing);
    EXPECT_EQ(readSettingsFile(scratch.path("no\\folder.ini"), 100).status,
              backend::ini::FileContent::Missing);
}

TEST(Win32SettingsFile, TooLargeOrDirectoryIsUnreadable) {
    Scratch scratch;
    scratch.write("big.ini", std::string(200, 'x'));
    EXPECT_EQ(readSettingsFile(scratch.path("big.ini"), 100).status,
              backend::ini::FileContent::Unreadable);
    scratch.write("dir\\inner.ini", "x");
    EXPECT_EQ(readSettingsFile(scratch.path("dir"), 100).status,
              backend::ini::FileContent::Unreadable);
}

TEST(Win32SettingsFile, ReadOnlyFileIsFrozen) {
    Scratch scratch;
    const std::string path = scratch.path("QVRL2.ini");
    scratch.write("QVRL2.ini", "[Option]\r\nchk_uo=1\r\n");
    ASSERT_TRUE(SetFileAttributesW(utf8ToWide(path).c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(replaceSettingsFile(path, "[Option]\r\nchk_uo=0\r\n"));
    EXPECT_EQ(contents(path), "[Option]\r\nchk_uo=1\r\n");
    EXPECT_EQ(scratch.names(""), std::vector<std::wstring>{L"QVRL2.ini"});
}

TEST(Win32SettingsFile, OldFileStaysWholeUntilTheNewOneIsComplete) {
    Scratch scratch;
    const std::string path = scratch.path("QVRL2.ini");
    scratch.write("QVRL2.ini", "old");
    std::string seen;
    ASSERT_TRUE(replaceSettingsFile(path, "new", [&] { seen = contents(path); }));
    EXPECT_EQ(seen, "old");
    EXPECT_EQ(contents(path), "new");
}

// The temporary file beside the settings file, once it is complete; "" when
// there is none.
std::string freshFile(const Scratch& scratch) {
    for (const std::wstring& name : scratch.names(""))
        if (name.starts_with(L"QVRL2.ini.")) return scratch.path(wideToUtf8(name));
    return {};
}

enum class Held { FreshFile, OldFile };

class HeldForAMoment : public ::testing::TestWithParam<Held> {};

// A file held for a moment does not cost the settings: the replace is tried
// again, and the holder lets go between two tries.
TEST_P(HeldForAMoment, ReplaceSucceedsOnceTheHolderLetsGo) {
    Scratch scratch;
    const std::string path = scratch.path("QVRL2.ini");
    scratch.write("QVRL2.ini", "[Option]\r\nchk_uo=1\r\n");
    std::unique_ptr<FileHolder> holder;
    if (GetParam() == Held::OldFile) holder = std::make_unique<FileHolder>(path);
    const auto holdFresh = [&] {
        if (GetParam() == Held::FreshFile)
            holder = std::make_unique<FileHolder>(freshFile(scratch));
    };
    int pauses = 0;
    const ReplaceRetries letGoInThePause{5, [&] {
                                             ++pauses;
                                             holder->letGo();
                                         }};
    EXPECT_TRUE(replaceSettingsFile(path, "[Option]\r\nchk_uo=0\r\n", holdFresh, letGoInThePause));
    ASSERT_TRUE(holder && holder->holding());
    EXPECT_EQ(pauses, 1);
    EXPECT_EQ(contents(path), "[Option]\r\nchk_uo=0\r\n");
    // No temporary file of ours stays behind. (Wine's ReplaceFileW leaves one
    // of its own, "rf*.tmp", from the try that found the old file held.)
    EXPECT_EQ(freshFile(scratch), "");
}

INSTANTIATE_TEST_SUITE_P(Win32SettingsFile, HeldForAMoment,
                         ::testing::Values(Held::FreshFile, Held::OldFile));

// Held past the last try: the write fails, and says so to its caller, which
// reports it; the old file is as it was. (The temporary file, held too, stays
// behind with the new text until its holder lets go of it.)
TEST(Win32SettingsFile, FileHeldPastTheRetriesFailsAndLosesNothing) {
    Scratch scratch;
    const std::string path = scratch.path("QVRL2.ini");
    scratch.write("QVRL2.ini", "[Option]\r\nchk_uo=1\r\n");
    std::unique_ptr<FileHolder> holder;
    Win32SettingsFile file;
    backend::ini::IniProfileStore store(
        path, file, {[&] { holder = std::make_unique<FileHolder>(freshFile(scratch)); }});
    EXPECT_FALSE(store.write({{"Option", "chk_uo", "0"}}));
    ASSERT_TRUE(holder && holder->holding());
    holder->letGo();
    EXPECT_EQ(contents(path), "[Option]\r\nchk_uo=1\r\n");
}

TEST(Win32SettingsFile, PathsUnderTheUsersFolders) {
    EXPECT_EQ(settingsPath("C:\\Users\\u\\AppData\\Roaming"),
              "C:\\Users\\u\\AppData\\Roaming\\Tavren\\QVRL2.ini");
    EXPECT_EQ(
        legacySettingsPaths("C:\\Users\\u\\AppData\\Local", "C:\\Windows"),
        (std::vector<std::string>{"C:\\Users\\u\\AppData\\Local\\VirtualStore\\Windows\\QVRL2.ini",
                                  "C:\\Windows\\QVRL2.ini"}));
    const char* appData = std::getenv("APPDATA");
    ASSERT_NE(appData, nullptr);
    EXPECT_EQ(defaultSettingsPath(), std::string(appData) + "\\Tavren\\QVRL2.ini");
    const auto legacy = defaultLegacySettingsPaths();
    ASSERT_EQ(legacy.size(), 2u);
    EXPECT_NE(legacy[0].find("\\VirtualStore\\Windows\\QVRL2.ini"), std::string::npos);
}

TEST(Win32SettingsFile, ImportsTheOldAnsiFileOnce) {
    Scratch scratch;
    const std::string path = scratch.path("Roaming\\Tavren\\QVRL2.ini");
    // 山田 in Shift_JIS.
    scratch.write("Windows\\QVRL2.ini", "[nick]\r\ntxt=\x8E\x52\x93\x63\r\n");
    const std::vector<std::string> legacy{scratch.path("VirtualStore\\Windows\\QVRL2.ini"),
                                          scratch.path("Windows\\QVRL2.ini")};
    EXPECT_TRUE(importLegacySettings(path, legacy));
    EXPECT_EQ(contents(path), "[nick]\r\ntxt=山田\r\n");
    EXPECT_EQ(contents(legacy[1]), "[nick]\r\ntxt=\x8E\x52\x93\x63\r\n"); // left alone
    // Once the new file exists, nothing is imported again.
    scratch.write("Roaming\\Tavren\\QVRL2.ini", "[nick]\r\ntxt=new\r\n");
    EXPECT_FALSE(importLegacySettings(path, legacy));
    EXPECT_EQ(contents(path), "[nick]\r\ntxt=new\r\n");
}

TEST(Win32SettingsFile, VirtualStoreCopyIsPreferred) {
    Scratch scratch;
    const std::string path = scratch.path("Roaming\\Tavren\\QVRL2.ini");
    scratch.write("VirtualStore\\Windows\\QVRL2.ini", "[Option]\r\nchk_uo=1\r\n");
    scratch.write("Windows\\QVRL2.ini", "[Option]\r\nchk_uo=0\r\n");
    EXPECT_TRUE(importLegacySettings(path, {scratch.path("VirtualStore\\Windows\\QVRL2.ini"),
                                            scratch.path("Windows\\QVRL2.ini")}));
    EXPECT_EQ(contents(path), "[Option]\r\nchk_uo=1\r\n");
}

TEST(Win32SettingsFile, Utf8LegacyFileIsCopiedAsItIs) {
    Scratch scratch;
    const std::string path = scratch.path("Roaming\\Tavren\\QVRL2.ini");
    scratch.write("Windows\\QVRL2.ini", "[nick]\r\ntxt=山田\r\n");
    EXPECT_TRUE(importLegacySettings(path, {scratch.path("Windows\\QVRL2.ini")}));
    EXPECT_EQ(contents(path), "[nick]\r\ntxt=山田\r\n");
}

TEST(Win32SettingsFile, NoLegacyFileImportsNothing) {
    Scratch scratch;
    const std::string path = scratch.path("Roaming\\Tavren\\QVRL2.ini");
    EXPECT_FALSE(importLegacySettings(path, {scratch.path("Windows\\QVRL2.ini")}));
    EXPECT_EQ(readSettingsFile(path, 100).status, backend::ini::FileContent::Missing);
}

TEST(Win32SettingsFile, ProfileStoreRoundTripKeepsOtherLines) {
    Scratch scratch;
    const std::string path = scratch.path("Roaming\\Tavren\\QVRL2.ini");
    scratch.write("Roaming\\Tavren\\QVRL2.ini",
                  "; mine\r\n[Option]\r\nchk_uo=1\r\n[Other]\r\nx=y\r\n");
    Win32SettingsFile file;
    backend::ini::IniProfileStore store(path, file);
    EXPECT_EQ(store.read("option", "CHK_UO", "not"), "1");
    ASSERT_TRUE(store.write({{"Option", "chk_uo", "0"}, {"nick", "txt", "山田"}}));
    EXPECT_EQ(contents(path),
              "; mine\r\n[Option]\r\nchk_uo=0\r\n[Other]\r\nx=y\r\n\r\n[nick]\r\ntxt=山田\r\n");
    EXPECT_EQ(store.read("nick", "txt", "not"), "山田");
}

} // namespace
} // namespace tavren::backend::win32
