// Memory over many rebuilds of the main window: each refused input closes
// the window with all its controls and builds it again, and nothing of the
// old one may stay behind.
#include "ui_harness.h"

#include "tests/support/sanitized.h"

#include <gtest/gtest.h>

#include <fstream>

#include <malloc.h>

#include <unistd.h>

using namespace ui_test;

namespace {

// Resident bytes once the heap's free memory is given back to the system:
// what the program holds, not what the allocator keeps in reserve.
long ResidentBytes() {
    ::malloc_trim(0);
    long pages = 0, resident = 0;
    std::ifstream statm("/proc/self/statm");
    statm >> pages >> resident;
    return resident * ::sysconf(_SC_PAGESIZE);
}

TEST(RefusedInput, AThousandRebuildsAfterTheFirstTenGrowTheResidentMemoryByLessThanOneMegabyte) {
    if (kSanitized)
        GTEST_SKIP() << "AddressSanitizer keeps freed memory in quarantine and the shadow of every freed block "
                        "resident, so resident memory does not show what the program holds; its leak check at "
                        "exit stands in";
    Session s("rebuild_memory");
    long afterTen = 0, afterThousandMore = 0;
    s.Type(kTownField, "BERN");
    s.Type(kLongitudeField, "9,5");  // refused: "Attention at longitude !"
    s.Type(kLatitudeField, "47.3");
    for (int n = 0; n < 10; ++n) s.Click(kCalculateButton);
    s.Check([&] { afterTen = ResidentBytes(); });
    for (int n = 0; n < 1000; ++n) s.Click(kCalculateButton);
    s.Check([&] { afterThousandMore = ResidentBytes(); });
    s.Click(kExitButton);
    s.RunMainWindowFromStart();
    ASSERT_EQ(s.messages.size(), 1010u);
    EXPECT_EQ(s.messages.back().title, "Attention at longitude !");
    const long growth = afterThousandMore - afterTen;
    RecordProperty("GrowthBytes", std::to_string(growth));
    EXPECT_LT(growth, 1024 * 1024) << "a thousand rebuilds grew the program by " << growth << " bytes";
}

}  // namespace
