#include "foundation/ScopeGuard.h"
#include "foundation/TemporaryChange.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

TEST(ScopeGuard, RunsOnceWhenTheScopeEndsEitherWay) {
    int runs = 0;
    {
        ScopeGuard guard([&] { ++runs; });
        EXPECT_EQ(runs, 0);
    }
    EXPECT_EQ(runs, 1);
    try {
        ScopeGuard guard([&] { ++runs; });
        throw std::runtime_error("first");
    } catch (const std::runtime_error&) {
        EXPECT_EQ(runs, 2);
    }
}

TEST(ScopeGuard, FinishRunsNowPassesErrorsOnAndLeavesNothingForTheEnd) {
    int runs = 0;
    {
        ScopeGuard guard([&] { ++runs; });
        guard.Finish();
        EXPECT_EQ(runs, 1);
    }
    EXPECT_EQ(runs, 1);
    ScopeGuard failing([&] {
        ++runs;
        throw std::runtime_error("restore failed");
    });
    EXPECT_THROW(failing.Finish(), std::runtime_error);
    EXPECT_EQ(runs, 2); // and the destructor does not run it a second time
}

TEST(ScopeGuard, AnErrorOfTheActionWhileAnotherUnwindsKeepsTheFirst) {
    std::string seen;
    try {
        ScopeGuard guard([] { throw std::logic_error("restore failed"); });
        throw std::runtime_error("first");
    } catch (const std::exception& e) {
        seen = e.what();
    }
    EXPECT_EQ(seen, "first");
    // At an ordinary end the action's error is swallowed too, never terminating.
    EXPECT_NO_THROW({ ScopeGuard guard([] { throw std::logic_error("restore failed"); }); });
}

TEST(ScopeGuard, DismissedGuardDoesNothing) {
    int runs = 0;
    {
        ScopeGuard guard([&] { ++runs; });
        guard.Dismiss();
    }
    EXPECT_EQ(runs, 0);
}

TEST(TemporaryChange, PutsTheOldValueBackInReverseOrderAlsoOnErrors) {
    int depth = 0;
    std::vector<int> seen;
    try {
        const TemporaryChange<int> one(depth, depth + 1);
        seen.push_back(depth);
        {
            const TemporaryChange<int> two(depth, depth + 1);
            seen.push_back(depth);
        }
        seen.push_back(depth);
        throw std::runtime_error("x");
    } catch (const std::runtime_error&) {
        seen.push_back(depth);
    }
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 1, 0}));
}
