#pragma once

#include <QString>

// The trainer's own Italian texts, exactly as the child sees them.
namespace quizzolo::texts {

inline const QString fammiVedere = QStringLiteral("Fammi vedere il risultato");
inline const QString chiedimi = QStringLiteral("Chiedimi una operazione");
inline const QString senzaRisultato = QStringLiteral("Operazioni di seguito, senza il risultato");
inline const QString conRisultato = QStringLiteral("Operazioni di seguito, con il risultato");
inline const QString ferma = QStringLiteral("Ferma le operazioni di seguito");
inline const QString caccia = QStringLiteral("Caccia all'euro");
inline const QString scriviRisultato = QStringLiteral("Scrivi il risultato e premi il tasto INVIO");
inline const QString ritardaOperazioni = QStringLiteral("Ritarda le operazioni");
inline const QString ritardaRisultato = QStringLiteral("Ritarda il risultato");
inline const QString ritardoIniziale = QStringLiteral("Ritardo del risultato:");
inline const QString stop = QStringLiteral("STOP");
inline const QString vuoiUscire = QStringLiteral("Vuoi uscire?");
inline const QString attenzione = QStringLiteral("ATTENZIONE");
inline const QString titolo = QStringLiteral("Quizzolo");
inline const QString didascaliaFinestra = QStringLiteral("Form1");
inline const QString tutte = QStringLiteral("tutte");

} // namespace quizzolo::texts
