// The main of the GoogleTest programs: as gtest_main, except that a run
// whose cases all passed but some skipped exits with
// TESTS_SKIPPED_EXIT_CODE, so that the test runner shows it as skipped.
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    int failed = RUN_ALL_TESTS();
    if (failed == 0 && ::testing::UnitTest::GetInstance()->skipped_test_count() > 0)
        return TESTS_SKIPPED_EXIT_CODE;
    return failed;
}
