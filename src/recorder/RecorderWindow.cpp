#include "recorder/RecorderWindow.h"

#include "common/SdlClipPlayer.h"

#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QStandardPaths>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace quizzolo::recorder {

namespace {

constexpr int clipRoleData = Qt::UserRole;

QPushButton *button(const QString &text, const QString &description, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setAccessibleName(QString(text).remove(QLatin1Char('&')));
    b->setAccessibleDescription(description);
    b->setAutoDefault(true); // Return presses the focused button too
    return b;
}

QString quoted(const QString &words)
{
    return QStringLiteral("«%1»").arg(words);
}

} // namespace

RecorderWindow::RecorderWindow(ClipStore &store, SentencePlayer &player, MicrophoneInput &microphone, QWidget *parent)
    : QWidget(parent), store_(store), player_(player), microphone_(microphone)
{
    setWindowTitle(QStringLiteral("Registra la tua voce - Quizzolo"));
    auto *intro = new QLabel(QStringLiteral("Scegli una voce dall'elenco, premi Registra e di' le parole indicate. "
                                            "La tua voce si salva in %1 e Quizzolo la usa al posto della sua.")
                                 .arg(QDir::toNativeSeparators(store_.folders().userFolder())),
                             this);
    intro->setWordWrap(true);
    notice_ = new QLabel(this);
    notice_->setWordWrap(true);
    notice_->setStyleSheet(QStringLiteral("QLabel { color: #8a1c00; font-weight: bold; }"));

    list_ = new QTreeWidget(this);
    list_->setColumnCount(3);
    list_->setHeaderLabels({QStringLiteral("Parole da dire"), QStringLiteral("File"), QStringLiteral("Da dove viene")});
    list_->setAccessibleName(QStringLiteral("Voci di Quizzolo"));
    list_->setAccessibleDescription(QStringLiteral("Frecce su e giù per scegliere la voce da registrare"));
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    words_ = new QLabel(this);
    QFont big = words_->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    words_->setFont(big);
    words_->setWordWrap(true);
    source_ = new QLabel(this);
    meter_ = new QProgressBar(this);
    meter_->setRange(0, 100);
    meter_->setTextVisible(false);
    meter_->setAccessibleName(QStringLiteral("Livello del microfono"));
    record_ = button(QStringLiteral("&Registra"),
                     QStringLiteral("Registra la voce scelta; si ferma da sola dopo un "
                                    "secondo di silenzio, o con Esc"),
                     this);
    listen_ = button(QStringLiteral("&Ascolta"), QStringLiteral("Fa sentire la voce scelta"), this);
    sentence_ = button(QStringLiteral("Ascolta nella &frase"),
                       QStringLiteral("Fa sentire la voce scelta unita alle altre, come nel gioco"), this);
    import_ = button(QStringLiteral("&Importa da file..."),
                     QStringLiteral("Prende la voce da un file WAV, FLAC, Ogg o MP3"), this);
    restore_ = button(QStringLiteral("Ri&pristina"), QStringLiteral("Torna alla voce di Quizzolo"), this);
    status_ = new QLabel(this);
    status_->setWordWrap(true);
    status_->setMinimumHeight(status_->fontMetrics().lineSpacing() * 3);
    status_->setAlignment(Qt::AlignTop | Qt::AlignLeft);

    auto *side = new QVBoxLayout;
    side->addWidget(words_);
    side->addWidget(source_);
    auto *meterLabel = new QLabel(QStringLiteral("Livello del microfono:"), this);
    meterLabel->setBuddy(meter_);
    side->addWidget(meterLabel);
    side->addWidget(meter_);
    for (QPushButton *b : {record_, listen_, sentence_, import_, restore_})
        side->addWidget(b);
    side->addStretch();
    auto *grid = new QGridLayout(this);
    grid->addWidget(intro, 0, 0, 1, 2);
    grid->addWidget(notice_, 1, 0, 1, 2);
    grid->addWidget(list_, 2, 0);
    grid->addLayout(side, 2, 1);
    grid->addWidget(status_, 3, 0, 1, 2);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);

    QStringList problems;
    if (!microphone_.available())
        problems << microphone_.problem();
    const QString driver = player_.driverName();
    if (driver.isEmpty() || driver == QLatin1String("dummy"))
        problems << QStringLiteral("Nessuna uscita audio: non si può ascoltare.");
    notice_->setText(problems.join(QLatin1Char(' ')));
    notice_->setVisible(!problems.isEmpty());

    buildList();
    connect(list_, &QTreeWidget::currentItemChanged, this, &RecorderWindow::skipHeading);
    connect(list_, &QTreeWidget::currentItemChanged, this, &RecorderWindow::refresh);
    connect(record_, &QPushButton::clicked, this, &RecorderWindow::toggleRecording);
    connect(listen_, &QPushButton::clicked, this, &RecorderWindow::listen);
    connect(sentence_, &QPushButton::clicked, this, &RecorderWindow::listenInSentence);
    connect(import_, &QPushButton::clicked, this, &RecorderWindow::importFile);
    connect(restore_, &QPushButton::clicked, this, &RecorderWindow::restore);
    // Esc stops a recording as the button does.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, [this] {
        if (recording())
            finishRecording();
    });
    capture_.setInterval(30);
    connect(&capture_, &QTimer::timeout, this, &RecorderWindow::poll);
    list_->setFocus();
    refresh();
    resize(900, 640);
}

void RecorderWindow::buildList()
{
    list_->setItemsExpandable(false); // a closed group would hide the clip the arrows select
    QTreeWidgetItem *group = nullptr;
    for (const ClipEntry &c : clipCatalogue()) {
        if (!group || group->text(0) != c.group) {
            group = new QTreeWidgetItem(list_, {c.group});
            group->setFlags(Qt::ItemIsEnabled);
            QFont heading = group->font(0);
            heading.setBold(true);
            group->setFont(0, heading);
            group->setExpanded(true);
        }
        auto *item = new QTreeWidgetItem(group, {c.words, fileNameOf(c.name), QString()});
        item->setData(0, clipRoleData, c.name);
    }
    list_->setCurrentItem(list_->topLevelItem(0)->child(0));
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
    const bool busy = recording();
    const VoiceFolders::Source source = clip ? store_.source(clip->name) : VoiceFolders::Source::Missing;
    const QString say =
        clip && clip->role == ClipRole::Anthem ? QStringLiteral("Fai sentire: %1") : QStringLiteral("Di': %1");
    words_->setText(clip ? say.arg(quoted(clip->words)) : QString());
    source_->setText(clip ? QStringLiteral("Ora: %1").arg(sourceText(source)) : QString());
    record_->setText(busy ? QStringLiteral("&Ferma") : QStringLiteral("&Registra"));
    record_->setAccessibleName(busy ? QStringLiteral("Ferma la registrazione") : QStringLiteral("Registra"));
    record_->setEnabled(clip && (busy || microphone_.available()));
    listen_->setEnabled(clip && !busy && source != VoiceFolders::Source::Missing);
    sentence_->setEnabled(clip && !busy && !clip->sentence.isEmpty());
    import_->setEnabled(clip && !busy);
    restore_->setEnabled(clip && !busy && source == VoiceFolders::Source::User);
    list_->setEnabled(!busy);
}

void RecorderWindow::tell(const QString &message)
{
    status_->setText(message); // a label's text is its accessible name: screen readers hear the change
}

void RecorderWindow::toggleRecording()
{
    if (recording()) {
        finishRecording();
        return;
    }
    recordingClip_ = selectedClip();
    if (!recordingClip_ || !microphone_.available())
        return;
    player_.silence();
    take_.clear();
    end_ = SpeechEnd();
    microphone_.start();
    capture_.start();
    tell(QStringLiteral("Sto registrando: di' %1. Mi fermo da solo dopo un secondo di silenzio.")
             .arg(quoted(recordingClip_->words)));
    refresh();
    record_->setFocus();
}

void RecorderWindow::poll()
{
    const std::size_t before = take_.size();
    microphone_.fetch(take_);
    const std::size_t fresh = take_.size() - before;
    if (fresh > 0) {
        meter_->setValue(meterPercent(take_.data() + before, fresh));
        end_.feed(take_.data() + before, fresh);
    }
    const double seconds = static_cast<double>(take_.size()) / clipRate();
    if (end_.over())
        finishRecording();
    else if (seconds > limitsOf(recordingClip_->role).maxSeconds + 2.0)
        finishRecording(end_.heardSpeech());
}

void RecorderWindow::finishRecording(bool cutOffWhileSpeaking)
{
    capture_.stop();
    microphone_.fetch(take_);
    microphone_.stop();
    meter_->setValue(0);
    Audio audio;
    audio.samples = std::move(take_);
    audio.rate = clipRate();
    audio.channels = 1;
    take_.clear();
    ProcessedTake take = processTake(audio, recordingClip_->role);
    if (cutOffWhileSpeaking) // the end of the words would be missing
        take.refusal = QStringLiteral("Il tempo per questa voce è finito prima della fine delle parole: "
                                      "premi Registra e comincia subito a parlare.");
    const QString error = store_.save(recordingClip_->name, take);
    if (!error.isEmpty()) {
        tell(QStringLiteral("Registrazione non usata. %1 Resta la voce di prima.").arg(error));
    } else {
        tell(QStringLiteral("Registrata %1 (%2 secondi). Premi Ascolta per sentirla.%3")
                 .arg(quoted(recordingClip_->words), secondsText(take.seconds), take.warningText()));
    }
    refresh();
    list_->setFocus();
}

void RecorderWindow::listen()
{
    if (const ClipEntry *clip = selectedClip())
        player_.play(store_.playablePath(clip->name), PlayMode::Async);
}

void RecorderWindow::listenInSentence()
{
    const ClipEntry *clip = selectedClip();
    if (!clip)
        return;
    QStringList paths;
    for (const QString &name : clip->sentence)
        paths << store_.playablePath(name);
    player_.playJoined(paths);
}

void RecorderWindow::importFile()
{
    const ClipEntry *clip = selectedClip();
    if (!clip)
        return;
    const QString file = QFileDialog::getOpenFileName(
        this, QStringLiteral("Scegli il file con %1").arg(quoted(clip->words)),
        QStandardPaths::writableLocation(QStandardPaths::HomeLocation),
        QStringLiteral("File audio (*.wav *.flac *.ogg *.oga *.opus *.mp3);;Tutti i file (*)"));
    if (file.isEmpty())
        return;
    const ProcessedTake take = store_.import(*clip, file);
    if (take.ok()) {
        tell(QStringLiteral("Importata %1 da %2.%3")
                 .arg(quoted(clip->words), QFileInfo(file).fileName(), take.warningText()));
    } else {
        tell(QStringLiteral("File non usato. %1 Resta la voce di prima.").arg(take.refusal));
    }
    refresh();
}

void RecorderWindow::restore()
{
    const ClipEntry *clip = selectedClip();
    const auto answer =
        clip ? QMessageBox::question(this, QStringLiteral("Ripristina"),
                                     QStringLiteral("Togliere la tua registrazione di %1?").arg(quoted(clip->words)),
                                     QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
             : QMessageBox::No;
    if (answer != QMessageBox::Yes) // one key would otherwise throw a recording away
        return;
    const QString error = store_.restore(clip->name);
    const bool ours = store_.source(clip->name) == VoiceFolders::Source::Program;
    tell(!error.isEmpty() ? error
         : ours           ? QStringLiteral("Per %1 torna la voce di Quizzolo.").arg(quoted(clip->words))
                : QStringLiteral("Tolta la tua voce per %1; quella di Quizzolo manca.").arg(quoted(clip->words)));
    refresh();
}

} // namespace quizzolo::recorder
