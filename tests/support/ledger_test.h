// ledger_test: the base of toolkit tests that must leave no loaded surface
// behind.
#ifndef ANIM_TESTS_LEDGER_TEST_H
#define ANIM_TESTS_LEDGER_TEST_H

#include "support/test_images.h"
#include "surface_ledger.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace test_support {

class LedgerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        live_before = harness::live_surfaces();
        harness::take_free_log();
    }
    void TearDown() override
    {
        harness::fail_load(0);
        EXPECT_EQ(harness::live_surfaces(), live_before) << "the test left loaded surfaces behind";
    }

    // Loaded surfaces alive now that were not before the test.
    long live_now() const { return harness::live_surfaces() - live_before; }

    // Writes one w x h solid frame per colour as <prefix>0.bmp, <prefix>1.bmp,
    // ... and returns their names.
    std::vector<std::string> write_frames(const std::string& prefix, const std::vector<Rgb>& colours, int w, int h)
    {
        std::vector<std::string> names;
        for (size_t i = 0; i < colours.size(); ++i) {
            names.push_back(prefix + std::to_string(i) + ".bmp");
            write_solid_bmp(dir.file(names.back()), w, h, colours[i]);
        }
        return names;
    }

    TempDir dir;
    long live_before = 0;
};

}  // namespace test_support

#endif
