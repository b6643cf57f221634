#pragma once

#include "recorder/RecorderOutside.h"
#include "recorder/files/ClipStore.h"
#include "recorder/takes/LevelTrack.h"
#include "recorder/takes/SpeechEnd.h"
#include "recorder/window/FileActions.h"

#include <QTimer>
#include <QWidget>
#include <vector>

class QCheckBox;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace quizzolo::recorder {

class LevelMeter;

// The teacher's recorder: every clip of the trainer, where it comes from now, and
// the buttons to record, hear, import or give back the program's clip.
class RecorderWindow : public QWidget {
    Q_OBJECT
  public:
    RecorderWindow(ClipStore &store, RecorderOutside outside, QWidget *parent = nullptr);

    // The clip selected, or nullptr on a group row.
    const ClipEntry *selectedClip() const;
    void selectClip(const QString &name);
    bool recording() const { return mode_ == Mode::Recording; }
    bool trying() const { return mode_ == Mode::Trying; }

  public slots:
    void toggleRecording(); // a press let go at once
    // Registra (or Space) pressed and let go: held down, the take lasts while it is held;
    // let go at once, the take ends by itself after the words.
    void pressRecord();
    void releaseRecord();
    void toggleTrial(); // «Prova il microfono»: the meter moves, nothing is kept
    void poll();        // what the microphone sent since the last call
    void listen();
    void listenInSentence();
    void importFile();
    void importFiles();
    void restore();
    void exportVoice();
    void importVoice();
    void openGuide();
    void openFolder();

  protected:
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    enum class Mode { Idle, Recording, Trying };
    static constexpr int clipRoleData = Qt::UserRole; // a list row's clip name
    QLayout *buildLayout();
    void buildList();
    void skipHeading(QTreeWidgetItem *now, QTreeWidgetItem *before);
    void selectionChanged();
    void refresh();
    void showNotice();
    bool startCapture();
    void stopCapture();
    void finishRecording(bool cutOffWhileSpeaking = false);
    void finishTrial();
    void microphoneLost();
    // The status line; a message about one clip goes when another is selected.
    void tell(const QString &message, const QString &aboutClip = QString());

    ClipStore &store_;
    RecorderOutside outside_;
    FileActions files_;
    QTreeWidget *list_ = nullptr;
    QLabel *words_ = nullptr;
    QLabel *source_ = nullptr;
    QLabel *notice_ = nullptr;
    QLabel *status_ = nullptr;
    QLabel *folder_ = nullptr;
    LevelMeter *meter_ = nullptr;
    QPushButton *record_ = nullptr;
    QPushButton *trial_ = nullptr;
    QCheckBox *followOn_ = nullptr;
    QPushButton *listen_ = nullptr;
    QPushButton *sentence_ = nullptr;
    QPushButton *import_ = nullptr;
    QPushButton *importMany_ = nullptr;
    QPushButton *restore_ = nullptr;
    QPushButton *guide_ = nullptr;
    QPushButton *openFolder_ = nullptr;
    QPushButton *export_ = nullptr;
    QPushButton *importPack_ = nullptr;
    QTimer capture_;
    Mode mode_ = Mode::Idle;
    std::vector<float> take_;
    SpeechEnd end_;
    bool held_ = false; // Registra or Space is down
    LevelTrack trialRoom_, trialVoice_;
    const ClipEntry *recordingClip_ = nullptr;
    double lastPress_ = -1e9;
    double lastSound_ = 0;
    double trialStart_ = 0;
    double trialPeakDb_ = -100;
    QString statusClip_;
};

} // namespace quizzolo::recorder
