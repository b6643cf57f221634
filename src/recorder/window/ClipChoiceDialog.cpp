// The dialog that pairs files with clips, for files named as phones name them.
#include "recorder/OutsideText.h"
#include "recorder/RecorderOutside.h"

#include "common/ClipCatalogue.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace quizzolo::recorder {

std::optional<std::vector<ClipChoice>> QtRecorderDialogs::chooseClips(const QString &title, const QString &intro,
                                                                      const std::vector<ClipChoice> &choices)
{
    QDialog dialog(window_);
    dialog.setWindowTitle(title);
    auto *layout = new QVBoxLayout(&dialog);
    auto *text = plainLabel(new QLabel(intro, &dialog));
    text->setWordWrap(true);
    layout->addWidget(text);
    auto *table = new QTableWidget(static_cast<int>(choices.size()), 2, &dialog);
    table->setHorizontalHeaderLabels({QStringLiteral("File"), QStringLiteral("Prende il posto di")});
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    table->verticalHeader()->hide();
    std::vector<QComboBox *> boxes;
    for (int row = 0; row < table->rowCount(); ++row) {
        const ClipChoice &c = choices[static_cast<std::size_t>(row)];
        auto *file = new QTableWidgetItem(c.file); // an item's text is never markup
        file->setFlags(Qt::ItemIsEnabled);
        table->setItem(row, 0, file);
        auto *box = new QComboBox(table);
        box->addItem(QStringLiteral("— lascia fuori —"), QString());
        for (const ClipEntry &e : clipCatalogue())
            box->addItem(QStringLiteral("%1 «%2»").arg(e.name, e.words), e.name);
        box->setCurrentIndex(std::max(0, box->findData(c.clip)));
        table->setCellWidget(row, 1, box);
        boxes.push_back(box);
    }
    layout->addWidget(table);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Importa"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annulla"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    dialog.resize(640, 420);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    std::vector<ClipChoice> chosen = choices;
    for (std::size_t i = 0; i < chosen.size(); ++i)
        chosen[i].clip = boxes[i]->currentData().toString();
    return chosen;
}

} // namespace quizzolo::recorder
