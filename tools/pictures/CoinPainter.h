#pragma once

#include <QImage>
#include <QString>

#include <vector>

namespace picturemaker {

// Bimetal is the one-euro coin: silver centre in a gold ring, "1 EURO" instead of "EURO n CENT".
enum class Metal { Copper, NordicGold, Bimetal };

struct CoinDesign {
    int id;          // the bitmap id the trainer asks for
    double diameter; // in pixels of the 100 x 100 picture
    QString numeral; // the value as minted on the coin
    Metal metal;
    int notches; // the twenty-cent coin's flower-shaped edge, 0 for a round one
};

// One entry per coin bitmap, ids 101..107, smallest value first.
const std::vector<CoinDesign> &coinDesigns();

// The coin's value side, centred on the reward panel's blue, at size x size pixels.
// Drawn from vectors at every size, so the 200 x 200 picture is sharp rather than enlarged.
QImage paintCoin(const CoinDesign &coin, int size);

} // namespace picturemaker
