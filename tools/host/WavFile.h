#pragma once
// RIFF/WAVE files: 16-bit PCM and 32-bit float, mono or stereo.

#include "host/AudioClip.h"

#include <string>

namespace VextoriaHost {

enum class WavFormat { pcm16, float32 };

// Throws HostError with the reason when the file is missing, not a regular file, malformed
// or of another format; nothing else happens then.
AudioClip readWav(const std::string& path);

// Refuses (HostError, nothing written) a path that exists but is not a regular file, a clip
// with other than one or two channels, and a sample rate a header cannot hold. 16-bit output
// clips samples to -1..1.
void writeWav(const std::string& path, const AudioClip& clip, WavFormat format);

}  // namespace VextoriaHost
