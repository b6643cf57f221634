#pragma once

#include <QString>
#include <cstddef>
#include <vector>

namespace quizzolo::recorder {

// The default microphone through SDL audio capture, at the clips' rate in mono.
class Microphone {
  public:
    Microphone();
    ~Microphone();
    Microphone(const Microphone &) = delete;
    Microphone &operator=(const Microphone &) = delete;

    bool available() const { return present_; }
    // Why there is none, for the user; empty when available.
    const QString &problem() const { return problem_; }

    void start(); // opens the device afresh: nothing captured before
    void stop();  // closes it: fetch what is left first
    // Appends what was captured since the last call, full scale at +-1.
    void fetch(std::vector<float> &to);

  private:
    bool open();
    bool present_ = false;
    unsigned device_ = 0;
    bool audioStarted_ = false;
    QString problem_;
};

// Tells when a take is over: speech was heard, then about a second of quiet.
class SpeechEnd {
  public:
    void feed(const float *samples, std::size_t count);
    bool over() const { return over_; }
    bool heardSpeech() const { return speech_; }

  private:
    void window(double rms);
    std::vector<float> pending_;
    double loudest_ = 0;
    std::size_t quietWindows_ = 0;
    bool speech_ = false;
    bool over_ = false;
};

// Peak of the samples in dBFS mapped to 0..100 for a level meter (-60 dBFS is 0).
int meterPercent(const float *samples, std::size_t count);

} // namespace quizzolo::recorder
