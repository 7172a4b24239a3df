#pragma once
// The Polish locale pl_PL.UTF-8 for tests of the user's decimal separator:
// as installed; otherwise generated with localedef, system-wide when the
// tests run as root, else into the build's own folder, which LOCPATH then
// names for this process. Generated once, kept for the next runs.

#include <fcntl.h>
#include <locale.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace gb::test_support {

inline constexpr const char* kPolishLocale = "pl_PL.UTF-8";

inline bool LocaleInstalled(const char* name) {
    const locale_t locale = ::newlocale(LC_ALL_MASK, name, static_cast<locale_t>(nullptr));
    if (!locale) return false;
    ::freelocale(locale);
    return true;
}

// Runs localedef with its output dropped; true when it ends with status 0.
inline bool RunLocaledef(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "localedef");
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    ::posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    pid_t child = 0;
    const int failed = ::posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    return !failed && ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Into `folder`/pl_PL.UTF-8, through a folder of its own that is renamed
// into place, so that test processes running at once never see half of it.
inline void GeneratePolishLocaleInto(const std::filesystem::path& folder) {
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    const std::filesystem::path target = folder / kPolishLocale;
    if (std::filesystem::exists(target / "LC_NUMERIC", ignored)) return;
    const std::filesystem::path building = folder / ("building-" + std::to_string(::getpid()));
    std::filesystem::create_directories(building, ignored);
    // -c: the definitions' harmless warnings do not stop the output.
    if (RunLocaledef({"-c", "-i", "pl_PL", "-f", "UTF-8", (building / kPolishLocale).string()}))
        std::filesystem::rename(building / kPolishLocale, target, ignored);
    std::filesystem::remove_all(building, ignored);
}

// Empty when pl_PL.UTF-8 can be used; otherwise why not, for GTEST_SKIP.
inline std::string EnsurePolishLocale() {
    static const std::string missing = [] {
        if (LocaleInstalled(kPolishLocale)) return std::string();
        if (::geteuid() == 0 && RunLocaledef({"-i", "pl_PL", "-f", "UTF-8", kPolishLocale}) &&
            LocaleInstalled(kPolishLocale))
            return std::string();
        const std::filesystem::path folder = BBX_TEST_LOCALE_DIR;
        GeneratePolishLocaleInto(folder);
        ::setenv("LOCPATH", folder.c_str(), 1);
        if (LocaleInstalled(kPolishLocale)) return std::string();
        ::unsetenv("LOCPATH");
        return std::string(kPolishLocale) +
               " is not installed and localedef could not generate it (the locales package has it)";
    }();
    return missing;
}

// The locale variables of the environment (LC_ALL, LC_NUMERIC, LANG) as
// they were before it, back when it goes.
class TLocaleEnvironment {
public:
    TLocaleEnvironment() {
        for (const char* name : kVariables)
            if (const char* value = std::getenv(name)) Saved.emplace_back(name, value);
    }
    ~TLocaleEnvironment() {
        for (const char* name : kVariables) ::unsetenv(name);
        for (const auto& [name, value] : Saved) ::setenv(name.c_str(), value.c_str(), 1);
    }
    TLocaleEnvironment(const TLocaleEnvironment&) = delete;
    TLocaleEnvironment& operator=(const TLocaleEnvironment&) = delete;

private:
    static constexpr const char* kVariables[] = {"LC_ALL", "LC_NUMERIC", "LANG"};
    std::vector<std::pair<std::string, std::string>> Saved;
};

}  // namespace gb::test_support
