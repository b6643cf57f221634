#pragma once

#include <QString>
#include <vector>

namespace quizzolo::recorder {

// What the recorder's window needs of a microphone.
class MicrophoneInput {
  public:
    virtual ~MicrophoneInput() = default;
    // Whether there was one at the last look (at start, then at each start()).
    virtual bool available() const = 0;
    // Why there is none, for the user; empty when available.
    virtual QString problem() const = 0;
    // Looks for the microphone again and opens it: one plugged in later is found. False
    // when there is none now. Nothing captured before counts.
    virtual bool start() = 0;
    virtual void stop() = 0; // fetch what is left first
    // Started and still delivering: false once the device went away (unplugged).
    virtual bool capturing() const = 0;
    // Appends what was captured since the last call, full scale at +-1.
    virtual void fetch(std::vector<float> &to) = 0;
};

// The default microphone through SDL audio capture, at the clips' rate in mono.
class Microphone : public MicrophoneInput {
  public:
    // Captures through the SDL audio driver the player settled on (its driverName()),
    // so the player must exist first; "" or "dummy" means there is no microphone.
    explicit Microphone(const QString &audioDriver);
    ~Microphone() override;
    Microphone(const Microphone &) = delete;
    Microphone &operator=(const Microphone &) = delete;

    bool available() const override { return present_; }
    QString problem() const override { return problem_; }
    bool start() override; // opens the device afresh
    void stop() override;  // closes it
    bool capturing() const override;
    void fetch(std::vector<float> &to) override;

  private:
    bool open();
    bool present_ = false;
    bool canLookAgain_ = false;
    unsigned device_ = 0;
    bool audioStarted_ = false;
    QString problem_;
};

} // namespace quizzolo::recorder
