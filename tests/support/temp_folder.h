#pragma once
// A fresh folder of its own for one test (or one process), removed with
// everything in it when it goes, also what the test left read-only.

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>

namespace gb::test_support {

class TTempFolder {
public:
    TTempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "glimmerbay_test_XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::system_error(errno, std::generic_category(), "cannot make a folder like " + pattern);
        Root = pattern;
    }
    ~TTempFolder() {
        MakeRemovable(Root);
        std::error_code ignored;
        std::filesystem::remove_all(Root, ignored);
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    const std::filesystem::path& Path() const { return Root; }
    // With the trailing '/' the programs expect of a folder.
    std::string Directory() const { return Root.string() + "/"; }
    std::string File(std::string_view name) const { return (Root / name).string(); }

    // Makes the folders on the way; raises when the file cannot be written.
    void Write(std::string_view name, std::string_view bytes) const {
        const std::filesystem::path path = Root / name;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream out(path, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) throw std::runtime_error("cannot write " + path.string());
    }
    // Empty when there is no such file.
    std::string Read(std::string_view name) const {
        std::ifstream in(Root / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void Remove(std::string_view name) const { std::filesystem::remove(Root / name); }

private:
    static void MakeRemovable(const std::filesystem::path& folder) {
        std::error_code error;
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                     error);
        for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
             entry.increment(error)) {
            std::error_code kind;
            if (entry->is_directory(kind) && !entry->is_symlink(kind)) MakeRemovable(entry->path());
        }
    }

    std::filesystem::path Root;
};

// A test with a fresh folder of its own.
class TempFolderTest : public ::testing::Test {
protected:
    const TTempFolder Folder;
    const std::string Directory = Folder.Directory();  // with a trailing '/'
};

}  // namespace gb::test_support
