#pragma once

#include <QString>

namespace quizzolo {

// Builds the paths of the spoken clips, which lie in one folder beside the program;
// which clip says what comes from the clip catalogue.
class ClipNames {
  public:
    explicit ClipNames(QString folder = {});

    QString path(const QString &clipName) const; // "va5" -> folder/va5.wav
    QString voxa(int number) const;              // first factor, tens of a product
    QString va(int number) const;                // second factor, units, products below 20
    QString dig() const;                         // "type the result and press ENTER"
    QString esatto() const;                      // right answer
    QString ripeti() const;                      // wrong answer
    QString anthem() const;                      // the one-euro coin

  private:
    QString folder_;
};

// A number as it is shown and named in a clip: plain decimal digits, no sign or blank.
QString numberText(int number);

} // namespace quizzolo
