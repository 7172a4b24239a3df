// Saving a model file keeps the file what it was: links, owner, group, mode
// and attributes, with a backup copy whenever it is overwritten in place.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>
#include <grp.h>
#include <pwd.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include "core/bbx_collection.h"
#include "core/errors.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;
using namespace bbx;

namespace {

struct TSaveOutcome {
    bool Saved = false;
    int Code = 0;
    std::string Message;
};

// Two collections whose files differ in size: the old one small, the new
// one some kilobytes.
Tbbx_collection Models(std::int32_t id, std::int32_t elements) {
    Tbbx_collection c;
    Tbbx_model* m = c.Add();
    m->ID = id;
    for (std::int32_t i = 0; i < elements; ++i) m->AddElement(MakeSphere(static_cast<std::uint32_t>(i), 1, 2, 3, 4));
    return c;
}

class FileSaveTest : public gb::test_support::TempFolderTest {
protected:
    void SetUp() override {
        // The unprivileged child must reach the folder; each test narrows it.
        fs::permissions(Folder.Path(), fs::perms::all);
        fs::create_directory(Cache);
        fs::permissions(Cache, fs::perms::all);
    }

    static bool IsRoot() { return ::geteuid() == 0; }

    // Saves in a forked child, with an optional file size limit (SIGXFSZ
    // ignored, so the write fails with EFBIG). Run as root, the child becomes
    // "nobody", since root passes every permission check.
    TSaveOutcome SaveInChild(const Tbbx_collection& models, const std::string& path,
                             rlim_t sizeLimit = RLIM_INFINITY) const {
        int channel[2];
        if (::pipe(channel) != 0) throw std::runtime_error("no pipe");
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(channel[0]);
            if (IsRoot()) {
                const passwd* nobody = ::getpwnam("nobody");
                if (!nobody || ::setgroups(0, nullptr) != 0 || ::setgid(nobody->pw_gid) != 0 ||
                    ::setuid(nobody->pw_uid) != 0)
                    ::_exit(3);
            }
            ::setenv("XDG_CACHE_HOME", Cache.c_str(), 1);
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{sizeLimit, sizeLimit};
            if (sizeLimit != RLIM_INFINITY && ::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(4);
            std::string report = "saved";
            try {
                models.SaveToFile(path);
            } catch (const EInOutError& e) {
                report = std::to_string(e.ErrorCode) + "\n" + e.what();
            }
            const bool sent = ::write(channel[1], report.data(), report.size()) == static_cast<ssize_t>(report.size());
            ::_exit(sent ? 0 : 5);
        }
        ::close(channel[1]);
        std::string report;
        char buffer[4096];
        for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;) report.append(buffer, static_cast<std::size_t>(n));
        ::close(channel[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;
        TSaveOutcome outcome;
        outcome.Saved = report == "saved";
        if (!outcome.Saved && report.find('\n') != std::string::npos) {
            outcome.Code = std::stoi(report.substr(0, report.find('\n')));
            outcome.Message = report.substr(report.find('\n') + 1);
        }
        return outcome;
    }

    static struct stat Stat(const std::string& path) {
        struct stat info {};
        ::stat(path.c_str(), &info);
        return info;
    }
    // Every file and folder below `in`, the cache folder left out.
    std::vector<std::string> Entries(const fs::path& in) const {
        std::vector<std::string> names;
        for (auto e = fs::recursive_directory_iterator(in); e != fs::recursive_directory_iterator(); ++e) {
            if (e->path() == Cache) {
                e.disable_recursion_pending();
                continue;
            }
            names.push_back(fs::relative(e->path(), in).string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    const fs::path Cache = Folder.Path() / "cache";
    const std::string File = Folder.File("models.bbx");
    const std::string OldBytes = Models(1, 0).SaveToBytes();
    const std::string NewBytes = Models(2, 100).SaveToBytes();
};

}  // namespace

TEST_F(FileSaveTest, SymbolicLinksAreFollowedToTheirTarget) {
    fs::create_directory(Folder.Path() / "real");
    Folder.Write("real/target.bbx", OldBytes);
    fs::create_symlink("real/target.bbx", Folder.Path() / "link.bbx");
    fs::create_symlink(Folder.File("link.bbx"), Folder.Path() / "chain.bbx");  // absolute, to a link
    Models(2, 100).SaveToFile(Folder.File("chain.bbx"));
    EXPECT_TRUE(fs::is_symlink(Folder.File("chain.bbx")));
    EXPECT_TRUE(fs::is_symlink(Folder.File("link.bbx")));
    EXPECT_EQ(Folder.Read("real/target.bbx"), NewBytes);

    // A link to a file not there yet makes the file.
    fs::create_symlink("real/new.bbx", Folder.Path() / "dangling.bbx");
    Models(1, 0).SaveToFile(Folder.File("dangling.bbx"));
    EXPECT_TRUE(fs::is_symlink(Folder.File("dangling.bbx")));
    EXPECT_EQ(Folder.Read("real/new.bbx"), OldBytes);

    fs::create_symlink("loop.bbx", Folder.Path() / "loop.bbx");
    try {
        Models(1, 0).SaveToFile(Folder.File("loop.bbx"));
        ADD_FAILURE() << "a link to itself was saved";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode, ELOOP);
    }
}

TEST_F(FileSaveTest, HardLinksStayLinked) {
    Folder.Write("a.bbx", OldBytes);
    fs::create_hard_link(Folder.File("a.bbx"), Folder.File("b.bbx"));
    const ino_t inode = Stat(Folder.File("a.bbx")).st_ino;
    Models(2, 100).SaveToFile(Folder.File("a.bbx"));
    EXPECT_EQ(Folder.Read("b.bbx"), NewBytes);
    EXPECT_EQ(Stat(Folder.File("a.bbx")).st_ino, inode);
    EXPECT_EQ(fs::hard_link_count(Folder.File("a.bbx")), 2u);
    EXPECT_EQ(Entries(Folder.Path()), (std::vector<std::string>{"a.bbx", "b.bbx"})) << "the backup is gone";
}

TEST_F(FileSaveTest, ReplacedFileKeepsModeAttributesAndAcl) {
    Folder.Write("models.bbx", OldBytes);
    ::chmod(File.c_str(), 0640);
    const std::string origin = "editor";
    if (::setxattr(File.c_str(), "user.origin", origin.data(), origin.size(), 0) != 0)
        GTEST_SKIP() << "no user attributes on this file system: " << std::strerror(errno);
    // An access ACL granting "nobody" read: owner rw, user 65534 r, group r, mask r, other none.
    const auto entry = [](std::uint16_t tag, std::uint16_t perm, std::uint32_t id) {
        std::string e(8, '\0');
        for (int i = 0; i < 2; ++i) e[static_cast<std::size_t>(i)] = static_cast<char>(tag >> (8 * i));
        for (int i = 0; i < 2; ++i) e[static_cast<std::size_t>(2 + i)] = static_cast<char>(perm >> (8 * i));
        for (int i = 0; i < 4; ++i) e[static_cast<std::size_t>(4 + i)] = static_cast<char>(id >> (8 * i));
        return e;
    };
    const std::string acl = std::string("\x02\0\0\0", 4) + entry(0x01, 6, 0xFFFFFFFF) + entry(0x02, 4, 65534) +
                            entry(0x04, 4, 0xFFFFFFFF) + entry(0x10, 4, 0xFFFFFFFF) + entry(0x20, 0, 0xFFFFFFFF);
    const bool withAcl = ::setxattr(File.c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0) == 0;
    if (IsRoot()) {
        ASSERT_EQ(::chown(File.c_str(), 65534, 65534), 0);
    }
    const struct stat before = Stat(File);

    Models(2, 100).SaveToFile(File);
    EXPECT_EQ(Folder.Read("models.bbx"), NewBytes);
    const struct stat after = Stat(File);
    EXPECT_NE(after.st_ino, before.st_ino) << "a single link in a writable folder is replaced whole";
    EXPECT_EQ(after.st_mode & 07777, before.st_mode & 07777);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, before.st_gid);
    char value[256];
    const ssize_t n = ::getxattr(File.c_str(), "user.origin", value, sizeof value);
    ASSERT_GT(n, 0);
    EXPECT_EQ(std::string(value, static_cast<std::size_t>(n)), origin);
    if (withAcl) {
        const ssize_t a = ::getxattr(File.c_str(), "system.posix_acl_access", value, sizeof value);
        ASSERT_GT(a, 0);
        EXPECT_EQ(std::string(value, static_cast<std::size_t>(a)), acl);
    }
    EXPECT_EQ(Entries(Folder.Path()), (std::vector<std::string>{"models.bbx"})) << "no temporary left";
}

TEST_F(FileSaveTest, WriteProtectedFileIsRefused) {
    Folder.Write("models.bbx", OldBytes);
    ::chmod(File.c_str(), 0444);
    const TSaveOutcome outcome = SaveInChild(Models(2, 100), File);
    EXPECT_FALSE(outcome.Saved);
    EXPECT_EQ(outcome.Code, EACCES);
    EXPECT_NE(outcome.Message.find("Permission denied"), std::string::npos) << outcome.Message;
    EXPECT_EQ(Folder.Read("models.bbx"), OldBytes);
    EXPECT_EQ(Stat(File).st_mode & 07777, 0444u);
    EXPECT_EQ(Entries(Folder.Path()), (std::vector<std::string>{"models.bbx"}));
}

TEST_F(FileSaveTest, FileInAReadOnlyFolderIsWrittenInPlace) {
    fs::create_directory(Folder.Path() / "shared");
    Folder.Write("shared/models.bbx", OldBytes);
    const std::string file = Folder.File("shared/models.bbx");
    ::chmod(file.c_str(), 0666);
    fs::permissions(Folder.Path() / "shared", fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                                  fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    const ino_t inode = Stat(file).st_ino;
    const TSaveOutcome outcome = SaveInChild(Models(2, 100), file);
    ASSERT_TRUE(outcome.Saved) << outcome.Message;
    EXPECT_EQ(Folder.Read("shared/models.bbx"), NewBytes);
    EXPECT_EQ(Stat(file).st_ino, inode);
    EXPECT_EQ(Stat(file).st_mode & 07777, 0666u);
    // The backup went to the cache folder and is gone once the save is complete.
    EXPECT_EQ(Entries(Cache), (std::vector<std::string>{"core_tests"}));
}

TEST_F(FileSaveTest, OwnerThatCannotBeKeptMeansWritingInPlace) {
    if (!IsRoot()) GTEST_SKIP() << "needs a file of another user";
    Folder.Write("models.bbx", OldBytes);  // root's, writable by everyone
    ::chmod(File.c_str(), 0666);
    const ino_t inode = Stat(File).st_ino;
    const TSaveOutcome outcome = SaveInChild(Models(2, 100), File);
    ASSERT_TRUE(outcome.Saved) << outcome.Message;
    EXPECT_EQ(Folder.Read("models.bbx"), NewBytes);
    EXPECT_EQ(Stat(File).st_ino, inode);
    EXPECT_EQ(Stat(File).st_uid, 0u);
    EXPECT_EQ(Entries(Folder.Path()), (std::vector<std::string>{"models.bbx"}));
}

TEST_F(FileSaveTest, SaveCutShortKeepsTheOldContentsAndSaysWhere) {
    // A hard-linked file (backup beside it) and one in a read-only folder
    // (backup in the cache folder), cut at several sizes past the backup.
    for (const bool readOnlyFolder : {false, true}) {
        for (const rlim_t limit : {rlim_t{30}, rlim_t{100}, rlim_t{1000}, rlim_t{NewBytes.size() - 1}}) {
            SCOPED_TRACE((readOnlyFolder ? "read-only folder, limit " : "hard link, limit ") + std::to_string(limit));
            const fs::path dir = Folder.Path() / ("case" + std::to_string(limit) + (readOnlyFolder ? "r" : "h"));
            fs::create_directory(dir);
            fs::permissions(dir, fs::perms::all);
            const std::string file = (dir / "models.bbx").string();
            Folder.Write(fs::relative(file, Folder.Path()).string(), OldBytes);
            ::chmod(file.c_str(), 0646);
            if (readOnlyFolder)
                fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                                         fs::perms::others_exec);
            else
                fs::create_hard_link(file, dir / "other.bbx");

            const TSaveOutcome outcome = SaveInChild(Models(2, 100), file, limit);
            ASSERT_FALSE(outcome.Saved);
            EXPECT_EQ(outcome.Code, EFBIG);
            const std::string keptIn = "the previous contents are kept in ";
            const auto at = outcome.Message.find(keptIn);
            ASSERT_NE(at, std::string::npos) << outcome.Message;
            const std::string backup = outcome.Message.substr(at + keptIn.size());
            EXPECT_EQ(fs::path(backup).parent_path(), readOnlyFolder ? Cache / "core_tests" : dir) << backup;
            std::ifstream in(backup, std::ios::binary);
            EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), OldBytes) << "the backup is whole";
            EXPECT_EQ(Folder.Read(fs::relative(file, Folder.Path()).string()), OldBytes)
                << "the old contents are written back";
            EXPECT_EQ(Stat(file).st_mode & 07777, 0646u);
            EXPECT_EQ(fs::hard_link_count(file), readOnlyFolder ? 1u : 2u);
            fs::remove(backup);
        }
    }
}

TEST_F(FileSaveTest, NoBackupMeansNoChange) {
    // A limit below the old file's size: the backup itself cannot be made.
    Folder.Write("models.bbx", OldBytes);
    fs::create_hard_link(File, Folder.File("other.bbx"));
    ::chmod(File.c_str(), 0666);
    const TSaveOutcome outcome = SaveInChild(Models(2, 100), File, OldBytes.size() - 1);
    ASSERT_FALSE(outcome.Saved);
    EXPECT_EQ(outcome.Code, EFBIG);
    EXPECT_NE(outcome.Message.find("no backup copy could be made"), std::string::npos) << outcome.Message;
    EXPECT_EQ(Folder.Read("models.bbx"), OldBytes);
    EXPECT_EQ(Entries(Folder.Path()), (std::vector<std::string>{"models.bbx", "other.bbx"}));
}
