#pragma once

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace zandrel::testsupport {

// Runs a scope under it_IT.UTF-8, the comma-decimal locale the editor's users have, and puts the
// previous locale back afterwards. scripts/deps.sh generates the locale; a machine without it
// fails the test that needs it rather than skipping, so the check is never silently lost.
class CommaDecimalLocale {
public:
    CommaDecimalLocale() : previous_(std::setlocale(LC_ALL, nullptr)) {
        active_ = std::setlocale(LC_ALL, "it_IT.UTF-8") != nullptr;
        EXPECT_TRUE(active_) << "the locale it_IT.UTF-8 is missing: run scripts/deps.sh";
        if (active_) {
            EXPECT_STREQ(std::localeconv()->decimal_point, ",");
        }
    }
    ~CommaDecimalLocale() { std::setlocale(LC_ALL, previous_.c_str()); }
    CommaDecimalLocale(const CommaDecimalLocale&) = delete;
    CommaDecimalLocale& operator=(const CommaDecimalLocale&) = delete;

    bool active() const { return active_; }

private:
    std::string previous_;
    bool active_ = false;
};

}  // namespace zandrel::testsupport
