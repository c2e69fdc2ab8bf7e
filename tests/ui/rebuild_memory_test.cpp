// Memory over many rebuilds of the main window: each refused input closes
// the window with all its controls and builds it again, and nothing of the
// old one may stay behind.
#include "ui_harness.h"

#include <gtest/gtest.h>

#include <fstream>

#include <malloc.h>

#include <unistd.h>

#ifdef __SANITIZE_ADDRESS__
// From the sanitizer's runtime; GCC ships no header of its interface.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

using namespace ui_test;

namespace {

// What the program holds, not what the allocator keeps in reserve: the
// resident bytes once the heap's free memory is given back to the system.
// AddressSanitizer keeps freed blocks in quarantine and the shadow of each
// resident, so there it is the bytes its allocator has handed out and not
// yet got back.
long HeldBytes() {
#ifdef __SANITIZE_ADDRESS__
    return static_cast<long>(__sanitizer_get_current_allocated_bytes());
#else
    ::malloc_trim(0);
    long pages = 0, resident = 0;
    std::ifstream statm("/proc/self/statm");
    statm >> pages >> resident;
    return resident * ::sysconf(_SC_PAGESIZE);
#endif
}

TEST(RefusedInput, AThousandRebuildsAfterTheFirstTenGrowTheResidentMemoryByLessThanOneMegabyte) {
    Session s("rebuild_memory");
    long afterTen = 0, afterThousandMore = 0;
    s.Type(kTownField, "BERN");
    s.Type(kLongitudeField, "9,5");  // refused: "Attention at longitude !"
    s.Type(kLatitudeField, "47.3");
    for (int n = 0; n < 10; ++n) s.Click(kCalculateButton);
    s.Check([&] { afterTen = HeldBytes(); });
    for (int n = 0; n < 1000; ++n) s.Click(kCalculateButton);
    s.Check([&] { afterThousandMore = HeldBytes(); });
    s.Click(kExitButton);
    s.RunMainWindowFromStart();
    ASSERT_EQ(s.messages.size(), 1010u);
    EXPECT_EQ(s.messages.back().title, "Attention at longitude !");
    const long growth = afterThousandMore - afterTen;
    RecordProperty("GrowthBytes", std::to_string(growth));
    EXPECT_LT(growth, 1024 * 1024) << "a thousand rebuilds grew the program by " << growth << " bytes";
}

}  // namespace
