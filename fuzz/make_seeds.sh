#!/usr/bin/env bash
# Makes the voice fuzzers' seed corpora: fuzz/voice_corpus, small files of each kind a teacher
# might put in the voice folder or import (phone memos included) and a few hostile headers;
# fuzz/pack_corpus, voice packs as tools make them. Needs sox, ffmpeg, tar, zip and a C
# compiler with libsndfile (for the MP3, which sox here cannot write).
set -euo pipefail

out="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/voice_corpus"
rm -rf "$out"
mkdir -p "$out"
tone=(synth 0.04 sine 440 fade 0 0.04 0.01)

sox -n -r 22050 -c 1 -b 16 "$out/pcm16_22050_mono.wav" "${tone[@]}"
sox -n -r 8000 -c 1 -b 8 -e unsigned "$out/pcm8_8000.wav" "${tone[@]}"
sox -n -r 44100 -c 2 -b 24 "$out/pcm24_44100_stereo.wav" synth 0.01 sine 440
sox -n -r 48000 -c 2 -b 32 -e float "$out/float_48000_stereo.wav" synth 0.01 sine 440
sox -n -r 16000 -c 1 -b 32 -t wavpcm "$out/pcm32_16000_plain.wav" synth 0.02 sine 440
sox -n -r 8000 -c 1 -e a-law "$out/alaw_8000.wav" "${tone[@]}"
sox -n -r 8000 -c 1 -e ima-adpcm "$out/ima_adpcm_8000.wav" "${tone[@]}"
sox -n -r 22050 -c 6 -b 16 "$out/six_channels.wav" synth 0.005 sine 440
sox -n -r 22050 -c 1 -b 16 "$out/voice.flac" "${tone[@]}"
sox -n -r 22050 -c 1 "$out/voice.ogg" synth 0.2 sine 440

# A header declaring 1 Hz and a long data chunk; one declaring 4 GB of samples.
header() { # rate channels bits declared
  python3 - "$@" <<'PY'
import struct, sys
rate, channels, bits, declared = map(int, sys.argv[1:])
align = channels * bits // 8
sys.stdout.buffer.write(b"RIFF" + struct.pack("<I", (36 + declared) & 0xffffffff) + b"WAVEfmt " +
    struct.pack("<IHHIIHH", 16, 1, channels, rate, rate * align, align, bits) + b"data" +
    struct.pack("<I", declared) + bytes(range(64)) * 4)
PY
}
header 1 1 16 1000000 >"$out/one_hertz.wav"
header 22050 1 16 4294967280 >"$out/declares_4GB.wav"
header 8000 64 16 2000000 >"$out/sixty_four_channels.wav"

cc="${CC:-cc}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cat >"$work/mp3.c" <<'C'
#include <math.h>
#include <sndfile.h>
int main(int argc, char **argv)
{
    SF_INFO info = {0};
    info.samplerate = 22050;
    info.channels = 1;
    info.format = SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;
    SNDFILE *f = sf_open(argv[argc - 1], SFM_WRITE, &info);
    if (!f)
        return 1;
    short s[2205];
    for (int i = 0; i < 2205; ++i)
        s[i] = (short)(8000 * sin(i * 0.125));
    sf_write_short(f, s, 2205);
    return sf_close(f);
}
C
"$cc" "$work/mp3.c" -o "$work/mp3" $(pkg-config --cflags --libs sndfile) -lm
"$work/mp3" "$out/voice.mp3"

# Phone memos: AAC in MP4, AMR and AMR in 3GP, Opus.
sox -n -r 8000 -c 1 "$work/memo.amr-nb" "${tone[@]}"
cp "$work/memo.amr-nb" "$out/memo.amr"
ffmpeg -loglevel error -i "$work/memo.amr-nb" -c copy "$out/memo.3gp"
ffmpeg -loglevel error -i "$out/pcm16_22050_mono.wav" -c:a aac -b:a 16k "$out/memo.m4a"
ffmpeg -loglevel error -i "$out/pcm16_22050_mono.wav" -c:a libopus -b:a 8k "$out/memo.opus"

# Packs: a zip, a GNU tar.gz with a long name, a pax tar with a link and a hard link.
packs="$(dirname "$out")/pack_corpus"
rm -rf "$packs"
mkdir -p "$packs" "$work/p/$(printf 'd%.0s' {1..110})"
cp "$out/pcm16_22050_mono.wav" "$work/p/va5.wav"
cp "$out/memo.m4a" "$work/p/$(printf 'd%.0s' {1..110})/VA6.m4a"
ln -s va5.wav "$work/p/va7.wav"
ln "$work/p/va5.wav" "$work/p/va8.wav"
(cd "$work/p" && zip -q "$packs/voce.zip" va5.wav &&
  tar --format=gnu -czf "$packs/long.tar.gz" va5.wav d* &&
  tar --format=pax -cf "$packs/links.tar" va5.wav va7.wav va8.wav)
ls -l "$out" "$packs"
