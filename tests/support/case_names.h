// Names for the cases of table-driven tests, so that each case shows in the
// test list under its own words ("work surface not created" becomes
// WorkSurfaceNotCreated) instead of a number.
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace testsupport {

inline std::string CaseName(const char *words) {
    std::string name;
    bool upper = true;
    for (const char *p = words; *p != '\0'; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (std::isalnum(c)) {
            name += static_cast<char>(upper ? std::toupper(c) : c);
            upper = false;
        } else {
            upper = true;
        }
    }
    return name;
}

// For INSTANTIATE_TEST_SUITE_P: names each case after its `name` field.
struct NameField {
    template <typename Case> std::string operator()(const ::testing::TestParamInfo<Case> &info) {
        return CaseName(info.param.name);
    }
};

} // namespace testsupport
