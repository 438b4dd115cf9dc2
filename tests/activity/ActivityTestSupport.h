#pragma once
// Shared set-up of the activity tests: the stand-in art in use, and a check
// that every library image taken during a test was given back.

#include "activity/ActivityArt.h"
#include "foundation/KelException.h"

#include <gtest/gtest.h>

class ActivityTest : public ::testing::Test {
protected:
    void SetUp() override {
        SharedArt().Use();
        ImagesBefore = SharedArt().Lib().Images().Count();
    }
    void TearDown() override {
        EXPECT_EQ(SharedArt().Lib().Images().Count(), ImagesBefore) << "images leaked";
    }

    int32_t ImagesBefore = 0;
};

// Runs action and returns the message of the KelException it raises.
template <class F> std::string KelMessage(F&& action) {
    try {
        action();
    } catch (const KelException& error) {
        return error.what();
    }
    return "(no exception)";
}
