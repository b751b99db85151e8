#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <unordered_map>

#include "core/Links.h"

namespace vxa::test {
namespace {

// The definition, through a map of first entries: the first earlier entry
// with the same value.
std::vector<std::int32_t> Expected(const std::vector<std::uint32_t>& values) {
    std::unordered_map<std::uint32_t, std::int32_t> first;
    std::vector<std::int32_t> links(values.size(), -1);
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (values[i] != 0) {
            const auto [at, isNew] = first.emplace(values[i], std::int32_t(i) + 1);
            links[i] = isNew ? 0 : at->second;
        }
    }
    return links;
}

// The links, after checking that RecordOrder walks the entries that own
// their record (all but the last value, the end marker) by ascending value.
std::vector<std::int32_t> Links(const std::vector<std::uint32_t>& values, const Pause& pause = {}) {
    std::vector<std::int32_t> links{7, 7};
    const std::vector<std::uint32_t> outOfOrder = ComputeLinks(values, links, pause);
    const std::size_t count = values.empty() ? 0 : values.size() - 1;
    std::vector<std::uint32_t> expected, walked;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (links[i] == 0)
            expected.push_back(i);
    }
    std::stable_sort(expected.begin(), expected.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return values[a] < values[b]; });
    RecordOrder order(values, count, outOfOrder);
    while (const auto i = order.next())
        walked.push_back(*i);
    EXPECT_EQ(walked, expected);
    return links;
}

TEST(LinksTest, TablesAgreeWithTheDefinition) {
    // Records out of order, alone or in pairs, among shared and blank values.
    const std::vector<std::vector<std::uint32_t>> shapes{
        {},        {5},          {1, 2, 2, 1}, {3, 2, 1, 9},    {30, 20, 10, 20, 10, 40},
        {9, 4, 4}, {0, 7, 0, 7}, {8, 3, 5, 3}, {6, 2, 2, 1, 1}, {2, 1, 2, 1, 3}};
    for (const auto& values : shapes)
        EXPECT_EQ(Links(values), Expected(values)) << ::testing::PrintToString(values);
    std::mt19937 rng(12345);
    for (int round = 0; round < 3000; ++round) {
        const std::size_t n = rng() % 60;
        // Few distinct values, many, or the full range with its high bits.
        const std::uint32_t range = round % 3 == 0 ? 6 : round % 3 == 1 ? 200 : 0;
        std::vector<std::uint32_t> values(n);
        for (std::uint32_t& v : values)
            v = range == 0 ? static_cast<std::uint32_t>(rng()) : rng() % range;
        if (round % 4 == 0)
            std::sort(values.begin(), values.end());
        ASSERT_EQ(Links(values), Expected(values)) << round;
    }
}

TEST(LinksTest, ALongTableIsDoneInSlicesInEitherOrder) {
    // Records in entry order with some repeats, then the same shuffled.
    std::mt19937 rng(7);
    std::vector<std::uint32_t> values;
    for (std::uint32_t i = 0; i < 200000; ++i) {
        const std::uint32_t r = rng() % 20;
        values.push_back(r == 0 ? 0 : r == 1 && i > 0 ? values[rng() % i] : 1000 + 16 * i);
    }
    for (const bool shuffle : {false, true}) {
        if (shuffle)
            std::shuffle(values.begin(), values.end(), rng);
        int pauses = 0;
        EXPECT_EQ(Links(values, [&] { ++pauses; }), Expected(values));
        EXPECT_GE(pauses, 3);
    }
}

}  // namespace
}  // namespace vxa::test
