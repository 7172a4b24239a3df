#pragma once
// A fresh directory for one test, removed with everything in it afterwards.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace gb::testing {

class TempDirectoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "gb_runtime_XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        Directory = pattern + "/";
    }
    void TearDown() override { std::filesystem::remove_all(Directory); }

    std::string Directory;  // with a trailing '/'
};

}  // namespace gb::testing
