#include "recorder/window/RecorderWindow.h"

#include "common/sound/SdlClipPlayer.h"
#include "recorder/Microphone.h"
#include "recorder/window/FileActions.h"
#include "recorder/window/LevelMeter.h"

#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTreeWidget>
#include <cmath>
#include <utility>

namespace quizzolo::recorder {

namespace {

constexpr double pressGapSeconds = 0.6;     // a double click on Registra is one press
constexpr double silentDeviceSeconds = 1.5; // a microphone sends every few milliseconds
constexpr double trialSeconds = 20.0;
constexpr double holdSeconds = 0.4;      // held down longer than a click: the take lasts while held
constexpr double trialRoomSeconds = 2.0; // the room heard alone first
constexpr double quietRoomDb = -55.0;    // a room this quiet lets a take end by itself
constexpr double voiceOverRoomDb = 25.0; // and a voice this far above it
constexpr double heardOverRoomDb = 10.0; // less: no voice stood out of the room

QString quoted(const QString &words)
{
    return QStringLiteral("«%1»").arg(words);
}

} // namespace

RecorderWindow::RecorderWindow(ClipStore &store, RecorderOutside outside, QWidget *parent)
    : QWidget(parent), store_(store), outside_(outside), files_(store, outside.dialogs, outside.opener)
{
    setWindowTitle(QStringLiteral("Registra la tua voce - Quizzolo"));
    setLayout(buildLayout());
    showNotice();
    buildList();
    connect(list_, &QTreeWidget::currentItemChanged, this, &RecorderWindow::skipHeading);
    connect(list_, &QTreeWidget::currentItemChanged, this, &RecorderWindow::selectionChanged);
    connect(record_, &QPushButton::pressed, this, &RecorderWindow::pressRecord);
    connect(record_, &QPushButton::released, this, &RecorderWindow::releaseRecord);
    // Space held on the list or on Registra records while it is down.
    list_->installEventFilter(this);
    record_->installEventFilter(this);
    connect(trial_, &QPushButton::clicked, this, &RecorderWindow::toggleTrial);
    connect(listen_, &QPushButton::clicked, this, &RecorderWindow::listen);
    connect(sentence_, &QPushButton::clicked, this, &RecorderWindow::listenInSentence);
    connect(import_, &QPushButton::clicked, this, &RecorderWindow::importFile);
    connect(importMany_, &QPushButton::clicked, this, &RecorderWindow::importFiles);
    connect(restore_, &QPushButton::clicked, this, &RecorderWindow::restore);
    connect(guide_, &QPushButton::clicked, this, &RecorderWindow::openGuide);
    connect(openFolder_, &QPushButton::clicked, this, &RecorderWindow::openFolder);
    connect(export_, &QPushButton::clicked, this, &RecorderWindow::exportVoice);
    connect(importPack_, &QPushButton::clicked, this, &RecorderWindow::importVoice);
    // Esc stops a recording or a trial as the buttons do.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, [this] {
        if (recording())
            finishRecording();
        else if (trying())
            finishTrial();
    });
    capture_.setInterval(30);
    connect(&capture_, &QTimer::timeout, this, &RecorderWindow::poll);
    list_->setFocus();
    refresh();
    // A netbook's 1024x600 screen holds it whole, status line included.
    QSize size(920, 560);
    if (const QScreen *s = screen())
        size = size.boundedTo(s->availableGeometry().size() - QSize(16, 40));
    resize(size.expandedTo(minimumSizeHint()));
}

// The arrow keys pass over the group headings from clip to clip.
void RecorderWindow::skipHeading(QTreeWidgetItem *now, QTreeWidgetItem *before)
{
    if (!now || now->childCount() == 0)
        return;
    const bool up = before && list_->visualItemRect(before).top() > list_->visualItemRect(now).top();
    QTreeWidgetItem *above = up ? list_->itemAbove(now) : nullptr;
    QTreeWidgetItem *clip = above ? above : now->child(0);
    // After the view has finished its own move, or the selection stays on the heading.
    QTimer::singleShot(0, this, [this, clip] { list_->setCurrentItem(clip); });
}

const ClipEntry *RecorderWindow::selectedClip() const
{
    const QTreeWidgetItem *item = list_->currentItem();
    return item ? findClip(item->data(0, clipRoleData).toString()) : nullptr;
}

void RecorderWindow::selectClip(const QString &name)
{
    for (int g = 0; g < list_->topLevelItemCount(); ++g) {
        QTreeWidgetItem *group = list_->topLevelItem(g);
        for (int i = 0; i < group->childCount(); ++i) {
            if (group->child(i)->data(0, clipRoleData).toString() == name)
                list_->setCurrentItem(group->child(i));
        }
    }
}

void RecorderWindow::selectionChanged()
{
    const ClipEntry *clip = selectedClip();
    if (!statusClip_.isEmpty() && (!clip || clip->name != statusClip_))
        tell(QString());
    refresh();
}

void RecorderWindow::changeEvent(QEvent *event)
{
    // The folder may have changed meanwhile, in a file manager or on the command line.
    if (event->type() == QEvent::ActivationChange)
        refresh();
    QWidget::changeEvent(event);
}

// Sources in the list, the selected clip's words and which buttons make sense.
void RecorderWindow::refresh()
{
    for (int g = 0; g < list_->topLevelItemCount(); ++g) {
        QTreeWidgetItem *group = list_->topLevelItem(g);
        for (int i = 0; i < group->childCount(); ++i) {
            QTreeWidgetItem *item = group->child(i);
            const VoiceFolders::Source source = store_.source(item->data(0, clipRoleData).toString());
            item->setText(2, sourceText(source));
            QFont font = item->font(2);
            font.setBold(source != VoiceFolders::Source::Program); // own takes and gaps stand out
            item->setFont(2, font);
        }
    }
    const ClipEntry *clip = selectedClip();
    const bool busy = mode_ != Mode::Idle;
    const bool recordingNow = recording();
    const VoiceFolders::Source source = clip ? store_.source(clip->name) : VoiceFolders::Source::Missing;
    const QString say =
        clip && clip->role == ClipRole::Anthem ? QStringLiteral("Fai sentire: %1") : QStringLiteral("Di': %1");
    words_->setText(clip ? say.arg(quoted(clip->words)) : QString());
    source_->setText(clip ? QStringLiteral("Ora: %1").arg(sourceText(source)) : QString());
    record_->setText(recordingNow ? QStringLiteral("&Ferma") : QStringLiteral("&Registra"));
    record_->setAccessibleName(recordingNow ? QStringLiteral("Ferma la registrazione") : QStringLiteral("Registra"));
    // Stays pressable without a microphone: each press looks for one again.
    record_->setEnabled(clip && (recordingNow || !busy || trying()));
    trial_->setText(trying() ? QStringLiteral("Fer&ma la prova") : QStringLiteral("Prova il &microfono"));
    trial_->setEnabled(!recordingNow);
    listen_->setEnabled(clip && !busy && source != VoiceFolders::Source::Missing);
    sentence_->setEnabled(clip && !busy && !clip->sentence.isEmpty());
    for (QPushButton *b : {import_, importMany_, export_, importPack_})
        b->setEnabled(!busy);
    import_->setEnabled(clip && !busy);
    restore_->setEnabled(clip && !busy && source == VoiceFolders::Source::User);
    list_->setEnabled(!recordingNow);
}

void RecorderWindow::tell(const QString &message, const QString &aboutClip)
{
    status_->setText(message); // a label's text is its accessible name: screen readers hear the change
    statusClip_ = aboutClip;
}

bool RecorderWindow::startCapture()
{
    outside_.player.silence();
    const bool started = outside_.microphone.start();
    showNotice();
    if (!started)
        return false;
    take_.clear();
    lastSound_ = outside_.clock.nowSeconds();
    capture_.start();
    return true;
}

void RecorderWindow::stopCapture()
{
    capture_.stop();
    outside_.microphone.stop();
    meter_->clear();
    mode_ = Mode::Idle;
}

bool RecorderWindow::eventFilter(QObject *watched, QEvent *event)
{
    const bool press = event->type() == QEvent::KeyPress, release = event->type() == QEvent::KeyRelease;
    if ((press || release) && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Space &&
        (watched == list_ || watched == record_)) {
        if (!static_cast<QKeyEvent *>(event)->isAutoRepeat())
            press ? pressRecord() : releaseRecord();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void RecorderWindow::toggleRecording()
{
    pressRecord();
    releaseRecord();
}

void RecorderWindow::pressRecord()
{
    const double now = outside_.clock.nowSeconds();
    if (now - lastPress_ < pressGapSeconds)
        return;
    lastPress_ = now;
    if (recording()) {
        finishRecording();
        return;
    }
    if (trying())
        stopCapture();
    recordingClip_ = selectedClip();
    if (!recordingClip_)
        return;
    if (!startCapture()) {
        tell(outside_.microphone.problem(), recordingClip_->name);
        refresh();
        return;
    }
    mode_ = Mode::Recording;
    held_ = true;
    end_ = SpeechEnd(recordingClip_->role == ClipRole::Anthem);
    tell(QStringLiteral("Sto registrando: di' %1. Tieni premuto mentre parli e lascia alla fine.")
             .arg(quoted(recordingClip_->words)),
         recordingClip_->name);
    refresh();
    record_->setFocus();
}

void RecorderWindow::releaseRecord()
{
    if (!std::exchange(held_, false) || !recording())
        return;
    if (outside_.clock.nowSeconds() - lastPress_ >= holdSeconds) {
        finishRecording();
        return;
    }
    tell(QStringLiteral("Sto registrando: di' %1. Mi fermo da solo dopo un secondo di silenzio.")
             .arg(quoted(recordingClip_->words)),
         recordingClip_->name);
}

void RecorderWindow::toggleTrial()
{
    if (trying()) {
        finishTrial();
        return;
    }
    if (recording())
        return;
    if (!startCapture()) {
        tell(outside_.microphone.problem());
        refresh();
        return;
    }
    mode_ = Mode::Trying;
    trialStart_ = outside_.clock.nowSeconds();
    trialPeakDb_ = -100;
    trialRoom_ = LevelTrack();
    trialVoice_ = LevelTrack();
    tell(QStringLiteral("Prova: per due secondi non parlare, ascolto la stanza..."));
    refresh();
}

void RecorderWindow::poll()
{
    if (mode_ == Mode::Idle)
        return;
    const std::size_t before = take_.size();
    outside_.microphone.fetch(take_);
    const std::size_t fresh = take_.size() - before;
    const double now = outside_.clock.nowSeconds();
    if (fresh > 0) {
        lastSound_ = now;
        const double db = peakDbfs(take_.data() + before, fresh);
        meter_->showPeak(db);
        if (trying()) {
            const bool room = trialRoom_.size() * LevelTrack::windowSeconds < trialRoomSeconds;
            (room ? trialRoom_ : trialVoice_).feed(take_.data() + before, fresh);
            if (!room)
                trialPeakDb_ = std::max(trialPeakDb_, db);
            else if (trialRoom_.size() * LevelTrack::windowSeconds >= trialRoomSeconds)
                tell(QStringLiteral("Ora parla come per registrare e guarda la barra: la voce deve arrivare "
                                    "nella zona «bene». Non si salva nulla."));
        }
        if (recording())
            end_.feed(take_.data() + before, fresh);
    }
    if (!outside_.microphone.capturing() || now - lastSound_ > silentDeviceSeconds) {
        microphoneLost();
        return;
    }
    if (trying()) {
        take_.clear();
        if (now - trialStart_ > trialSeconds)
            finishTrial();
        return;
    }
    const double seconds = static_cast<double>(take_.size()) / clipRate();
    if (end_.over() && !held_) // held down, the speaker says when it is over
        finishRecording();
    else if (seconds > takeLimitSeconds(recordingClip_->role))
        finishRecording(end_.heardSpeech());
}

void RecorderWindow::microphoneLost()
{
    const bool wasRecording = recording();
    stopCapture();
    take_.clear();
    tell(wasRecording ? QStringLiteral("Il microfono non manda più suono (è stato scollegato?): registrazione "
                                       "interrotta, resta la voce di prima. Ricollegalo e premi Registra.")
                      : QStringLiteral("Il microfono non manda più suono (è stato scollegato?). Ricollegalo e "
                                       "premi Prova il microfono."),
         wasRecording ? recordingClip_->name : QString());
    refresh();
}

void RecorderWindow::finishTrial()
{
    stopCapture();
    if (trialVoice_.size() == 0) {
        tell(QStringLiteral("Prova finita prima di sentire la voce: premi di nuovo Prova il microfono, resta in "
                            "silenzio due secondi, poi parla."));
        refresh();
        return;
    }
    // The room's typical level against the voice's loudest, both in 10 ms windows.
    const double room = std::max(trialRoom_.percentileDb(0.5), -99.0);
    const double voice = std::max(trialVoice_.percentileDb(1.0), -99.0);
    const LevelZone zone = levelZone(trialPeakDb_);
    QString advice = QStringLiteral("va bene così.");
    if (trialPeakDb_ < -55)
        advice = QStringLiteral("il microfono non sente quasi nulla: controlla che sia acceso e non silenziato.");
    else if (voice - room < heardOverRoomDb)
        advice = QStringLiteral("nessuna voce si è sentita sopra la stanza: parla vicino al microfono dopo i due "
                                "secondi di silenzio.");
    else if (zone == LevelZone::TooQuiet)
        advice = QStringLiteral("avvicinati al microfono o alza il suo volume nelle impostazioni audio.");
    else if (zone == LevelZone::TooLoud)
        advice = QStringLiteral("allontanati un po' o abbassa il volume del microfono.");
    else if (room > quietRoomDb || voice - room < voiceOverRoomDb)
        advice = QStringLiteral("la stanza è rumorosa, la registrazione non si fermerà da sola: tieni premuto Spazio "
                                "(o Registra) mentre parli e lascialo alla fine delle parole.");
    tell(QStringLiteral("Prova finita: la stanza è a %1 dB; la voce è arrivata a %2 dB, zona «%3», %4 dB sopra la "
                        "stanza: %5")
             .arg(std::round(room))
             .arg(std::round(std::max(trialPeakDb_, -99.0)))
             .arg(zoneName(zone))
             .arg(std::round(voice - room))
             .arg(advice));
    refresh();
}

void RecorderWindow::finishRecording(bool cutOffWhileSpeaking)
{
    outside_.microphone.fetch(take_);
    stopCapture();
    Audio audio;
    audio.samples = std::move(take_);
    audio.rate = clipRate();
    audio.channels = 1;
    take_.clear();
    const ProcessedTake take = processTake(
        audio, recordingClip_->role, cutOffWhileSpeaking ? TakeSource::RecordedUntilTimeLimit : TakeSource::Recorded);
    const QString error = store_.save(recordingClip_->name, take);
    const ClipEntry *done = recordingClip_;
    if (!error.isEmpty()) {
        tell(QStringLiteral("Registrazione non usata. %1 Resta la voce di prima.").arg(error), done->name);
        refresh();
        record_->setFocus(); // Enter, or Space held, tries again at once
        return;
    }
    const QString saved = QStringLiteral("Registrata %1 (%2 secondi).%3")
                              .arg(quoted(done->words), secondsText(take.seconds), take.warningText());
    const auto &all = clipCatalogue();
    const auto next = static_cast<std::size_t>(done - all.data()) + 1;
    if (take.soundApart) { // worth hearing before going on
        tell(saved + QStringLiteral(" Premi Ascolta per sentirla."), done->name);
        refresh();
        listen_->setFocus();
        return;
    }
    if (followOn_->isChecked() && next < all.size()) {
        selectClip(all[next].name);
        tell(saved + QStringLiteral(" Ora tocca a %1: premi Registra.").arg(quoted(all[next].words)), all[next].name);
    } else {
        tell(saved + QStringLiteral(" Premi Ascolta per sentirla."), done->name);
    }
    refresh();
    if (followOn_->isChecked())
        record_->setFocus(); // the next take is one key away
    else
        list_->setFocus();
}

void RecorderWindow::listen()
{
    if (const ClipEntry *clip = selectedClip())
        outside_.player.play(store_.playablePath(clip->name), PlayMode::Async);
}

void RecorderWindow::listenInSentence()
{
    const ClipEntry *clip = selectedClip();
    if (!clip)
        return;
    QStringList paths;
    for (const QString &name : clip->sentence)
        paths << store_.playablePath(name);
    outside_.player.playJoined(paths);
}

void RecorderWindow::importFile()
{
    if (const ClipEntry *clip = selectedClip(); clip && files_.importOne(*clip))
        tell(files_.message(), clip->name);
    refresh();
}

void RecorderWindow::importFiles()
{
    if (files_.importMany())
        tell(files_.message());
    refresh();
}

void RecorderWindow::restore()
{
    const ClipEntry *clip = selectedClip();
    // One key would otherwise throw a recording away.
    if (!clip ||
        !outside_.dialogs.confirm(QStringLiteral("Ripristina"),
                                  QStringLiteral("Togliere la tua registrazione di %1?").arg(quoted(clip->words))))
        return;
    const QString error = store_.restore(clip->name);
    // Whichever voice comes next in the lookup: the school's or the program's.
    const VoiceFolders::Source now = store_.source(clip->name);
    tell(!error.isEmpty() ? error
         : now == VoiceFolders::Source::Missing
             ? QStringLiteral("Tolta la tua voce per %1; quella di Quizzolo manca.").arg(quoted(clip->words))
             : QStringLiteral("Per %1 ora si sente la %2.").arg(quoted(clip->words), sourceText(now)),
         clip->name);
    refresh();
}

void RecorderWindow::exportVoice()
{
    if (files_.exportVoice())
        tell(files_.message());
}

void RecorderWindow::importVoice()
{
    if (files_.importVoice())
        tell(files_.message());
    refresh();
}

void RecorderWindow::openGuide()
{
    files_.openGuide();
    tell(files_.message());
}

void RecorderWindow::openFolder()
{
    files_.openFolder();
    tell(files_.message());
}

} // namespace quizzolo::recorder
