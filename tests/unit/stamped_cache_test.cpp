#include "base/stamped_cache.h"

#include <gtest/gtest.h>

#include <string>

TEST(StampedCacheTest, AValueServesWhileItsSourceKeepsItsStampAndARoundAsksForIt)
{
    StampedCache<std::string, int, std::string> cache;
    EXPECT_EQ(nullptr, cache.Find("a", 1));
    cache.Store("a", 1, "one");
    cache.Store("b", 1, "b");
    cache.Store("c", 1, "c");
    cache.Sweep();
    ASSERT_NE(nullptr, cache.Find("a", 1));
    EXPECT_EQ("one", *cache.Find("a", 1));
    EXPECT_EQ(nullptr, cache.Find("b", 2)) << "the source changed";

    // The round found a, asked for b with another stamp and never asked for c.
    cache.Sweep();
    EXPECT_EQ(1u, cache.Size());
    cache.Store("a", 2, "two");
    EXPECT_EQ(nullptr, cache.Find("a", 1));
    EXPECT_EQ("two", *cache.Find("a", 2));
    cache.Sweep();
    cache.Sweep();
    EXPECT_EQ(0u, cache.Size());
}
