// The fixture of the tests that run the compiled ARM code: every variant's
// program, loaded; a test is skipped, saying why, where the code was not
// built, and fails where a variant that was built does not load.
#pragma once
#include "arm_code.h"
#include <gtest/gtest.h>
#include <utility>

class ArmProgramsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string why_not, directory = ArmCodeDirectory(why_not);
        if (directory.empty())
            GTEST_SKIP() << why_not;
        for (const char *variant : kArmVariants) {
            programs.emplace_back(variant, ArmProgram());
            ASSERT_TRUE(LoadArmProgram(directory, variant, programs.back().second)) << variant;
        }
    }
    // The program of VARIANT ("arm-O2", ...).
    const ArmProgram &Program(const std::string &variant) const
    {
        for (const auto &program : programs)
            if (program.first == variant)
                return program.second;
        throw std::invalid_argument(variant);
    }

    std::vector<std::pair<std::string, ArmProgram>> programs;   // by variant
};
