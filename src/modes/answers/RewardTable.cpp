#include "modes/answers/RewardTable.h"

#include "engine/Trainer.h"

#include <QLabel>

namespace quizzolo {

namespace {

// 101 1 cent, 102 2 cents, 103 5, 104 10, 105 20, 106 50, 107 1 euro.
// clang-format off
constexpr std::array<RewardRow, 21> table{{
    {{0, 0, 0}},       {{101, 0, 0}},     {{102, 0, 0}},     {{102, 101, 0}},   {{102, 102, 0}},
    {{103, 0, 0}},     {{103, 101, 0}},   {{103, 102, 0}},   {{103, 102, 101}}, {{103, 102, 102}},
    {{104, 0, 0}},     {{104, 103, 0}},   {{105, 0, 0}},     {{105, 104, 0}},   {{105, 105, 0}},
    {{106, 0, 0}},     {{106, 104, 0}},   {{106, 105, 0}},   {{106, 105, 104}}, {{106, 105, 105}},
    {{107, 0, 0}},
}};
// clang-format on

} // namespace

std::optional<RewardRow> rewardRow(float count)
{
    for (std::size_t i = 0; i < table.size(); ++i)
        if (count == static_cast<float>(i))
            return table[i];
    return std::nullopt;
}

void applyRewardRow(Trainer &t, const RewardRow &row)
{
    QLabel *places[3] = {t.ui.Image1, t.ui.Image2, t.ui.Image3};
    for (std::size_t i = 0; i < 3; ++i)
        places[i]->setVisible(row.ids[i] != 0);
    for (std::size_t i = 0; i < 3; ++i) {
        if (row.ids[i] != 0)
            places[i]->setPixmap(t.fuori.pictures.bitmap(row.ids[i]));
        else
            places[i]->clear();
        places[i]->setProperty("coin", row.ids[i]); // so that another scale can draw it again
    }
}

} // namespace quizzolo
