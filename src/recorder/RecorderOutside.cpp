#include "recorder/RecorderOutside.h"

#include "recorder/OutsideText.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QProgressDialog>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace quizzolo::recorder {

QtRecorderDialogs::QtRecorderDialogs() = default;
QtRecorderDialogs::~QtRecorderDialogs() = default;

QString QtRecorderDialogs::openFile(const QString &title, const QString &folder, const QString &filter)
{
    return QFileDialog::getOpenFileName(window_, title, folder, filter);
}

QStringList QtRecorderDialogs::openFiles(const QString &title, const QString &folder, const QString &filter)
{
    return QFileDialog::getOpenFileNames(window_, title, folder, filter);
}

QString QtRecorderDialogs::saveFile(const QString &title, const QString &suggested, const QString &filter)
{
    return QFileDialog::getSaveFileName(window_, title, suggested, filter);
}

bool QtRecorderDialogs::confirm(const QString &title, const QString &question)
{
    // The question names outside files: shown as it is, never as markup.
    QMessageBox box(QMessageBox::Question, title, question, QMessageBox::Yes | QMessageBox::No, window_);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void QtRecorderDialogs::showDocument(const QString &title, const QString &markdown)
{
    auto *window = new QDialog(window_);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(title);
    auto *text = new QTextBrowser(window);
    text->setMarkdown(markdown);
    text->setOpenExternalLinks(true);
    (new QVBoxLayout(window))->addWidget(text);
    window->resize(QSize(760, 540).boundedTo(window_ ? window_->size() : QSize(760, 540)));
    window->show(); // not modal: the teacher reads while recording
}

bool QtRecorderDialogs::progress(const QString &title, int done, int total)
{
    if (done >= total) {
        progress_.reset();
        return true;
    }
    if (!progress_) {
        progress_ = std::make_unique<QProgressDialog>(QString(), QStringLiteral("Interrompi"), 0, total, window_);
        progress_->setLabel(plainLabel(new QLabel(title))); // names the pack: never markup
        progress_->setWindowModality(Qt::WindowModal);
        progress_->setMinimumDuration(300);
    }
    progress_->setMaximum(total);
    progress_->setValue(done);
    // Painted and its Interrompi button heard between two files.
    QCoreApplication::processEvents();
    return !progress_->wasCanceled();
}

bool DesktopOpener::open(const QUrl &file)
{
    return QDesktopServices::openUrl(file);
}

QString guideFile(const QString &programFolder)
{
    // Beside the program in the build tree; in the documentation folder once installed.
    const QStringList candidates = {
        programFolder + QStringLiteral("/guida-voce.md"),
        programFolder + QStringLiteral("/" QUIZZOLO_GUIDE_FROM_PROGRAM "/guida-voce.md"),
    };
    for (const QString &path : candidates) {
        if (QFileInfo(path).isFile())
            return QDir::cleanPath(path);
    }
    return {};
}

} // namespace quizzolo::recorder
