#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace zanto::test {

// Puts the process in another time zone (TZ) while it lives.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone)
    {
        if (const char* was = std::getenv("TZ"))
            m_was = was;
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~ScopedTimeZone()
    {
        m_was ? ::setenv("TZ", m_was->c_str(), 1) : ::unsetenv("TZ");
        ::tzset();
    }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
    std::optional<std::string> m_was;
};

} // namespace zanto::test
