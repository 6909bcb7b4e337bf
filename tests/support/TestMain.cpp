// Entry point of the test programs (wide, as the launcher). A run whose
// filter selects no test fails: ctest names each test, and a name the
// program does not know (renamed, or a stale build) must not pass unseen.
#include <gtest/gtest.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
    testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    if (result == 0 && testing::UnitTest::GetInstance()->test_to_run_count() == 0) {
        std::fprintf(stderr, "No test matches the filter.\n");
        return 1;
    }
    return result;
}
