#pragma once

#include <array>
#include <optional>

namespace quizzolo {

struct Trainer;

// Coins shown for one reward count: bitmap ids for Image1, Image2, Image3, 0 = hidden.
struct RewardRow {
    std::array<int, 3> ids;
};

constexpr int euroCount = 20; // the one-euro coin: the hunt is won

// The row for a count 0..20; none for any other count.
std::optional<RewardRow> rewardRow(float count);

// Visibility of the three places first, then their pictures, each loaded afresh.
void applyRewardRow(Trainer &t, const RewardRow &row);

} // namespace quizzolo
