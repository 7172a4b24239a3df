#pragma once
// Environment variables set for one test; what was there before comes back
// when it goes.

#include <cstdlib>
#include <map>
#include <optional>
#include <string>

namespace gb::test_support {

class TScopedEnvironment {
public:
    TScopedEnvironment() = default;
    TScopedEnvironment(const TScopedEnvironment&) = delete;
    TScopedEnvironment& operator=(const TScopedEnvironment&) = delete;
    ~TScopedEnvironment() {
        for (const auto& [name, value] : Saved) Put(name, value);
    }

    // No value unsets the variable.
    void Set(const std::string& name, const std::optional<std::string>& value) {
        if (!Saved.contains(name)) {
            const char* old = std::getenv(name.c_str());
            Saved[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        Put(name, value);
    }

private:
    static void Put(const std::string& name, const std::optional<std::string>& value) {
        if (value)
            ::setenv(name.c_str(), value->c_str(), 1);
        else
            ::unsetenv(name.c_str());
    }

    std::map<std::string, std::optional<std::string>> Saved;
};

}  // namespace gb::test_support
