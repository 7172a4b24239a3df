#include "runtime/system_info.h"

#include <climits>
#include <ctime>
#include <langinfo.h>
#include <locale.h>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace gb {
namespace {

// The user's LC_TIME locale, whatever locale the process has switched to.
class TUserTimeLocale {
public:
    TUserTimeLocale() : Handle(::newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr))) {
        if (!Handle) Handle = ::newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(nullptr));
    }
    ~TUserTimeLocale() {
        if (Handle) ::freelocale(Handle);
    }
    TUserTimeLocale(const TUserTimeLocale&) = delete;
    TUserTimeLocale& operator=(const TUserTimeLocale&) = delete;

    std::string Format(nl_item format, const std::tm& time) const {
        if (!Handle) return {};
        const char* pattern = ::nl_langinfo_l(format, Handle);
        char buffer[256];
        const std::size_t length = ::strftime_l(buffer, sizeof buffer, pattern, &time, Handle);
        return std::string(buffer, length);
    }

private:
    locale_t Handle;
};

}  // namespace

std::string UserName() {
    const long suggested = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<std::size_t>(suggested) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found || !found->pw_name)
        return {};
    return found->pw_name;
}

std::string ComputerName() {
    char buffer[HOST_NAME_MAX + 1] = {};
    if (::gethostname(buffer, sizeof buffer - 1) != 0) return {};
    return buffer;
}

std::string LocalDateTimeText(std::chrono::system_clock::time_point when) {
    const auto wholeSeconds = std::chrono::floor<std::chrono::seconds>(when);
    const std::time_t seconds = std::chrono::system_clock::to_time_t(wholeSeconds);
    std::tm local{};
    if (!::localtime_r(&seconds, &local)) return {};
    const TUserTimeLocale locale;
    std::string text = locale.Format(D_FMT, local);
    const bool midnight = wholeSeconds == when && local.tm_hour == 0 && local.tm_min == 0 && local.tm_sec == 0;
    if (!midnight) text += ' ' + locale.Format(T_FMT, local);
    return text;
}

}  // namespace gb
