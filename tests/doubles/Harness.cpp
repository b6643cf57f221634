#include "doubles/Harness.h"

#include "app/ResourceLoader.h"

#include <cmath>

namespace quizzolo::test {

QMap<QString, QWidget *> Harness::namedControls() const
{
    // clang-format off
    QMap<QString, QWidget *> named = {
        {"Command1", ui.Command1}, {"Command2", ui.Command2}, {"Command3", ui.Command3}, {"command4", ui.command4},
        {"Command5", ui.Command5}, {"fine", ui.fine}, {"Text1", ui.Text1}, {"Label7", ui.Label7}, {"Label8", ui.Label8},
        {"variaRitardo", ui.variaRitardo}, {"tabella", window.stage()}, {"FrameRitardo", ui.FrameRitardo},
        {"Label1", ui.Label1}, {"Label2", ui.Label2}, {"Label3", ui.Label3}, {"Label4", ui.Label4}, {"Label5", ui.Label5},
        {"Label6", ui.Label6}, {"Frame1", ui.Frame1}, {"Frame2", ui.Frame2}, {"Frame3", ui.Frame3}, {"Image1", ui.Image1},
        {"Image2", ui.Image2}, {"Image3", ui.Image3}, {"Line1", ui.lines[0]}, {"Line2", ui.lines[1]},
        {"Line3", ui.lines[2]}, {"Line4", ui.lines[3]}};
    // clang-format on
    for (int i = 0; i < 10; ++i)
        named.insert(i == 0 ? QStringLiteral("tutte") : QString::number(i), ui.Sel_Quizzolo[std::size_t(i)]);
    return named;
}

void Harness::answer(int a, int b, const QString &typed)
{
    random.pushQuestion(a, b);
    Command5_Click(t);
    ui.Text1->setText(typed);
    QTest::keyClick(ui.Text1, Qt::Key_Return);
}

bool Harness::shows(QLabel *place, int id) const
{
    return place->isHidden() == (id == 0) && pictures.idOf(place->pixmap()) == id;
}

namespace {

// The coins of each reward count as the reward table lists them, Image1 to Image3, in cents; each coin's bitmap.
const char *const coinTable[21] = {"",      "1",     "2",     "2+1",   "2+2",      "5",        "5+1",
                                   "5+2",   "5+2+1", "5+2+2", "10",    "10+5",     "20",       "20+10",
                                   "20+20", "50",    "50+10", "50+20", "50+20+10", "50+20+20", "100"};
const QMap<QString, int> coinBitmap = {{"1", 101},  {"2", 102},  {"5", 103},  {"10", 104},
                                       {"20", 105}, {"50", 106}, {"100", 107}};
const QStringList feedbackClips = {"voxa_dig.wav", "voxa_esatto.wav", "voxa_ripeti.wav", "anthem1.wav"};

} // namespace

QString Harness::fault(bool anywhere) const
{
    const TrainerState &s = t.stato;
    const bool without = ui.Command3->text() == caption::ferma, with = ui.command4->text() == caption::ferma;
    const std::array buttons{ui.Command1, ui.Command3, ui.command4, ui.Command5};
    QPushButton *running = without ? ui.Command3 : with ? ui.command4 : nullptr;
    const auto checked =
        std::count_if(ui.Sel_Quizzolo.begin(), ui.Sel_Quizzolo.end(), [](auto *o) { return o->isChecked(); });
    const auto enabled = std::count_if(buttons.begin(), buttons.end(), [](auto *b) { return b->isEnabled(); });
    const bool whole = s.euroVinti >= 0 && s.euroVinti <= 20 && s.euroVinti == std::floor(s.euroVinti);
    const QStringList coins = QString(coinTable[whole ? int(s.euroVinti) : 0]).split('+', Qt::SkipEmptyParts);
    bool coinShown = false, coinsAsCounted = true;
    for (int i = 0; i < 3; ++i) {
        QLabel *place = std::array{ui.Image1, ui.Image2, ui.Image3}[std::size_t(i)];
        coinShown |= !place->isHidden();
        coinsAsCounted &= shows(place, i < coins.size() ? coinBitmap.value(coins[i]) : 0);
    }
    bool clipsAsIntended = true; // numbers are spoken to their end, feedback never waits
    for (; clipsChecked < clips.played.size(); ++clipsChecked)
        clipsAsIntended &= feedbackClips.contains(clips.played[clipsChecked].file) ==
                           (clips.played[clipsChecked].mode == PlayMode::Async);
    const bool countKept = qAbs(s.euroVinti - lastCount) <= 1 || (lastCount == 20 && s.euroVinti == 0);
    lastCount = s.euroVinti;
    // clang-format off
    const std::vector<std::pair<bool, const char *>> rules = {
        {whole, "count outside 0..20"},
        {countKept, "count moved by more than one answer"},
        {clipsAsIntended, "a number clip did not block, or a feedback clip did"},
        {checked == 1 && ui.Sel_Quizzolo[std::size_t(s.tabellaScelta)]->isChecked(), "table option and tabellaScelta differ"},
        {s.ritardoSecondi >= 1 && s.ritardoSecondi <= 10, "pause outside 1..10 s"},
        {!(ui.Timer1->isEnabled() && s.cacciaInCorso), "Timer1 runs during a hunt question"},
        {!(without && with), "both sequence buttons say stop"},
        {(without || ui.Command3->text() == caption::senzaRisultato) && (with || ui.command4->text() == caption::conRisultato), "a sequence button's caption is not its own"},
        {bool(running) == !ui.FrameRitardo->isHidden(), "pause slider shown without a sequence or hidden with one"},
        {!running || (running->isEnabled() && enabled == 1 && ui.Command2->isHidden() && !s.cacciaInCorso), "during a sequence another button than its own is live"},
        {!running || ui.FrameRitardo->title() == (without ? "Ritarda le operazioni" : "Ritarda il risultato"), "wrong pause title"},
        {anywhere || t.handlerDepth == 0, "a handler still runs"},
        {anywhere || !s.rispostaInValutazione, "an answer is still being scored"},
        {anywhere || !running, "a sequence button says stop with no sequence running"},
        {anywhere || ui.Text1->isReadOnly() != s.cacciaInCorso, "answer box open without a hunt question, or locked with one"},
        {anywhere || s.risultato == s.fattore1 * s.fattore2, "risultato is not the product"},
        {anywhere || s.fattore1 == 0 || ui.Label1->text() == QString::number(s.fattore1), "Label1 is not fattore1"},
        {anywhere || s.fattore2 == 0 || ui.Label2->text() == QString::number(s.fattore2), "Label2 is not fattore2"},
        {anywhere || !s.cacciaInCorso || (!ui.Command2->isHidden() && ui.Command2->text() == "Scrivi il risultato e premi il tasto INVIO" && enabled == 0), "hunt question without its prompt, or with a mode live"},
        {anywhere || s.cacciaInCorso || ui.Command2->isHidden() || (ui.Command2->text() == "Fammi vedere il risultato" && enabled == 0 && !ui.Timer1->isEnabled()), "waiting result with a mode live"},
        {anywhere || s.cacciaInCorso || !ui.Command2->isHidden() || enabled == 4, "idle with a mode that cannot start"},
        {anywhere || !coinShown || coinsAsCounted, "coins other than the reward table's for the count"},
    };
    // clang-format on
    for (const auto &[holds, what] : rules)
        if (!holds)
            return QString::fromLatin1(what);
    return {};
}

void type(QWidget *w, const QString &text)
{
    for (QChar c : text) {
        const int key = c == '\r' ? Qt::Key_Return : c == '\b' ? Qt::Key_Backspace : c == '\x7f' ? Qt::Key_Delete : 0;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

void pointer(QWidget *w, QEvent::Type type, Qt::MouseButton button)
{
    QMouseEvent event(type, QPointF(10, 10), w->mapToGlobal(QPointF(10, 10)), button, button, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

bool showsCursor(QWidget *w, int id)
{
    const QCursor expected = loadCursor(id), seen = w->cursor();
    return seen.shape() == Qt::BitmapCursor && seen.hotSpot() == expected.hotSpot() &&
           seen.bitmap().toImage() == expected.bitmap().toImage();
}

QPointingDevice *touchScreen()
{
    static QPointingDevice *device = QTest::createTouchDevice();
    return device;
}

void tap(QWidget *w, int holdMs)
{
    QTest::touchEvent(w->window(), touchScreen()).press(0, w->rect().center(), w);
    if (holdMs > 0)
        QTest::qWait(holdMs);
    QTest::touchEvent(w->window(), touchScreen()).release(0, w->rect().center(), w);
}

} // namespace quizzolo::test
