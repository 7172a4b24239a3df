// The error log's entries, how errors are named in them, and that writing
// the log never fails where the caller could see it.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <new>
#include <optional>
#include <stdexcept>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/binary_io.h"
#include "core/code_page.h"
#include "core/program_directory.h"
#include "runtime/error_log.h"
#include "runtime/system_info.h"
#include "support/temp_folder.h"

namespace gb {
namespace {

const TErrorLogFacts kFacts{"jan", "choinka", "GlimmerBay", "24.12.2024 18:30:05"};

TEST(ErrorLogEntry, InputOutputErrorHasTheCodeLine) {
    const TErrorInfo error{"EInOutError", 2, "GameData.xml: No such file or directory"};
    EXPECT_EQ(ErrorLogEntry(bbx::Pl<"BŁĄD !!!">(), error, kFacts),
              "\r\n"
              "Błąd:       BŁĄD !!!\r\n"
              "Użytkownik: jan\r\n"
              "Komputer:   choinka\r\n"
              "Plik:       GlimmerBay\r\n"
              "Czas:       24.12.2024 18:30:05\r\n"
              "Typ:        InOutError\r\n"
              "Kod:        2\r\n"
              "Treść:      GameData.xml: No such file or directory\r\n");
}

TEST(ErrorLogEntry, OtherErrorsHaveNoCodeLineAndAnEmptyMessageStays) {
    const TErrorInfo error{"EConvertError", std::nullopt, ""};
    EXPECT_EQ(ErrorLogEntry("Title", error, TErrorLogFacts{}),
              "\r\n"
              "Błąd:       Title\r\n"
              "Użytkownik: \r\n"
              "Komputer:   \r\n"
              "Plik:       \r\n"
              "Czas:       \r\n"
              "Typ:        ConvertError\r\n"
              "Treść:      \r\n");
}

TEST(ErrorLogEntry, ProgramsTextBecomesUtf8) {
    const TErrorInfo error{"EConvertError", std::nullopt, bbx::Pl<"'ósmy' nie jest liczbą">()};
    const std::string entry = ErrorLogEntry(bbx::Pl<"Żółw">(), error, kFacts);
    EXPECT_NE(entry.find("Błąd:       Żółw\r\n"), std::string::npos);
    EXPECT_NE(entry.find("Treść:      'ósmy' nie jest liczbą\r\n"), std::string::npos);
}

TEST(ErrorNames, ShownWithoutTheLeadingE) {
    const TErrorInfo io = DescribeError(bbx::EInOutError(13, "Permission denied"));
    EXPECT_EQ(io.ShownName(), "InOutError");
    EXPECT_EQ(io.Code, 13);
    EXPECT_EQ(io.Message, "Permission denied");
    const TErrorInfo conversion = DescribeError(bbx::EConvertError("'x' is not a valid integer value"));
    EXPECT_EQ(conversion.ShownName(), "ConvertError");
    EXPECT_EQ(conversion.Code, std::nullopt);
    EXPECT_EQ(DescribeError(EListError(5)).ShownName(), "ListError");
    EXPECT_EQ(DescribeError(EListError(5)).Message, "List index out of bounds (5)");
    EXPECT_EQ(DescribeError(EXMLNodeMissing("x")).ShownName(), "XMLNodeMissing");
}

TEST(ErrorNames, NameOutsideTheStyleShowsWhole) {
    EXPECT_EQ(DescribeError(bbx::Exception("plain")).ShownName(), "Exception");
    EXPECT_EQ((TErrorInfo{"E", std::nullopt, ""}).ShownName(), "E");
    EXPECT_EQ((TErrorInfo{"Error", std::nullopt, ""}).ShownName(), "Error");
}

TEST(ErrorNames, ForeignExceptionsGetTheFallbackName) {
    const TErrorInfo memory = DescribeError(std::bad_alloc());
    EXPECT_EQ(memory.ClassName, kFallbackClassName);
    EXPECT_EQ(memory.Message, "Out of memory");
    const TErrorInfo standard = DescribeError(std::runtime_error("zażółć"));
    EXPECT_EQ(standard.ShownName(), "Exception");
    EXPECT_EQ(standard.Message, bbx::Pl<"zażółć">());
}

TEST(ErrorNames, ExceptionPointerKeepsTheThrownClass) {
    const auto io = DescribeError(std::make_exception_ptr(bbx::EInOutError(28, "No space left on device")));
    EXPECT_EQ(io.ShownName(), "InOutError");
    EXPECT_EQ(io.Code, 28);
    EXPECT_EQ(DescribeError(std::make_exception_ptr(std::bad_alloc())).Message, "Out of memory");
    for (const auto& odd : {std::make_exception_ptr(42), std::exception_ptr()}) {
        const TErrorInfo info = DescribeError(odd);
        EXPECT_EQ(info.ClassName, kFallbackClassName);
        EXPECT_EQ(info.Message, bbx::Pl<"Nieznany wyjątek">());
    }
}

using ErrorLogFileTest = test_support::TempFolderTest;

TEST_F(ErrorLogFileTest, FirstErrorCreatesTheFileAndLaterOnesAppend) {
    WriteErrorLog(Directory, bbx::Pl<"BŁĄD !!!">(), DescribeError(bbx::EInOutError(2, "first")));
    const std::string once = bbx::ReadWholeFile(Directory + "Errors.log");
    EXPECT_TRUE(once.starts_with("\r\nBłąd:       BŁĄD !!!\r\nUżytkownik: ")) << once;
    EXPECT_NE(once.find("\r\nKomputer:   " + ComputerName() + "\r\n"), std::string::npos);
    EXPECT_NE(once.find("\r\nPlik:       " + bbx::ProgramFileName() + "\r\n"), std::string::npos);
    EXPECT_NE(once.find("\r\nKod:        2\r\nTreść:      first\r\n"), std::string::npos);
    EXPECT_TRUE(once.ends_with("first\r\n"));

    WriteErrorLog(Directory, "second", DescribeError(bbx::EConvertError("bad")));
    const std::string twice = bbx::ReadWholeFile(Directory + "Errors.log");
    ASSERT_TRUE(twice.starts_with(once));
    const std::string added = twice.substr(once.size());
    EXPECT_TRUE(added.starts_with("\r\nBłąd:       second\r\n")) << added;
    EXPECT_EQ(added.find("Kod:"), std::string::npos);
    EXPECT_TRUE(added.ends_with("\r\nTyp:        ConvertError\r\nTreść:      bad\r\n"));
}

TEST_F(ErrorLogFileTest, UnwritableLogLosesTheEntrySilently) {
    const TErrorInfo error = DescribeError(bbx::EConvertError("lost"));
    WriteErrorLog(Directory + "missing/", "t", error);
    EXPECT_FALSE(std::filesystem::exists(Directory + "missing"));
    std::filesystem::create_directory(Directory + "Errors.log");
    WriteErrorLog(Directory, "t", error);
    EXPECT_TRUE(std::filesystem::is_directory(Directory + "Errors.log"));
}

TEST_F(ErrorLogFileTest, FullDiskLosesTheEntrySilently) {
    std::filesystem::create_directory(Directory + "full");
    std::filesystem::create_symlink("/dev/full", Directory + "full/Errors.log");
    WriteErrorLog(Directory + "full/", "t", DescribeError(bbx::EConvertError("lost")));
    SUCCEED() << "returned without raising";
}

// Runs the body in a child process that a hang or a signal cannot take the
// test with it; the child's exit status, or -signal when one ended it.
int InChild(const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(5);
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

TEST_F(ErrorLogFileTest, AFifoWithoutAReaderNeitherBlocksNorTakesTheEntry) {
    ASSERT_EQ(::mkfifo((Directory + "Errors.log").c_str(), 0600), 0);
    EXPECT_EQ(InChild([this] {
                  WriteErrorLog(Directory, "t", DescribeError(bbx::EConvertError("lost")));
                  return 0;
              }),
              0);

    // With a reader waiting the FIFO opens, and is still turned away.
    const int reader = ::open((Directory + "Errors.log").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    WriteErrorLog(Directory, "t", DescribeError(bbx::EConvertError("lost")));
    char byte = 0;
    EXPECT_LE(::read(reader, &byte, 1), 0);
    ::close(reader);
}

TEST_F(ErrorLogFileTest, AFileSizeLimitLosesTheWholeEntryAndTheNextOneStillComes) {
    const TErrorInfo error = DescribeError(bbx::EConvertError("entry"));
    WriteErrorLog(Directory, "first", error);
    const std::string before = bbx::ReadWholeFile(Directory + "Errors.log");
    const int status = InChild([&] {
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit small{before.size() + 10, limit.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &small);
        WriteErrorLog(Directory, "second", error);
        if (bbx::ReadWholeFile(Directory + "Errors.log") != before) return 2;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        WriteErrorLog(Directory, "third", error);
        return 0;
    });
    ASSERT_EQ(status, 0) << "2: the entry was cut; negative: a signal ended the writer";
    const std::string after = bbx::ReadWholeFile(Directory + "Errors.log");
    ASSERT_TRUE(after.starts_with(before));
    EXPECT_TRUE(after.substr(before.size()).starts_with("\r\nBłąd:       third\r\n"));
    EXPECT_EQ(after.find("second"), std::string::npos);
}

TEST(ErrorLogProgramDirectory, WritesBesideTheProgram) {
    const std::string path = bbx::ProgramDirectory() + "Errors.log";
    std::optional<std::string> before;
    if (std::filesystem::exists(path)) before = bbx::ReadWholeFile(path);
    try {
        throw bbx::EInOutError(5, "beside the program");
    } catch (...) {
        WriteErrorLog("ptr", std::current_exception());
    }
    WriteErrorLog("ref", std::runtime_error("by reference"));
    const std::string after = bbx::ReadWholeFile(path);
    if (before)
        bbx::WriteWholeFile(path, *before);
    else
        std::filesystem::remove(path);
    const std::string added = after.substr(before ? before->size() : 0);
    EXPECT_NE(added.find("Błąd:       ptr\r\n"), std::string::npos) << added;
    EXPECT_NE(added.find("Kod:        5\r\nTreść:      beside the program\r\n"), std::string::npos);
    EXPECT_NE(added.find("Typ:        Exception\r\nTreść:      by reference\r\n"), std::string::npos);
}

class LocalTimeTest : public ::testing::Test {
protected:
    // The C locale's formats, whatever the machine's user has.
    void SetUp() override {
        if (const char* all = std::getenv("LC_ALL")) Saved = all;
        ::setenv("LC_ALL", "C", 1);
    }
    void TearDown() override {
        if (Saved)
            ::setenv("LC_ALL", Saved->c_str(), 1);
        else
            ::unsetenv("LC_ALL");
    }
    static std::chrono::system_clock::time_point Local(int hour, int minute, int second) {
        std::tm when{};
        when.tm_year = 2024 - 1900;
        when.tm_mon = 2;
        when.tm_mday = 5;
        when.tm_hour = hour;
        when.tm_min = minute;
        when.tm_sec = second;
        when.tm_isdst = -1;
        return std::chrono::system_clock::from_time_t(std::mktime(&when));
    }

    std::optional<std::string> Saved;
};

TEST_F(LocalTimeTest, ShortDateThenLongTime) {
    EXPECT_EQ(LocalDateTimeText(Local(14, 7, 9)), "03/05/24 14:07:09");
    EXPECT_EQ(LocalDateTimeText(Local(14, 7, 9) + std::chrono::milliseconds(999)), "03/05/24 14:07:09");
}

TEST_F(LocalTimeTest, ExactlyMidnightLeavesTheTimeOut) {
    EXPECT_EQ(LocalDateTimeText(Local(0, 0, 0)), "03/05/24");
    EXPECT_EQ(LocalDateTimeText(Local(0, 0, 0) + std::chrono::milliseconds(1)), "03/05/24 00:00:00");
    EXPECT_EQ(LocalDateTimeText(Local(0, 0, 1)), "03/05/24 00:00:01");
}

}  // namespace
}  // namespace gb
