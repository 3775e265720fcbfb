#pragma once

#include <functional>
#include <string>

// What the program asks the desktop to play: a wave file, or, when that file is
// missing, the desktop's default event sound.
struct CSoundRequest
{
    std::string strFile;    // empty when the default sound is asked for
    std::string strEventId; // "bell" for the default sound
};

// Starts playing a wave file and returns at once; the sound plays in the
// background. A missing file plays the desktop's default sound instead. With
// no sound server nothing is heard and nothing is reported.
void PlaySoundFileAsync(const std::string& strPath);

// Test seam: while a hook is set, requests go to it instead of the desktop.
// nullptr restores real playing.
using SoundHook = std::function<void(const CSoundRequest& request)>;
void SetSoundHook(SoundHook fnHook);

// Plays a request through the desktop's sound library. Returns 0 when the
// library accepted it, its error code otherwise (also when it is not built in).
int PlaySoundRequest(const CSoundRequest& request);
