#include "recorder/window/RecorderWindow.h"

#include "common/sound/SdlClipPlayer.h"
#include "recorder/Microphone.h"
#include "recorder/OutsideText.h"
#include "recorder/window/LevelMeter.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

// The window's face: its widgets, where they sit, the list of clips and the notice.
namespace quizzolo::recorder {

namespace {

QPushButton *button(const QString &text, const QString &description, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setAccessibleName(QString(text).remove(QLatin1Char('&')));
    b->setAccessibleDescription(description);
    b->setAutoDefault(true); // Return presses the focused button too
    return b;
}

} // namespace

QLayout *RecorderWindow::buildLayout()
{
    auto *intro = plainLabel(new QLabel(QStringLiteral("Scegli una voce dall'elenco, premi Registra e di' le parole "
                                                       "indicate: Quizzolo userà la tua voce al posto della sua."),
                                        this));
    intro->setWordWrap(true);
    notice_ = plainLabel(new QLabel(this));
    notice_->setWordWrap(true);
    notice_->setStyleSheet(QStringLiteral("QLabel { color: #8a1c00; font-weight: bold; }"));

    list_ = new QTreeWidget(this);
    list_->setColumnCount(3);
    list_->setHeaderLabels({QStringLiteral("Parole da dire"), QStringLiteral("File"), QStringLiteral("Da dove viene")});
    list_->setAccessibleName(QStringLiteral("Voci di Quizzolo"));
    list_->setAccessibleDescription(QStringLiteral("Frecce su e giù per scegliere la voce da registrare"));
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    words_ = plainLabel(new QLabel(this));
    QFont big = words_->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    words_->setFont(big);
    words_->setWordWrap(true);
    source_ = plainLabel(new QLabel(this));
    meter_ = new LevelMeter(this);
    record_ =
        button(QStringLiteral("&Registra"),
               QStringLiteral("Registra la voce scelta finché lo tieni premuto (anche con Spazio); premuto e lasciato "
                              "subito, si ferma da sola dopo un secondo di silenzio, o con Esc"),
               this);
    trial_ = button(QStringLiteral("Prova il &microfono"),
                    QStringLiteral("Fa muovere la barra del livello senza registrare nulla"), this);
    followOn_ = new QCheckBox(QStringLiteral("Registra &di seguito"), this);
    followOn_->setToolTip(QStringLiteral("Dopo una registrazione riuscita passa da sola alla voce successiva"));
    followOn_->setAccessibleDescription(followOn_->toolTip());
    listen_ = button(QStringLiteral("&Ascolta"), QStringLiteral("Fa sentire la voce scelta"), this);
    sentence_ = button(QStringLiteral("Ascolta nella &frase"),
                       QStringLiteral("Fa sentire la voce scelta unita alle altre, come nel gioco"), this);
    import_ = button(QStringLiteral("&Importa da file..."),
                     QStringLiteral("Prende la voce scelta da un file WAV, FLAC, Ogg o MP3"), this);
    importMany_ = button(QStringLiteral("Impor&ta più file..."),
                         QStringLiteral("Prende più voci insieme da file con il loro nome, come va5.wav o "
                                        "«sette per».mp3"),
                         this);
    restore_ = button(QStringLiteral("Ri&pristina"), QStringLiteral("Torna alla voce di Quizzolo"), this);
    guide_ = button(QStringLiteral("&Guida"), QStringLiteral("Apre la guida per gli insegnanti"), this);
    openFolder_ =
        button(QStringLiteral("Apri la &cartella"), QStringLiteral("Apre la cartella dove si salva la tua voce"), this);
    export_ = button(QStringLiteral("&Esporta la voce..."),
                     QStringLiteral("Salva tutte le tue registrazioni in un file da portare su altri computer"), this);
    importPack_ =
        button(QStringLiteral("Importa una &voce..."),
               QStringLiteral("Prende tutte le registrazioni da un file esportato su un altro computer"), this);
    folder_ = plainLabel(new QLabel(this));
    folder_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    folder_->setWordWrap(true);
    folder_->setText(QStringLiteral("Cartella della tua voce: %1").arg(readablePath(store_.folders().userFolder())));
    folder_->setToolTip(QStringLiteral("È una cartella nascosta: si apre con «Apri la cartella»"));
    status_ = plainLabel(new QLabel(this));
    status_->setWordWrap(true);
    status_->setMinimumHeight(status_->fontMetrics().lineSpacing() * 3);
    status_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    status_->setObjectName(QStringLiteral("status"));

    auto *side = new QVBoxLayout;
    side->addWidget(words_);
    side->addWidget(source_);
    auto *meterLabel = plainLabel(new QLabel(QStringLiteral("Livello del microfono:"), this));
    meterLabel->setBuddy(trial_);
    side->addWidget(meterLabel);
    side->addWidget(meter_);
    auto *buttons = new QGridLayout;
    buttons->addWidget(record_, 0, 0);
    buttons->addWidget(trial_, 0, 1);
    buttons->addWidget(listen_, 1, 0);
    buttons->addWidget(sentence_, 1, 1);
    buttons->addWidget(import_, 2, 0);
    buttons->addWidget(importMany_, 2, 1);
    buttons->addWidget(restore_, 3, 0);
    buttons->addWidget(followOn_, 3, 1);
    side->addLayout(buttons);
    side->addStretch();
    auto *lab = new QHBoxLayout;
    lab->addWidget(folder_, 1);
    for (QPushButton *b : {openFolder_, export_, importPack_, guide_})
        lab->addWidget(b);
    auto *grid = new QGridLayout;
    grid->addWidget(intro, 0, 0, 1, 2);
    grid->addWidget(notice_, 1, 0, 1, 2);
    grid->addWidget(list_, 2, 0);
    grid->addLayout(side, 2, 1);
    grid->addWidget(status_, 3, 0, 1, 2);
    grid->addLayout(lab, 4, 0, 1, 2);
    grid->setRowStretch(2, 1);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
    return grid;
}

void RecorderWindow::showNotice()
{
    QStringList problems;
    if (!outside_.microphone.available())
        problems << outside_.microphone.problem();
    const QString driver = outside_.player.driverName();
    if (driver.isEmpty() || driver == QLatin1String("dummy"))
        problems << QStringLiteral("Nessuna uscita audio: non si può ascoltare.");
    notice_->setText(problems.join(QLatin1Char(' ')));
    notice_->setVisible(!problems.isEmpty());
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

} // namespace quizzolo::recorder
