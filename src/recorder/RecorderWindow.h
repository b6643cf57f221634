#pragma once

#include "recorder/ClipStore.h"
#include "recorder/Microphone.h"
#include "recorder/SpeechEnd.h"

#include <QTimer>
#include <QWidget>
#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace quizzolo {
class SentencePlayer;
}

namespace quizzolo::recorder {

// The teacher's recorder: every clip of the trainer, where it comes from now, and
// the buttons to record, hear, import or give back the program's clip.
class RecorderWindow : public QWidget {
    Q_OBJECT
  public:
    RecorderWindow(ClipStore &store, SentencePlayer &player, MicrophoneInput &microphone, QWidget *parent = nullptr);

    // The clip selected, or nullptr on a group row.
    const ClipEntry *selectedClip() const;
    bool recording() const { return capture_.isActive(); }

  public slots:
    void toggleRecording();
    void listen();
    void listenInSentence();
    void importFile();
    void restore();

  private:
    void buildList();
    void skipHeading(QTreeWidgetItem *now, QTreeWidgetItem *before);
    void refresh();
    void finishRecording(bool cutOffWhileSpeaking = false);
    void poll();
    void tell(const QString &message);

    ClipStore &store_;
    SentencePlayer &player_;
    MicrophoneInput &microphone_;
    QTreeWidget *list_ = nullptr;
    QLabel *words_ = nullptr;
    QLabel *source_ = nullptr;
    QLabel *notice_ = nullptr;
    QLabel *status_ = nullptr;
    QProgressBar *meter_ = nullptr;
    QPushButton *record_ = nullptr;
    QPushButton *listen_ = nullptr;
    QPushButton *sentence_ = nullptr;
    QPushButton *import_ = nullptr;
    QPushButton *restore_ = nullptr;
    QTimer capture_;
    std::vector<float> take_;
    SpeechEnd end_;
    const ClipEntry *recordingClip_ = nullptr;
};

} // namespace quizzolo::recorder
